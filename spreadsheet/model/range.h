#pragma once
// A rectangle of cells of a worksheet, as automation sees it. A Range is a light view: it keeps
// its worksheet alive and holds the rectangle; the cells live in the worksheet. A range got
// through Columns fits and sizes the columns of the same rectangle.

#include <memory>

#include "spreadsheet/cells/cell_address.h"
#include "spreadsheet/cells/cell_style.h"
#include "spreadsheet/model/model_object.h"

namespace tabulix::spreadsheet {

class Worksheet;

class Range final : public ModelObject {
public:
    Range(std::shared_ptr<Worksheet> sheet, CellRect rect, bool columns = false)
        : sheet_(std::move(sheet)), rect_(rect), columns_(columns) {}

    std::string_view typeName() const override { return "Range"; }
    Application* application() const override;
    const automation::ThreadOwner* threadOwner() const override;

    Worksheet& worksheet() const { return *sheet_; }
    const std::shared_ptr<Worksheet>& worksheetPtr() const { return sheet_; }
    const CellRect& rect() const { return rect_; }
    bool isColumns() const { return columns_; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Worksheet> sheet_;
    CellRect rect_;
    bool columns_;
};

// The Font of a range: assignments restyle every cell of the range.
class RangeFont final : public ModelObject {
public:
    RangeFont(std::shared_ptr<Worksheet> sheet, CellRect rect) : sheet_(std::move(sheet)), rect_(rect) {}
    std::string_view typeName() const override { return "Font"; }
    Application* application() const override;
    const automation::ThreadOwner* threadOwner() const override;

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Worksheet> sheet_;
    CellRect rect_;
};

// The Interior (fill) of a range.
class RangeInterior final : public ModelObject {
public:
    RangeInterior(std::shared_ptr<Worksheet> sheet, CellRect rect) : sheet_(std::move(sheet)), rect_(rect) {}
    std::string_view typeName() const override { return "Interior"; }
    Application* application() const override;
    const automation::ThreadOwner* threadOwner() const override;

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Worksheet> sheet_;
    CellRect rect_;
};

// The Borders collection of a range; its items are Border objects by index 1-12.
class RangeBorders final : public ModelObject {
public:
    RangeBorders(std::shared_ptr<Worksheet> sheet, CellRect rect) : sheet_(std::move(sheet)), rect_(rect) {}
    std::string_view typeName() const override { return "Borders"; }
    Application* application() const override;
    const automation::ThreadOwner* threadOwner() const override;

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Worksheet> sheet_;
    CellRect rect_;
};

class RangeBorder final : public ModelObject {
public:
    RangeBorder(std::shared_ptr<Worksheet> sheet, CellRect rect, std::int32_t index)
        : sheet_(std::move(sheet)), rect_(rect), index_(index) {}
    std::string_view typeName() const override { return "Border"; }
    Application* application() const override;
    const automation::ThreadOwner* threadOwner() const override;

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Worksheet> sheet_;
    CellRect rect_;
    std::int32_t index_;
};

// 2 -> Thin and so on; raises AutomationError for a code that is not a border weight.
BorderWeight borderWeightFromCode(std::int32_t code);
std::int32_t borderWeightCode(BorderWeight weight);
// -4131 -> Left and so on; raises AutomationError for an unknown code.
HorizontalAlignment alignmentFromCode(std::int32_t code);
std::int32_t alignmentCode(HorizontalAlignment alignment);

}  // namespace tabulix::spreadsheet
