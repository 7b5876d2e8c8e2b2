#pragma once
// A Calc document as a Workbook, and its Sheets / Worksheets collections. Calc has no chart
// sheets: a chart sheet is a sheet of the document that holds one chart filling it, marked as
// such through its code name.

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XFormulaParser.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>

#include "office/calc_object.h"

namespace tabulix::office {

class CalcSheet;

class CalcWorkbook final : public CalcObject {
public:
    CalcWorkbook(std::shared_ptr<CalcSession> session, int id, css::uno::Reference<css::frame::XModel> model);

    std::string_view typeName() const override { return "Workbook"; }
    automation::EventSource* events() override { return &events_; }

    int id() const { return id_; }
    // The thread that added the workbook: its events reach the connections there.
    std::thread::id addedBy() const { return addedBy_; }
    const css::uno::Reference<css::frame::XModel>& model() const { return model_; }
    css::uno::Reference<css::sheet::XSpreadsheetDocument> document() const;
    css::uno::Reference<css::frame::XController> controller() const;
    std::string name() const;

    // The document's sheets in order.
    std::vector<css::uno::Reference<css::sheet::XSpreadsheet>> sheets() const;
    css::uno::Reference<css::sheet::XSpreadsheet> activeSheet() const;
    bool isChartSheet(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet) const;
    void markChartSheet(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet);
    std::shared_ptr<CalcSheet> sheetObject(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet);

    // The document's parser of formulas in the English A1 notation.
    css::uno::Reference<css::sheet::XFormulaParser> formulaParser();

    // Makes the document's window the active one; the suite reports the activation.
    void activate();
    // Whether `sheet` differs from the active sheet last reported, remembering it.
    bool noteActiveSheet(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet);
    // While the workbook closes through Close, the suite's own close notice is not reported
    // again (Close raised the before-close event itself, with a cancel flag that counts).
    bool closingByCall() const { return closingByCall_; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;
    bool close();
    void saveAs(const CalcCall& call, const std::string& path);

    int id_;
    std::thread::id addedBy_ = std::this_thread::get_id();
    css::uno::Reference<css::frame::XModel> model_;
    automation::EventSource events_;
    std::string savedName_;
    std::string lastActiveSheet_;  // name of the active sheet last reported
    int chartSheets_ = 0;
    bool closingByCall_ = false;
    css::uno::Reference<css::sheet::XFormulaParser> formulaParser_;
};

// Sheets (every sheet) or Worksheets (the sheets that are not chart sheets) of a workbook.
class CalcSheets final : public CalcObject {
public:
    CalcSheets(std::shared_ptr<CalcWorkbook> book, bool worksheetsOnly)
        : CalcObject(book->sessionPtr()), book_(std::move(book)), worksheetsOnly_(worksheetsOnly) {}
    std::string_view typeName() const override { return worksheetsOnly_ ? "Worksheets" : "Sheets"; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;
    std::vector<css::uno::Reference<css::sheet::XSpreadsheet>> listed() const;
    automation::Variant add(const CalcCall& call);

    std::shared_ptr<CalcWorkbook> book_;
    bool worksheetsOnly_;
};

}  // namespace tabulix::office
