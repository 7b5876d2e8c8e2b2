#pragma once
// A workbook's defined names: a name for a rectangle of cells of one of its worksheets, so that
// formulas and readers of the file can refer to the block by name. Names refer to fixed cells;
// one whose worksheet was deleted refers to #REF!. Automation sees them as Workbook.Names.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/cells/cell_address.h"
#include "spreadsheet/model/model_object.h"

namespace tabulix::spreadsheet {

class Workbook;
class Worksheet;

struct DefinedName {
    std::string name;
    std::weak_ptr<const Worksheet> sheet;
    CellRect cells;
    bool hidden = false;
};

class DefinedNames {
public:
    static constexpr std::size_t kMaxNameLength = 255;

    // Adds a name for the cells `refersTo` names ("='Hoja 1'!$A$3:$C$9", "=Hoja1!B2", or "=B2"
    // on the active worksheet); a name already there (ignoring letter case) refers to the new
    // cells. Raises AutomationError, adding nothing, for a name the file format refuses (empty,
    // too long, not starting with a letter, "_" or "\", holding other characters than letters,
    // digits, "." and "_", reading as a cell reference, or reserved) or a reference to no cells
    // of a worksheet of `book`.
    const DefinedName& add(const Workbook& book, std::string_view name, std::string_view refersTo, bool hidden);
    // Raises AutomationError when there is no such name.
    void remove(std::string_view name);
    const DefinedName* find(std::string_view name) const;
    const std::vector<DefinedName>& all() const { return names_; }

    // What a name refers to, as a formula writes it without "=": "'Hoja 1'!$A$3:$C$9", or
    // "#REF!" once its worksheet is gone.
    static std::string reference(const DefinedName& name);

private:
    std::vector<DefinedName> names_;
};

// "'Hoja 1'": a sheet's name as a formula writes it, always quoted, quotes doubled.
std::string quotedSheetName(std::string_view sheetName);
// "'Hoja 1'!$A$3:$C$9": a worksheet's cells as a formula refers to them from anywhere.
std::string absoluteReference(std::string_view sheetName, const CellRect& cells);

// Workbook.Names: Add(Name, RefersTo, Visible), Item(index or name), Count.
class NamesCollection final : public ModelObject {
public:
    explicit NamesCollection(std::shared_ptr<Workbook> book) : book_(std::move(book)) {}
    std::string_view typeName() const override { return "Names"; }
    Application* application() const override;
    const automation::ThreadOwner* threadOwner() const override;

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Workbook> book_;
};

// One defined name: Name, RefersTo, Delete.
class NameObject final : public ModelObject {
public:
    NameObject(std::shared_ptr<Workbook> book, std::string name) : book_(std::move(book)), name_(std::move(name)) {}
    std::string_view typeName() const override { return "Name"; }
    Application* application() const override;
    const automation::ThreadOwner* threadOwner() const override;

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Workbook> book_;
    std::string name_;
};

}  // namespace tabulix::spreadsheet
