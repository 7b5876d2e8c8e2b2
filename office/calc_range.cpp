#include "office/calc_range.h"

#include <cctype>
#include <cmath>
#include <optional>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/sheet/FormulaResult.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XFormulaParser.hpp>
#include <com/sun/star/sheet/XFormulaTokens.hpp>
#include <com/sun/star/sheet/XUnnamedDatabaseRanges.hpp>
#include <com/sun/star/table/CellHoriJustify.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/table/XTableRows.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/MalformedNumberFormatException.hpp>
#include <com/sun/star/util/XMergeable.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

#include "automation/dispids.h"
#include "office/calc_column_widths.h"
#include "office/calc_number_formats.h"
#include "office/calc_range_format.h"
#include "office/calc_sheet.h"
#include "office/calc_workbook.h"
#include "office/uno_text.h"

namespace tabulix::office {

using automation::DispatchPtr;
using automation::Variant;
using automation::VariantType;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace dispid = automation::dispid;
namespace xl = automation::xl;

namespace {

// A cell holds at most this many characters, counted in UTF-16 code units as the file does.
constexpr sal_Int32 kMaxCellText = 32767;

// "A1" .. "XFD1048576": the column letters and row of a cell name, or false.
// The 0-based column and row of a cell name (A1 notation), or nothing for anything else.
std::optional<std::pair<sal_Int32, sal_Int32>> cellPosition(const std::string& name) {
    std::size_t i = 0;
    long column = 0;
    while (i < name.size() && i < 4 && std::isalpha(static_cast<unsigned char>(name[i])))
        column = column * 26 + (std::toupper(static_cast<unsigned char>(name[i++])) - 'A' + 1);
    if (i == 0 || i > 3 || column > 16384 || i == name.size() || name[i] == '0') return std::nullopt;
    long row = 0;
    for (; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return std::nullopt;
        row = row * 10 + (name[i] - '0');
        if (row > 1048576) return std::nullopt;
    }
    return std::pair<sal_Int32, sal_Int32>(static_cast<sal_Int32>(column - 1), static_cast<sal_Int32>(row - 1));
}

css::lang::Locale localeOf(automation::Lcid lcid) {
    switch (lcid & 0x3FF) {
        case 0x0A: return css::lang::Locale("es", "ES", "");
        case 0x03: return css::lang::Locale("ca", "ES", "");
        case 0x0C: return css::lang::Locale("fr", "FR", "");
        case 0x07: return css::lang::Locale("de", "DE", "");
        case 0x10: return css::lang::Locale("it", "IT", "");
        case 0x16: return css::lang::Locale("pt", "PT", "");
        default: return css::lang::Locale("en", "US", "");
    }
}

bool commaDecimal(const css::lang::Locale& locale) { return locale.Language != "en"; }


// "," and "." exchanged outside quoted text and escaped characters: the decimal and grouping
// marks of a comma-decimal notation in the English one.
std::string swapDecimalMarks(const std::string& code) {
    std::string result = code;
    bool quoted = false;
    for (std::size_t i = 0; i < result.size(); ++i) {
        char& c = result[i];
        if (c == '"') quoted = !quoted;
        else if (!quoted && c == '\\') ++i;
        else if (!quoted && c == ',') c = '.';
        else if (!quoted && c == '.') c = ',';
    }
    return result;
}

Reference<css::beans::XPropertySet> propertiesOf(const Reference<css::uno::XInterface>& object) {
    return Reference<css::beans::XPropertySet>(object, UNO_QUERY_THROW);
}

// Error codes of formulas that Calc could not read (as opposed to results such as #DIV/0!).
bool isSyntaxError(sal_Int32 code) {
    switch (code) {
        case 501: case 504: case 507: case 508: case 509: case 510: case 511: case 512:
        case 516: case 517: case 518:
            return true;
        default:
            return false;
    }
}

// Calc closes brackets that a formula leaves open; the application refuses such a formula.
bool bracketsBalance(const std::string& formula) {
    int depth = 0;
    bool quoted = false;
    for (char c : formula) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '(') ++depth;
        if (c == ')' && --depth < 0) return false;
    }
    return depth == 0 && !quoted;
}

}  // namespace

std::shared_ptr<CalcRange> rangeOfSheet(const CalcCall& call, const std::shared_ptr<CalcSheet>& sheet,
                                        const std::string& first, const std::string& last) {
    std::pair<sal_Int32, sal_Int32> corners[2];
    for (int i = 0; i < 2; ++i) {
        const std::string& name = i == 0 ? first : last;
        const auto position = cellPosition(name);
        if (!position) call.fail("\"" + name + "\" is not a cell name (A1 to XFD1048576)");
        corners[i] = *position;
    }
    return std::make_shared<CalcRange>(
        sheet, CellBlock{std::min(corners[0].first, corners[1].first), std::min(corners[0].second, corners[1].second),
                         std::max(corners[0].first, corners[1].first), std::max(corners[0].second, corners[1].second)});
}

CalcRange::CalcRange(std::shared_ptr<CalcSheet> sheet, Reference<css::table::XCellRange> cells, bool columns)
    : CalcObject(sheet->sessionPtr()), sheet_(std::move(sheet)), cells_(std::move(cells)), columns_(columns) {}

CalcRange::CalcRange(std::shared_ptr<CalcSheet> sheet, CellBlock block)
    : CalcObject(sheet->sessionPtr()), sheet_(std::move(sheet)), block_(block), columns_(false) {}

const Reference<css::table::XCellRange>& CalcRange::cells() const {
    if (!cells_.is())
        cells_ = Reference<css::table::XCellRange>(sheet_->sheet(), UNO_QUERY_THROW)
                     ->getCellRangeByPosition(block_->firstColumn, block_->firstRow, block_->lastColumn, block_->lastRow);
    return cells_;
}

css::table::CellRangeAddress CalcRange::address() const {
    return Reference<css::sheet::XCellRangeAddressable>(cells(), UNO_QUERY_THROW)->getRangeAddress();
}

bool CalcRange::passesPendingCells(const CalcCall& call) const { return call.id() == dispid::Value && call.isPut(); }

std::span<const CalcObject::Member> CalcRange::members() const { return automation::kRangeMembers; }

Variant CalcRange::invokeMember(const CalcCall& call) {
    if (!session().workbookWithId(sheet_->workbook()->id())) call.fail("its workbook has been closed");
    const auto self = selfAs<CalcRange>();
    switch (call.id()) {
        case dispid::Value:
            call.expectCount(0, call.isPut() ? 0 : 1);
            if (!call.isPut()) return value(call);
            putValue(call);
            return {};
        case dispid::Formula:
            call.expectCount(0, 0);
            if (!call.isPut()) return formula(call);
            putFormula(call);
            return {};
        case dispid::Font:
            call.noPut();
            call.expectCount(0, 0);
            return Variant(DispatchPtr(std::make_shared<CalcFont>(self)));
        case dispid::Interior:
            call.noPut();
            call.expectCount(0, 0);
            return Variant(DispatchPtr(std::make_shared<CalcInterior>(self)));
        case dispid::Borders:
            call.noPut();
            call.expectCount(0, 1);
            if (call.given(0)) return Variant(DispatchPtr(borderOfRange(call, self, call.int32(0))));
            return Variant(DispatchPtr(std::make_shared<CalcBorders>(self)));
        case dispid::Columns: {
            call.noPut();
            call.expectCount(0, 1);
            if (!call.given(0)) return Variant(DispatchPtr(std::make_shared<CalcRange>(sheet_, cells(), true)));
            const auto a = address();
            const std::int32_t i = call.int32(0);
            if (i < 1 || i > a.EndColumn - a.StartColumn + 1) call.fail("the range has no column " + std::to_string(i));
            return Variant(DispatchPtr(std::make_shared<CalcRange>(
                sheet_, cells()->getCellRangeByPosition(i - 1, 0, i - 1, a.EndRow - a.StartRow), true)));
        }
        case dispid::HorizontalAlignment: {
            call.expectCount(0, 0);
            using namespace css::table;
            const auto props = propertiesOf(cells());
            if (!call.isPut()) {
                CellHoriJustify justify = CellHoriJustify_STANDARD;
                props->getPropertyValue("HoriJustify") >>= justify;
                switch (justify) {
                    case CellHoriJustify_LEFT: return Variant(xl::HAlignLeft);
                    case CellHoriJustify_CENTER: return Variant(xl::HAlignCenter);
                    case CellHoriJustify_RIGHT: return Variant(xl::HAlignRight);
                    default: return Variant(xl::HAlignGeneral);
                }
            }
            CellHoriJustify justify;
            switch (call.valueInt32()) {
                case xl::HAlignLeft: justify = CellHoriJustify_LEFT; break;
                case xl::HAlignCenter: justify = CellHoriJustify_CENTER; break;
                case xl::HAlignRight: justify = CellHoriJustify_RIGHT; break;
                case xl::HAlignGeneral: justify = CellHoriJustify_STANDARD; break;
                default: call.fail(std::to_string(call.valueInt32()) + " is not a horizontal alignment");
            }
            props->setPropertyValue("HoriJustify", css::uno::Any(justify));
            return {};
        }
        case dispid::NumberFormat:
            call.expectCount(0, 0);
            if (!call.isPut()) return numberFormat();
            putNumberFormat(call);
            return {};
        case dispid::ShrinkToFit: {
            call.expectCount(0, 0);
            const auto props = propertiesOf(cells());
            if (!call.isPut()) {
                bool shrink = false;
                props->getPropertyValue("ShrinkToFit") >>= shrink;
                return Variant(shrink);
            }
            props->setPropertyValue("ShrinkToFit", css::uno::Any(call.valueBoolean()));
            return {};
        }
        case dispid::MergeCells: {
            call.expectCount(0, 0);
            const Reference<css::util::XMergeable> mergeable(cells(), UNO_QUERY_THROW);
            if (!call.isPut()) return Variant(static_cast<bool>(mergeable->getIsMerged()));
            mergeable->merge(call.valueBoolean());
            return {};
        }
        case dispid::Merge: {
            call.noPut();
            call.expectCount(0, 1);
            const bool across = call.given(0) && call.boolean(0);
            const auto a = address();
            if (!across) {
                Reference<css::util::XMergeable>(cells(), UNO_QUERY_THROW)->merge(true);
                return {};
            }
            for (sal_Int32 r = 0; r <= a.EndRow - a.StartRow; ++r)
                Reference<css::util::XMergeable>(
                    cells()->getCellRangeByPosition(0, r, a.EndColumn - a.StartColumn, r), UNO_QUERY_THROW)
                    ->merge(true);
            return {};
        }
        case dispid::AutoFit:
            call.noPut();
            call.expectCount(0, 0);
            if (!columns_) call.fail("AutoFit needs whole columns (Columns.AutoFit)");
            fitColumns(sheet_->workbook()->document(), address());
            return {};
        case dispid::ColumnWidth: {
            call.expectCount(0, 0);
            const Reference<css::container::XIndexAccess> columns(
                Reference<css::table::XColumnRowRange>(cells(), UNO_QUERY_THROW)->getColumns(), UNO_QUERY_THROW);
            if (call.isPut()) {
                const double characters = call.valueNumber();
                if (characters < 0 || characters > kMaxColumnCharacters) call.fail("a column width is 0 to 255 characters");
                propertiesOf(columns)->setPropertyValue("Width", css::uno::Any(widthOfCharacters(characters)));
                return {};
            }
            std::optional<sal_Int32> common;
            for (sal_Int32 i = 0; i < columns->getCount(); ++i) {
                sal_Int32 width = 0;
                propertiesOf(Reference<css::uno::XInterface>(columns->getByIndex(i), UNO_QUERY_THROW))
                        ->getPropertyValue("Width") >>= width;
                if (common && *common != width) return Variant::null();
                common = width;
            }
            return Variant(charactersOfWidth(common.value_or(0)));
        }
        case dispid::RowHeight: {
            call.expectCount(0, 0);
            const auto rows = propertiesOf(Reference<css::table::XColumnRowRange>(cells(), UNO_QUERY_THROW)->getRows());
            if (call.isPut()) {
                const double points = call.valueNumber();
                if (points < 0 || points > 409) call.fail("a row height is 0 to 409 points");
                rows->setPropertyValue("Height", css::uno::Any(static_cast<sal_Int32>(std::lround(points * 2540.0 / 72.0))));
                return {};
            }
            sal_Int32 height = 0;
            rows->getPropertyValue("Height") >>= height;
            return Variant(std::round(height * 72.0 / 2540.0 * 4.0) / 4.0);
        }
        case dispid::AutoFilter:
            call.noPut();
            for (std::size_t i = 0; i < call.count(); ++i)
                if (call.given(i))
                    call.fail("filtering by a criterion is not supported; call AutoFilter without arguments to "
                              "put the filter buttons on or off");
            toggleAutoFilter();
            return Variant(true);
    }
    call.wrongKind();
}

// The filter buttons belong to the sheet's own (unnamed) database range: on over this range, or
// off when the sheet has them.
void CalcRange::toggleAutoFilter() {
    const auto a = address();
    const Reference<css::sheet::XUnnamedDatabaseRanges> ranges(
        propertiesOf(sheet_->workbook()->model())->getPropertyValue("UnnamedDatabaseRanges"), UNO_QUERY_THROW);
    const auto filterOf = [&] {
        return propertiesOf(Reference<css::uno::XInterface>(ranges->getByTable(a.Sheet), UNO_QUERY_THROW));
    };
    if (ranges->hasByTable(a.Sheet)) {
        bool on = false;
        filterOf()->getPropertyValue("AutoFilter") >>= on;
        if (on) {
            filterOf()->setPropertyValue("AutoFilter", css::uno::Any(false));
            return;
        }
    }
    ranges->setByTable(a);
    filterOf()->setPropertyValue("AutoFilter", css::uno::Any(true));
}

// Values wait with the session's pending cells, to be written with their neighbours (see
// CalcPendingCells); what Calc would refuse or cut is refused here, where the caller can still
// say which value it was.
void CalcRange::putValue(const CalcCall& call) {
    const Variant& v = call.value();
    css::uno::Any value;
    switch (v.type()) {
        case VariantType::Object:
        case VariantType::Missing:
        case VariantType::Error:
            call.fail("a " + std::string(automation::variantTypeName(v.type())) + " cannot be stored in a cell");
        case VariantType::Text: {
            const rtl::OUString text = toUno(*v.getIf<std::string>());
            if (text.getLength() > kMaxCellText)
                call.fail("a cell holds at most 32767 characters (UTF-16 code units), the text has " +
                          std::to_string(text.getLength()));
            value <<= text;
            break;
        }
        case VariantType::Empty:
        case VariantType::Null:
            value <<= rtl::OUString();  // an empty text leaves the cell empty (void would be #N/A)
            break;
        case VariantType::Boolean: value <<= v.toBool() ? 1.0 : 0.0; break;
        default: value <<= v.toDouble(); break;
    }
    const ImpliedFormat implied = impliedFormatOf(v, call.lcid());
    const auto& document = sheet_->workbook()->model();
    if (block_) {
        for (sal_Int32 row = block_->firstRow; row <= block_->lastRow; ++row)
            for (sal_Int32 column = block_->firstColumn; column <= block_->lastColumn; ++column)
                session().keepCellValue(document, sheet_->sheet(), column, row, value, implied);
        return;
    }
    const auto a = address();
    for (sal_Int32 row = a.StartRow; row <= a.EndRow; ++row)
        for (sal_Int32 column = a.StartColumn; column <= a.EndColumn; ++column)
            session().keepCellValue(document, sheet_->sheet(), column, row, value, implied);
}

Variant CalcRange::value(const CalcCall& call) const {
    const auto a = address();
    if (a.StartRow != a.EndRow || a.StartColumn != a.EndColumn)
        call.fail("reading a range of several cells at once is not supported; read one cell at a time");
    const Reference<css::table::XCell> cell = cells()->getCellByPosition(0, 0);
    switch (cell->getType()) {
        case css::table::CellContentType_EMPTY: return {};
        case css::table::CellContentType_VALUE: return Variant(cell->getValue());
        case css::table::CellContentType_TEXT:
            return Variant(fromUno(Reference<css::text::XTextRange>(cell, UNO_QUERY_THROW)->getString()));
        default: break;
    }
    sal_Int32 result = 0;
    propertiesOf(cell)->getPropertyValue("FormulaResultType2") >>= result;
    if (result == css::sheet::FormulaResult::VALUE) return Variant(cell->getValue());
    return Variant(fromUno(Reference<css::text::XTextRange>(cell, UNO_QUERY_THROW)->getString()));
}

// Formulas come in the English A1 notation ("=SUM(C3:C20)", "," between arguments): the
// document's formula parser reads them in that grammar and the tokens go into the cell. A
// formula Calc cannot read is refused and the cell keeps what it held.
void CalcRange::putFormula(const CalcCall& call) {
    const Variant& v = call.value();
    if (v.type() != VariantType::Text) {
        putValue(call);
        return;
    }
    const std::string text = *v.getIf<std::string>();
    if (!text.empty() && text.front() == '=' && !bracketsBalance(text))
        call.fail("the brackets of the formula \"" + text + "\" do not match");
    const auto a = address();
    const Reference<css::sheet::XFormulaParser> parser = sheet_->workbook()->formulaParser();
    for (sal_Int32 r = 0; r <= a.EndRow - a.StartRow; ++r) {
        for (sal_Int32 c = 0; c <= a.EndColumn - a.StartColumn; ++c) {
            const Reference<css::table::XCell> cell = cells()->getCellByPosition(c, r);
            if (text.empty() || text.front() != '=') {
                cell->setFormula(toUno(text));
                continue;
            }
            const css::table::CellAddress at(a.Sheet, a.StartColumn + c, a.StartRow + r);
            const rtl::OUString before = cell->getFormula();
            Reference<css::sheet::XFormulaTokens>(cell, UNO_QUERY_THROW)
                ->setTokens(parser->parseFormula(toUno(text.substr(1)), at));
            if (isSyntaxError(cell->getError())) {
                cell->setFormula(before);
                call.fail("LibreOffice Calc cannot read the formula \"" + text + "\"");
            }
        }
    }
}

Variant CalcRange::formula(const CalcCall& call) const {
    const auto a = address();
    if (a.StartRow != a.EndRow || a.StartColumn != a.EndColumn)
        call.fail("reading a range of several cells at once is not supported; read one cell at a time");
    const Reference<css::table::XCell> cell = cells()->getCellByPosition(0, 0);
    if (cell->getType() != css::table::CellContentType_FORMULA) return value(call);
    const auto tokens = Reference<css::sheet::XFormulaTokens>(cell, UNO_QUERY_THROW)->getTokens();
    return Variant("=" + fromUno(sheet_->workbook()->formulaParser()->printFormula(
                             tokens, css::table::CellAddress(a.Sheet, a.StartColumn, a.StartRow))));
}

// The format text is read in the notation of the call's locale ("#.##0,00" with Spanish) and kept
// in the file's, in the suite's system locale (see calc_number_formats.h): a format kept in a
// locale of its own would be saved tagged with it ("[$-C0A]###,##0.00").
void CalcRange::putNumberFormat(const CalcCall& call) {
    std::string code = call.value().isNull() ? std::string() : call.valueText();
    if (code.empty()) code = "General";
    const auto formats = Reference<css::util::XNumberFormatsSupplier>(sheet_->workbook()->model(), UNO_QUERY_THROW)
                             ->getNumberFormats();
    const css::lang::Locale locale = localeOf(call.lcid());
    sal_Int32 key = 0;
    try {
        if (commaDecimal(locale)) {
            // Calc reads it in the call's locale first, so that what it refuses there is refused.
            if (formats->queryKey(toUno(code), locale, false) < 0) formats->addNew(toUno(code), locale);
            code = swapDecimalMarks(code);
        }
        key = formatKey(formats, code);
    } catch (const css::util::MalformedNumberFormatException&) {
        call.fail("\"" + call.valueText() + "\" is not a number format");
    }
    propertiesOf(cells())->setPropertyValue("NumberFormat", css::uno::Any(key));
}

Variant CalcRange::numberFormat() const {
    const auto formats = Reference<css::util::XNumberFormatsSupplier>(sheet_->workbook()->model(), UNO_QUERY_THROW)
                             ->getNumberFormats();
    sal_Int32 key = 0;
    propertiesOf(cells()->getCellByPosition(0, 0))->getPropertyValue("NumberFormat") >>= key;
    rtl::OUString code;
    formats->getByKey(key)->getPropertyValue("FormatString") >>= code;
    return Variant(fromUno(code));
}

}  // namespace tabulix::office
