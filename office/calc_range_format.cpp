#include "office/calc_range_format.h"

#include <algorithm>
#include <optional>

#include <com/sun/star/awt/FontSlant.hpp>
#include <com/sun/star/awt/FontUnderline.hpp>
#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/sheet/XCellFormatRangesSupplier.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/BorderLine2.hpp>
#include <com/sun/star/table/BorderLineStyle.hpp>
#include <com/sun/star/table/TableBorder2.hpp>

#include "automation/colour_value.h"
#include "automation/dispids.h"
#include "office/calc_range.h"
#include "office/calc_sheet.h"

namespace tabulix::office {

using automation::Variant;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace dispid = automation::dispid;
namespace xl = automation::xl;

namespace {

Reference<css::beans::XPropertySet> propertiesOf(const CalcRange& range) {
    return Reference<css::beans::XPropertySet>(range.cells(), UNO_QUERY_THROW);
}

sal_Int32 rgbOf(const CalcCall& call) {
    try {
        return static_cast<sal_Int32>(automation::RgbOfColourValue(call.value().toInt64()));
    } catch (const automation::AutomationError& e) {
        call.fail(e.what(), e.scode());
    }
}

// Line widths in 1/100 mm that the suite's .xlsx export writes as the application's hairline,
// thin, medium and thick borders.
sal_Int32 widthOfWeight(const CalcCall& call, std::int32_t weight) {
    switch (weight) {
        case xl::Hairline: return 2;
        case xl::Thin: return 35;
        case xl::Medium: return 70;
        case xl::Thick: return 106;
        default: call.fail(std::to_string(weight) + " is not a border weight (1, 2, -4138, 4)");
    }
}

std::int32_t weightOfWidth(sal_Int32 width) {
    if (width >= 106) return xl::Thick;
    if (width >= 70) return xl::Medium;
    if (width >= 26) return xl::Thin;
    return xl::Hairline;
}

}  // namespace

// --- Font ---

CalcFont::CalcFont(std::shared_ptr<CalcRange> range) : CalcObject(range->sessionPtr()), range_(std::move(range)) {}

std::span<const CalcObject::Member> CalcFont::members() const {
    static constexpr Member kMembers[] = {
        {"Name", dispid::Name}, {"Color", dispid::Color},   {"Size", dispid::Size},
        {"Bold", dispid::Bold}, {"Italic", dispid::Italic}, {"Underline", dispid::Underline},
    };
    return kMembers;
}

Variant CalcFont::invokeMember(const CalcCall& call) {
    call.expectCount(0, 0);
    const auto props = propertiesOf(*range_);
    switch (call.id()) {
        case dispid::Name: {
            if (call.isPut()) {
                const std::string name = call.valueText();
                if (name.empty()) call.fail("a font name cannot be empty");
                props->setPropertyValue("CharFontName", css::uno::Any(rtl::OUString::fromUtf8(name.c_str())));
                return {};
            }
            rtl::OUString name;
            props->getPropertyValue("CharFontName") >>= name;
            return Variant(std::string(rtl::OUStringToOString(name, RTL_TEXTENCODING_UTF8).getStr()));
        }
        case dispid::Color: {
            if (call.isPut()) {
                props->setPropertyValue("CharColor", css::uno::Any(rgbOf(call)));
                return {};
            }
            sal_Int32 rgb = 0;
            props->getPropertyValue("CharColor") >>= rgb;
            if (rgb < 0) rgb = 0;  // automatic: black
            return Variant(static_cast<std::int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF)));
        }
        case dispid::Size: {
            if (call.isPut()) {
                const double size = call.valueNumber();
                if (size < 1 || size > 409) call.fail("a font size is 1 to 409 points");
                props->setPropertyValue("CharHeight", css::uno::Any(static_cast<float>(size)));
                return {};
            }
            float size = 0;
            props->getPropertyValue("CharHeight") >>= size;
            return Variant(static_cast<double>(size));
        }
        case dispid::Bold: {
            if (call.isPut()) {
                props->setPropertyValue("CharWeight", css::uno::Any(call.valueBoolean() ? css::awt::FontWeight::BOLD
                                                                                       : css::awt::FontWeight::NORMAL));
                return {};
            }
            float weight = 0;
            props->getPropertyValue("CharWeight") >>= weight;
            return Variant(weight > css::awt::FontWeight::NORMAL);
        }
        case dispid::Italic: {
            if (call.isPut()) {
                props->setPropertyValue("CharPosture", css::uno::Any(call.valueBoolean() ? css::awt::FontSlant_ITALIC
                                                                                        : css::awt::FontSlant_NONE));
                return {};
            }
            css::awt::FontSlant slant = css::awt::FontSlant_NONE;
            props->getPropertyValue("CharPosture") >>= slant;
            return Variant(slant != css::awt::FontSlant_NONE);
        }
        case dispid::Underline: {
            if (call.isPut()) {
                // True or the application's styles: 2 single, -4119 double, -4142 none.
                sal_Int16 line = css::awt::FontUnderline::NONE;
                if (call.value().type() == automation::VariantType::Boolean) {
                    if (call.valueBoolean()) line = css::awt::FontUnderline::SINGLE;
                } else {
                    switch (call.valueInt32()) {
                        case 2: line = css::awt::FontUnderline::SINGLE; break;
                        case -4119: line = css::awt::FontUnderline::DOUBLE; break;
                        case -4142: break;
                        default: call.fail(std::to_string(call.valueInt32()) + " is not an underline style");
                    }
                }
                props->setPropertyValue("CharUnderline", css::uno::Any(line));
                return {};
            }
            sal_Int16 line = 0;
            props->getPropertyValue("CharUnderline") >>= line;
            return Variant(line != css::awt::FontUnderline::NONE);
        }
    }
    call.wrongKind();
}

// --- Interior ---

CalcInterior::CalcInterior(std::shared_ptr<CalcRange> range)
    : CalcObject(range->sessionPtr()), range_(std::move(range)) {}

std::span<const CalcObject::Member> CalcInterior::members() const {
    static constexpr Member kMembers[] = {{"Color", dispid::Color}};
    return kMembers;
}

Variant CalcInterior::invokeMember(const CalcCall& call) {
    call.expectCount(0, 0);
    const auto props = propertiesOf(*range_);
    if (call.isPut()) {
        props->setPropertyValue("CellBackColor", css::uno::Any(rgbOf(call)));
        props->setPropertyValue("IsCellBackgroundTransparent", css::uno::Any(false));
        return {};
    }
    sal_Int32 rgb = 0;
    props->getPropertyValue("CellBackColor") >>= rgb;
    if (rgb < 0) rgb = 0xFFFFFF;  // no fill
    return Variant(static_cast<std::int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF)));
}

// --- Borders ---

CalcBorders::CalcBorders(std::shared_ptr<CalcRange> range) : CalcObject(range->sessionPtr()), range_(std::move(range)) {}

std::span<const CalcObject::Member> CalcBorders::members() const {
    static constexpr Member kMembers[] = {{"Item", dispid::Item}};
    return kMembers;
}

Variant CalcBorders::invokeMember(const CalcCall& call) {
    call.noPut();
    call.expectCount(1, 1);
    return Variant(automation::DispatchPtr(borderOfRange(call, range_, call.int32(0))));
}

std::shared_ptr<CalcBorder> borderOfRange(const CalcCall& call, const std::shared_ptr<CalcRange>& range,
                                          std::int32_t index) {
    if (index < xl::CellLeft || index > xl::InsideHorizontal)
        call.fail(std::to_string(index) + " is not a border index (1 to 12)");
    return std::make_shared<CalcBorder>(range, index);
}

CalcBorder::CalcBorder(std::shared_ptr<CalcRange> range, std::int32_t index)
    : CalcObject(range->sessionPtr()), range_(std::move(range)), index_(index) {}

std::span<const CalcObject::Member> CalcBorder::members() const {
    static constexpr Member kMembers[] = {{"Weight", dispid::Weight}, {"Color", dispid::Color}};
    return kMembers;
}

namespace {

// Where a border index lives in Calc: a cell property applied to every cell of the range, or a
// line of the range's TableBorder2.
const char* cellProperty(std::int32_t index) {
    switch (index) {
        case xl::CellLeft: return "LeftBorder2";
        case xl::CellRight: return "RightBorder2";
        case xl::CellTop: return "TopBorder2";
        case xl::CellBottom: return "BottomBorder2";
        case xl::DiagonalDown: return "DiagonalTLBR2";
        case xl::DiagonalUp: return "DiagonalBLTR2";
        default: return nullptr;
    }
}

css::table::BorderLine2& tableLine(css::table::TableBorder2& border, std::int32_t index) {
    switch (index) {
        case xl::EdgeLeft: border.IsLeftLineValid = true; return border.LeftLine;
        case xl::EdgeTop: border.IsTopLineValid = true; return border.TopLine;
        case xl::EdgeBottom: border.IsBottomLineValid = true; return border.BottomLine;
        case xl::EdgeRight: border.IsRightLineValid = true; return border.RightLine;
        case xl::InsideVertical: border.IsVerticalLineValid = true; return border.VerticalLine;
        default: border.IsHorizontalLineValid = true; return border.HorizontalLine;
    }
}

void setLine(css::table::BorderLine2& line, sal_Int32 width) {
    line.LineStyle = css::table::BorderLineStyle::SOLID;
    line.LineWidth = static_cast<sal_uInt32>(width);
    line.OuterLineWidth = static_cast<sal_Int16>(width);
    line.InnerLineWidth = 0;
    line.LineDistance = 0;
}

bool present(const css::table::BorderLine2& line) { return line.OuterLineWidth != 0 || line.LineWidth != 0; }

// A line the range draws on one side of its cells is shared with the cells across that side: the
// cells there that draw a line on the facing side take the new line, so that the later line
// wins, as in the application. `strip` is the block of those cells (clipped to the sheet), and
// `facing` their side.
struct Facing {
    sal_Int32 firstColumn, firstRow, lastColumn, lastRow;
    const char* side;
};

std::optional<Facing> facingCells(std::int32_t index, const css::table::CellRangeAddress& a) {
    switch (index) {
        case xl::CellLeft: return Facing{a.StartColumn - 1, a.StartRow, a.EndColumn - 1, a.EndRow, "RightBorder2"};
        case xl::CellRight: return Facing{a.StartColumn + 1, a.StartRow, a.EndColumn + 1, a.EndRow, "LeftBorder2"};
        case xl::CellTop: return Facing{a.StartColumn, a.StartRow - 1, a.EndColumn, a.EndRow - 1, "BottomBorder2"};
        case xl::CellBottom: return Facing{a.StartColumn, a.StartRow + 1, a.EndColumn, a.EndRow + 1, "TopBorder2"};
        case xl::EdgeLeft: return Facing{a.StartColumn - 1, a.StartRow, a.StartColumn - 1, a.EndRow, "RightBorder2"};
        case xl::EdgeTop: return Facing{a.StartColumn, a.StartRow - 1, a.EndColumn, a.StartRow - 1, "BottomBorder2"};
        case xl::EdgeBottom: return Facing{a.StartColumn, a.EndRow + 1, a.EndColumn, a.EndRow + 1, "TopBorder2"};
        case xl::EdgeRight: return Facing{a.EndColumn + 1, a.StartRow, a.EndColumn + 1, a.EndRow, "LeftBorder2"};
        default: return std::nullopt;  // diagonals and inside lines have no cells across
    }
}

constexpr sal_Int32 kLastColumn = 16383;
constexpr sal_Int32 kLastRow = 1048575;

void shareLine(const CalcRange& range, std::int32_t index, const css::table::BorderLine2& line) {
    std::optional<Facing> f = facingCells(index, range.address());
    if (!f) return;
    f->firstColumn = std::max<sal_Int32>(f->firstColumn, 0);
    f->firstRow = std::max<sal_Int32>(f->firstRow, 0);
    f->lastColumn = std::min(f->lastColumn, kLastColumn);
    f->lastRow = std::min(f->lastRow, kLastRow);
    if (f->firstColumn > f->lastColumn || f->firstRow > f->lastRow) return;
    const rtl::OUString side = rtl::OUString::createFromAscii(f->side);
    const Reference<css::table::XCellRange> strip =
        Reference<css::table::XCellRange>(range.sheet()->sheet(), UNO_QUERY_THROW)
            ->getCellRangeByPosition(f->firstColumn, f->firstRow, f->lastColumn, f->lastRow);
    // Cells formatted alike come as one range each: a strip of plain cells costs one look.
    const Reference<css::container::XIndexAccess> alike =
        Reference<css::sheet::XCellFormatRangesSupplier>(strip, UNO_QUERY_THROW)->getCellFormatRanges();
    for (sal_Int32 i = 0; i < alike->getCount(); ++i) {
        const Reference<css::beans::XPropertySet> cells(alike->getByIndex(i), UNO_QUERY_THROW);
        css::table::BorderLine2 facing;
        if ((cells->getPropertyValue(side) >>= facing) && present(facing)) cells->setPropertyValue(side, css::uno::Any(line));
    }
}

}  // namespace

Variant CalcBorder::invokeMember(const CalcCall& call) {
    call.expectCount(0, 0);
    const auto props = propertiesOf(*range_);
    // Weight and colour are set one at a time: each put keeps the other from the current line,
    // and a line that does not exist yet starts thin and black, as in the application.
    const auto change = [&](css::table::BorderLine2& line) -> bool {
        if (!call.isPut()) return false;
        if (!present(line)) {
            setLine(line, widthOfWeight(call, xl::Thin));
            line.Color = 0;
        }
        if (call.id() == dispid::Weight)
            setLine(line, widthOfWeight(call, call.valueInt32()));
        else
            line.Color = rgbOf(call);
        return true;
    };
    const auto reading = [&](const css::table::BorderLine2& line) -> Variant {
        if (call.id() == dispid::Weight) return Variant(weightOfWidth(static_cast<sal_Int32>(line.LineWidth)));
        const sal_Int32 rgb = line.Color;
        return Variant(static_cast<std::int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF)));
    };
    if (const char* name = cellProperty(index_)) {
        css::table::BorderLine2 line;
        props->getPropertyValue(rtl::OUString::createFromAscii(name)) >>= line;
        if (!change(line)) return reading(line);
        props->setPropertyValue(rtl::OUString::createFromAscii(name), css::uno::Any(line));
        shareLine(*range_, index_, line);
        return {};
    }
    css::table::TableBorder2 border;
    props->getPropertyValue("TableBorder2") >>= border;
    css::table::TableBorder2 update;  // only the line being changed is marked valid
    css::table::BorderLine2& current = tableLine(border, index_);
    if (!change(current)) return reading(current);
    tableLine(update, index_) = current;
    props->setPropertyValue("TableBorder2", css::uno::Any(update));
    shareLine(*range_, index_, current);
    return {};
}

}  // namespace tabulix::office
