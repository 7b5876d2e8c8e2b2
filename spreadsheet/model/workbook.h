#pragma once
// A workbook: its sheets in order, the active sheet, the tables its cells share (texts, styles,
// number formats), its BeforeClose event, and saving it as .xlsx.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "automation/events.h"
#include "spreadsheet/cells/cell_style.h"
#include "spreadsheet/cells/string_pool.h"
#include "spreadsheet/model/defined_names.h"
#include "spreadsheet/model/document_properties.h"
#include "spreadsheet/model/model_object.h"
#include "spreadsheet/numfmt/number_format_table.h"

namespace tabulix::spreadsheet {

class Sheet;
class Worksheet;
class ChartSheet;
class WorkbookFormulas;

enum class SheetType { Worksheet, Chart };

class Workbook final : public ModelObject {
public:
    ~Workbook() override;

    std::string_view typeName() const override { return "Workbook"; }
    Application* application() const override { return app_; }
    automation::EventSource* events() override { return &events_; }
    const automation::ThreadOwner* threadOwner() const override { return owner_.get(); }
    const std::shared_ptr<const automation::ThreadOwner>& owner() const { return owner_; }

    const std::string& name() const { return name_; }
    bool isClosed() const { return app_ == nullptr; }

    const std::vector<std::shared_ptr<Sheet>>& sheets() const { return sheets_; }
    std::vector<std::shared_ptr<Worksheet>> worksheets() const;
    std::shared_ptr<Sheet> activeSheet() const;
    // 1-based position among all sheets, or by name ignoring letter case; raises when none.
    std::shared_ptr<Sheet> sheetAt(std::int32_t position) const;
    std::shared_ptr<Sheet> sheetNamed(std::string_view name) const;
    std::int32_t positionOf(const Sheet& sheet) const;  // 1-based, 0 when not in this workbook

    // Adds `count` sheets of `type`, each placed before `before`, or after `after`, or (both
    // null) before the active sheet, and each made active in turn (raising SheetActivate). The
    // workbook becomes the active one first. Returns the last sheet added.
    std::shared_ptr<Sheet> addSheets(SheetType type, Sheet* before = nullptr, Sheet* after = nullptr,
                                     std::int32_t count = 1);

    // Removes a sheet (the window's user deleting it); the only sheet cannot go. When it was the
    // active sheet, the sheet after it (else the one before) becomes active, raising
    // SheetActivate. Formulas are recalculated, those naming it give #REF!. The removed sheet
    // can no longer be used, as a closed workbook's sheets cannot.
    void deleteSheet(Sheet& sheet);

    // Makes this the application's active workbook (WorkbookActivate when it was not).
    void activate();
    // Raises BeforeClose; unless a handler sets the cancel flag, closes the workbook: it leaves
    // the application and its sheets can no longer be used. Returns false when cancelled.
    bool close();
    // Writes the workbook to an .xlsx file: a temporary file in the target folder renamed into
    // place, so a failed save leaves no file behind. The workbook takes the file's name.
    void saveAs(const std::string& path);

    // Raises AutomationError when `name` is not acceptable for a sheet of this workbook:
    // empty, longer than 31 characters, containing : \ / ? * [ ], starting or ending with an
    // apostrophe, or equal (ignoring letter case) to the name of another sheet than `renamed`.
    void checkSheetName(std::string_view name, const Sheet* renamed) const;

    // Shared by the workbook's cells.
    StringPool& strings() { return strings_; }
    StyleTable& styles() { return styles_; }
    NumberFormatTable& numberFormats() { return numberFormats_; }
    const StringPool& strings() const { return strings_; }
    const StyleTable& styles() const { return styles_; }
    const NumberFormatTable& numberFormats() const { return numberFormats_; }
    // The formulas of the workbook's cells and their recalculation.
    WorkbookFormulas& formulas() { return *formulas_; }
    const WorkbookFormulas& formulas() const { return *formulas_; }

    // Makes `sheet` the active sheet (activating this workbook first), raising the events.
    void activateSheet(Sheet& sheet);

    DefinedNames& names() { return names_; }
    const DefinedNames& names() const { return names_; }
    DocumentProperties& documentProperties() { return properties_; }
    const DocumentProperties& documentProperties() const { return properties_; }

private:
    friend class Application;
    Workbook(Application& app, std::string name);
    std::shared_ptr<Sheet> makeSheet(SheetType type);
    void detach();

    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    Application* app_;
    const std::shared_ptr<const automation::ThreadOwner> owner_;  // the application's, kept when closed
    std::string name_;
    std::vector<std::shared_ptr<Sheet>> sheets_;
    Sheet* active_ = nullptr;
    std::uint32_t worksheetCounter_ = 0;
    std::uint32_t chartCounter_ = 0;
    bool closing_ = false;
    automation::EventSource events_;
    StringPool strings_;
    StyleTable styles_;
    NumberFormatTable numberFormats_;
    std::unique_ptr<WorkbookFormulas> formulas_;
    DefinedNames names_;
    DocumentProperties properties_;
};

// The Sheets collection of a workbook (every sheet), or its Worksheets collection (worksheets
// only), as automation sees them.
class SheetsCollection final : public ModelObject {
public:
    SheetsCollection(std::shared_ptr<Workbook> book, bool worksheetsOnly)
        : book_(std::move(book)), worksheetsOnly_(worksheetsOnly) {}
    std::string_view typeName() const override { return worksheetsOnly_ ? "Worksheets" : "Sheets"; }
    Application* application() const override { return book_->application(); }
    const automation::ThreadOwner* threadOwner() const override { return book_->threadOwner(); }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Workbook> book_;
    bool worksheetsOnly_;
};

}  // namespace tabulix::spreadsheet
