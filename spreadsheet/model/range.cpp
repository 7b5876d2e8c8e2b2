#include "spreadsheet/model/range.h"

#include "automation/dispids.h"
#include "framework/printable.h"
#include "spreadsheet/cells/colour.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"
#include "spreadsheet/numfmt/number_format_table.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;
using automation::DispatchPtr;
using automation::Variant;
namespace dispid = automation::dispid;
namespace xl = automation::xl;

namespace {

constexpr automation::DispId kLineStyle = 0x77;
constexpr std::int32_t kLineStyleNone = -4142;
constexpr std::int32_t kLineStyleContinuous = 1;

Rgb colourOf(const Call& call) {
    const double number = call.valueNumber();
    if (!(number >= -2147483648.0 && number <= 4294967295.0))
        call.fail(call.value().describe() + " is not a colour value");
    try {
        return rgbFromColourValue(static_cast<std::int64_t>(number));
    } catch (const AutomationError& e) {
        call.fail(e.what(), e.scode());
    }
}

void requireAttached(const Call& call, const Worksheet& sheet) {
    if (!sheet.isAttached()) call.fail("the worksheet \"" + sheet.name() + "\" belongs to a closed workbook");
}

}  // namespace

BorderWeight borderWeightFromCode(std::int32_t code) {
    switch (code) {
        case xl::Hairline: return BorderWeight::Hairline;
        case xl::Thin: return BorderWeight::Thin;
        case xl::Medium: return BorderWeight::Medium;
        case xl::Thick: return BorderWeight::Thick;
    }
    throw AutomationError(std::to_string(code) + " is not a border weight (1 hairline, 2 thin, -4138 medium, 4 thick)");
}

std::int32_t borderWeightCode(BorderWeight weight) {
    switch (weight) {
        case BorderWeight::Hairline: return xl::Hairline;
        case BorderWeight::Thin:
        case BorderWeight::None: return xl::Thin;
        case BorderWeight::Medium: return xl::Medium;
        case BorderWeight::Thick: return xl::Thick;
    }
    return xl::Thin;
}

HorizontalAlignment alignmentFromCode(std::int32_t code) {
    switch (code) {
        case xl::HAlignGeneral: return HorizontalAlignment::General;
        case xl::HAlignLeft: return HorizontalAlignment::Left;
        case xl::HAlignCenter: return HorizontalAlignment::Center;
        case xl::HAlignRight: return HorizontalAlignment::Right;
        case 5: return HorizontalAlignment::Fill;
        case -4130: return HorizontalAlignment::Justify;
        case 7: return HorizontalAlignment::CenterAcrossSelection;
        case -4117: return HorizontalAlignment::Distributed;
    }
    throw AutomationError(std::to_string(code) +
                          " is not a horizontal alignment (1 general, -4131 left, -4108 centre, -4152 right, 5 fill, "
                          "-4130 justify, 7 centre across selection, -4117 distributed)");
}

std::int32_t alignmentCode(HorizontalAlignment alignment) {
    switch (alignment) {
        case HorizontalAlignment::General: return xl::HAlignGeneral;
        case HorizontalAlignment::Left: return xl::HAlignLeft;
        case HorizontalAlignment::Center: return xl::HAlignCenter;
        case HorizontalAlignment::Right: return xl::HAlignRight;
        case HorizontalAlignment::Fill: return 5;
        case HorizontalAlignment::Justify: return -4130;
        case HorizontalAlignment::CenterAcrossSelection: return 7;
        case HorizontalAlignment::Distributed: return -4117;
    }
    return xl::HAlignGeneral;
}

// --- Range ---

Application* Range::application() const { return sheet_->application(); }
const automation::ThreadOwner* Range::threadOwner() const { return sheet_->threadOwner(); }

std::span<const ModelObject::Member> Range::members() const { return automation::kRangeMembers; }

Variant Range::invokeMember(const Call& call) {
    requireAttached(call, *sheet_);
    Worksheet& sheet = *sheet_;
    switch (call.id()) {
        case dispid::Value:
        case dispid::Formula: {
            const bool isValue = call.id() == dispid::Value;
            call.expectCount(0, isValue ? 1 : 0);  // Value takes an optional RangeValueDataType
            if (call.isPut()) {
                if (isValue)
                    sheet.setValue(rect_, call.value(), call.lcid());
                else
                    sheet.setFormula(rect_, call.value(), call.lcid());
                return {};
            }
            if (!rect_.isSingleCell())
                call.fail("reading " + rangeName(rect_) + " at once is not supported; read one cell at a time");
            return isValue ? sheet.value(rect_.first) : sheet.formula(rect_.first);
        }
        case dispid::Font:
            if (call.isPut()) call.wrongKind();
            call.expectCount(0, 0);
            return Variant(DispatchPtr(std::make_shared<RangeFont>(sheet_, rect_)));
        case dispid::Interior:
            if (call.isPut()) call.wrongKind();
            call.expectCount(0, 0);
            return Variant(DispatchPtr(std::make_shared<RangeInterior>(sheet_, rect_)));
        case dispid::Borders: {
            if (call.isPut()) call.wrongKind();
            call.expectCount(0, 1);
            if (call.given(0)) {
                const std::int32_t index = call.int32(0);
                if (index < 1 || index > 12)
                    call.fail(std::to_string(index) + " is not a border index (1 to 12)");
                return Variant(DispatchPtr(std::make_shared<RangeBorder>(sheet_, rect_, index)));
            }
            return Variant(DispatchPtr(std::make_shared<RangeBorders>(sheet_, rect_)));
        }
        case dispid::Columns: {
            if (call.isPut()) call.wrongKind();
            call.expectCount(0, 1);
            if (call.given(0)) {
                const std::int32_t i = call.int32(0);
                if (i < 1 || static_cast<std::uint32_t>(i) > rect_.columnCount())
                    call.fail("the range " + rangeName(rect_) + " has no column " + std::to_string(i));
                const std::uint32_t column = rect_.first.column + static_cast<std::uint32_t>(i) - 1;
                return Variant(DispatchPtr(std::make_shared<Range>(
                    sheet_, CellRect{{rect_.first.row, column}, {rect_.last.row, column}}, true)));
            }
            return Variant(DispatchPtr(std::make_shared<Range>(sheet_, rect_, true)));
        }
        case dispid::HorizontalAlignment: {
            call.expectCount(0, 0);
            if (!call.isPut()) return Variant(alignmentCode(sheet.cellStyle(rect_.first).alignment));
            HorizontalAlignment alignment;
            try {
                alignment = alignmentFromCode(call.valueInt32());
            } catch (const AutomationError& e) {
                call.fail(e.what(), e.scode());
            }
            sheet.restyle(rect_, [alignment](CellStyle& s) { s.alignment = alignment; });
            return {};
        }
        case dispid::NumberFormat: {
            call.expectCount(0, 0);
            if (!call.isPut()) {
                const Workbook& book = sheet.workbook();
                return Variant(book.numberFormats().format(sheet.cellStyle(rect_.first).numberFormat).fileCode());
            }
            const std::string code = call.value().isNull() ? std::string() : call.valueText();
            try {
                sheet.setNumberFormat(rect_, code, call.lcid());
            } catch (const AutomationError& e) {
                call.fail(e.what(), e.scode());
            }
            return {};
        }
        case dispid::ShrinkToFit: {
            call.expectCount(0, 0);
            if (!call.isPut()) return Variant(sheet.cellStyle(rect_.first).shrinkToFit);
            const bool shrink = call.valueBoolean();
            sheet.restyle(rect_, [shrink](CellStyle& s) { s.shrinkToFit = shrink; });
            return {};
        }
        case dispid::MergeCells: {
            call.expectCount(0, 0);
            if (!call.isPut()) {
                const std::optional<bool> state = sheet.mergeState(rect_);
                return state ? Variant(*state) : Variant::null();
            }
            if (call.valueBoolean())
                sheet.merge(rect_, false);
            else
                sheet.unmerge(rect_);
            return {};
        }
        case dispid::Merge:
            if (call.isPut()) call.wrongKind();
            call.expectCount(0, 1);
            sheet.merge(rect_, call.given(0) && call.boolean(0));
            return {};
        case dispid::AutoFit:
            if (call.isPut()) call.wrongKind();
            call.expectCount(0, 0);
            sheet.autoFit(rect_);
            return Variant(true);
        case dispid::ColumnWidth: {
            call.expectCount(0, 0);
            if (call.isPut()) {
                try {
                    sheet.setColumnWidth(rect_.first.column, rect_.last.column, call.valueNumber());
                } catch (const AutomationError& e) {
                    call.fail(e.what(), e.scode());
                }
                return {};
            }
            const double width = sheet.columnWidth(rect_.first.column);
            for (std::uint32_t c = rect_.first.column + 1; c <= rect_.last.column; ++c)
                if (sheet.columnWidth(c) != width) return Variant::null();
            return Variant(width);
        }
        case dispid::RowHeight: {
            call.expectCount(0, 0);
            if (call.isPut()) {
                try {
                    sheet.setRowHeight(rect_.first.row, rect_.last.row, call.valueNumber());
                } catch (const AutomationError& e) {
                    call.fail(e.what(), e.scode());
                }
                return {};
            }
            const double height = sheet.rowHeight(rect_.first.row);
            for (std::uint32_t r = rect_.first.row + 1; r <= rect_.last.row; ++r)
                if (sheet.rowHeight(r) != height) return Variant::null();
            return Variant(height);
        }
        case dispid::AutoFilter:
            // Without arguments the call turns the sheet's filter buttons on over this range, or
            // off when the sheet has them; filtering by a criterion is not offered.
            call.noPut();
            for (std::size_t i = 0; i < call.count(); ++i)
                if (call.given(i))
                    call.fail("filtering by a criterion is not supported; call AutoFilter without arguments to "
                              "put the filter buttons on or off");
            sheet.setAutoFilter(sheet.autoFilter() ? std::nullopt : std::optional<CellRect>(rect_));
            return Variant(true);
    }
    call.wrongKind();
}

// --- Font ---

Application* RangeFont::application() const { return sheet_->application(); }
const automation::ThreadOwner* RangeFont::threadOwner() const { return sheet_->threadOwner(); }

std::span<const ModelObject::Member> RangeFont::members() const {
    static constexpr Member kMembers[] = {
        {"Name", dispid::Name},     {"Color", dispid::Color},   {"Size", dispid::Size},
        {"Bold", dispid::Bold},     {"Italic", dispid::Italic}, {"Underline", dispid::Underline},
    };
    return kMembers;
}

namespace {

constexpr std::int32_t kUnderlineNone = -4142;
constexpr std::int32_t kUnderlineSingle = 2;
constexpr std::int32_t kUnderlineDouble = -4119;
constexpr std::int32_t kUnderlineSingleAccounting = 4;
constexpr std::int32_t kUnderlineDoubleAccounting = 5;

Underline underlineOf(const Call& call) {
    if (call.value().type() == automation::VariantType::Boolean)
        return call.valueBoolean() ? Underline::Single : Underline::None;
    switch (call.valueInt32()) {
        case kUnderlineNone:
        case 0: return Underline::None;
        case kUnderlineSingle:
        case -1:
        case 1: return Underline::Single;
        case kUnderlineDouble: return Underline::Double;
        case kUnderlineSingleAccounting: return Underline::SingleAccounting;
        case kUnderlineDoubleAccounting: return Underline::DoubleAccounting;
    }
    call.fail(std::to_string(call.valueInt32()) +
              " is not an underline style (-4142 none, 2 single, -4119 double, 4 and 5 accounting)");
}

std::int32_t underlineCode(Underline u) {
    switch (u) {
        case Underline::None: return kUnderlineNone;
        case Underline::Single: return kUnderlineSingle;
        case Underline::Double: return kUnderlineDouble;
        case Underline::SingleAccounting: return kUnderlineSingleAccounting;
        case Underline::DoubleAccounting: return kUnderlineDoubleAccounting;
    }
    return kUnderlineNone;
}

}  // namespace

Variant RangeFont::invokeMember(const Call& call) {
    requireAttached(call, *sheet_);
    call.expectCount(0, 0);
    Worksheet& sheet = *sheet_;
    const FontStyle& current = sheet.cellStyle(rect_.first).font;
    if (!call.isPut()) {
        switch (call.id()) {
            case dispid::Name: return Variant(current.name);
            case dispid::Color: return Variant(colourValueFromRgb(current.colour));
            case dispid::Size: return Variant(current.size);
            case dispid::Bold: return Variant(current.bold);
            case dispid::Italic: return Variant(current.italic);
            case dispid::Underline: return Variant(underlineCode(current.underline));
        }
        call.wrongKind();
    }
    std::function<void(CellStyle&)> edit;
    switch (call.id()) {
        case dispid::Name: {
            std::string name = call.valueText();
            if (name.empty()) call.fail("a font name cannot be empty");
            if (name.size() > 31) call.fail("the font name \"" + framework::printable(name) + "\" is longer than 31 characters");
            edit = [name = std::move(name)](CellStyle& s) { s.font.name = name; };
            break;
        }
        case dispid::Color: {
            const Rgb rgb = colourOf(call);
            edit = [rgb](CellStyle& s) { s.font.colour = rgb; };
            break;
        }
        case dispid::Size: {
            const double size = call.valueNumber();
            if (!(size >= 1.0 && size <= 409.0)) call.fail(std::to_string(size) + " is not a font size (1 to 409)");
            edit = [size](CellStyle& s) { s.font.size = size; };
            break;
        }
        case dispid::Bold: {
            const bool on = call.valueBoolean();
            edit = [on](CellStyle& s) { s.font.bold = on; };
            break;
        }
        case dispid::Italic: {
            const bool on = call.valueBoolean();
            edit = [on](CellStyle& s) { s.font.italic = on; };
            break;
        }
        case dispid::Underline: {
            const Underline u = underlineOf(call);
            edit = [u](CellStyle& s) { s.font.underline = u; };
            break;
        }
        default: call.wrongKind();
    }
    sheet.restyle(rect_, edit);
    return {};
}

// --- Interior ---

Application* RangeInterior::application() const { return sheet_->application(); }
const automation::ThreadOwner* RangeInterior::threadOwner() const { return sheet_->threadOwner(); }

std::span<const ModelObject::Member> RangeInterior::members() const {
    static constexpr Member kMembers[] = {{"Color", dispid::Color}};
    return kMembers;
}

Variant RangeInterior::invokeMember(const Call& call) {
    if (call.id() != dispid::Color) call.wrongKind();
    requireAttached(call, *sheet_);
    call.expectCount(0, 0);
    if (!call.isPut()) {
        const Rgb fill = sheet_->cellStyle(rect_.first).fill;
        return Variant(fill == kAutomaticColour ? 0xFFFFFF : colourValueFromRgb(fill));
    }
    const Rgb rgb = colourOf(call);
    sheet_->restyle(rect_, [rgb](CellStyle& s) { s.fill = rgb; });
    return {};
}

// --- Borders ---

Application* RangeBorders::application() const { return sheet_->application(); }
const automation::ThreadOwner* RangeBorders::threadOwner() const { return sheet_->threadOwner(); }

std::span<const ModelObject::Member> RangeBorders::members() const {
    static constexpr Member kMembers[] = {{"Item", dispid::Item}};
    return kMembers;
}

Variant RangeBorders::invokeMember(const Call& call) {
    if (call.id() != dispid::Item || call.isPut()) call.wrongKind();
    requireAttached(call, *sheet_);
    call.expectCount(1, 1);
    const std::int32_t index = call.int32(0);
    if (index < 1 || index > 12) call.fail(std::to_string(index) + " is not a border index (1 to 12)");
    return Variant(DispatchPtr(std::make_shared<RangeBorder>(sheet_, rect_, index)));
}

Application* RangeBorder::application() const { return sheet_->application(); }
const automation::ThreadOwner* RangeBorder::threadOwner() const { return sheet_->threadOwner(); }

std::span<const ModelObject::Member> RangeBorder::members() const {
    static constexpr Member kMembers[] = {
        {"Weight", dispid::Weight},
        {"Color", dispid::Color},
        {"LineStyle", kLineStyle},
    };
    return kMembers;
}

Variant RangeBorder::invokeMember(const Call& call) {
    if (call.id() != dispid::Weight && call.id() != dispid::Color && call.id() != kLineStyle) call.wrongKind();
    requireAttached(call, *sheet_);
    call.expectCount(0, 0);
    Worksheet& sheet = *sheet_;
    if (!call.isPut()) {
        const std::optional<BorderLine> line = sheet.border(rect_, index_);
        if (!line) return Variant::null();
        switch (call.id()) {
            case dispid::Weight: return Variant(borderWeightCode(line->weight));
            case dispid::Color: return Variant(colourValueFromRgb(line->colour));
            default: return Variant(line->present() ? kLineStyleContinuous : kLineStyleNone);
        }
    }
    switch (call.id()) {
        case dispid::Weight: {
            BorderWeight weight;
            try {
                weight = borderWeightFromCode(call.valueInt32());
            } catch (const AutomationError& e) {
                call.fail(e.what(), e.scode());
            }
            sheet.setBorder(rect_, index_, weight, std::nullopt);
            return {};
        }
        case dispid::Color:
            sheet.setBorder(rect_, index_, std::nullopt, colourOf(call));
            return {};
        default: {
            const std::int32_t style = call.valueInt32();
            if (style == kLineStyleNone)
                sheet.setBorder(rect_, index_, BorderWeight::None, std::nullopt);
            else if (style == kLineStyleContinuous) {
                const std::optional<BorderLine> line = sheet.border(rect_, index_);
                sheet.setBorder(rect_, index_, line && line->present() ? line->weight : BorderWeight::Thin,
                                std::nullopt);
            }
            else
                call.fail(std::to_string(style) + " is not a supported line style (1 continuous, -4142 none)");
            return {};
        }
    }
}

}  // namespace tabulix::spreadsheet
