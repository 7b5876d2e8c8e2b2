#pragma once
// What worksheets and chart sheets have in common: a name that follows the workbook's naming
// rules, activation, and membership of a workbook (lost when the workbook closes).

#include <string>

#include "spreadsheet/model/model_object.h"

namespace tabulix::spreadsheet {

class Workbook;
enum class SheetType;

class Sheet : public ModelObject {
public:
    virtual SheetType sheetType() const = 0;

    const std::string& name() const { return name_; }
    // Raises AutomationError when the workbook's naming rules refuse the name.
    void setName(std::string name);
    // Makes this the active sheet of its workbook and that workbook the active one.
    void activate();

    bool isAttached() const { return book_ != nullptr; }
    // The workbook, or AutomationError when it has been closed.
    Workbook& workbook() const;
    Application* application() const override;
    const automation::ThreadOwner* threadOwner() const override { return owner_.get(); }

protected:
    Sheet(Workbook& book, std::string name);
    // Members common to both kinds of sheet; each kind lists them with its own.
    automation::Variant invokeSheetMember(const Call& call);

private:
    friend class Workbook;
    Workbook* book_;
    const std::shared_ptr<const automation::ThreadOwner> owner_;  // the workbook's, kept when it closes
    std::string name_;
};

}  // namespace tabulix::spreadsheet
