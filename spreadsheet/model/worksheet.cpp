#include "spreadsheet/model/worksheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "automation/dispids.h"
#include "spreadsheet/cells/block_pool.h"
#include "spreadsheet/cells/text_utils.h"
#include "spreadsheet/cells/utf8.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/page_setup.h"
#include "spreadsheet/model/range.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/numfmt/number_format_table.h"
#include "workbook_formulas.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;
using automation::DispatchPtr;
using automation::Variant;
using automation::VariantType;
namespace dispid = automation::dispid;

namespace {

constexpr std::size_t kMaxCellTextLength = 32767;
constexpr std::int32_t kErrorFacility = static_cast<std::int32_t>(0x800A0000u);

std::string formatNumber(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

bool spanishWords(automation::Lcid lcid) { return (lcid & 0x3FF) == 0x0A; }

// Tells the observers about the cells of a write when it ends, whichever way it ends: a write
// refused half-way may already have changed some of them.
class CellsChangedNotice {
public:
    CellsChangedNotice(Worksheet& sheet, const CellRect& rect) : sheet_(sheet), rect_(rect) {}
    ~CellsChangedNotice() { sheet_.notifyCellsChanged(rect_); }
    CellsChangedNotice(const CellsChangedNotice&) = delete;
    CellsChangedNotice& operator=(const CellsChangedNotice&) = delete;

private:
    Worksheet& sheet_;
    CellRect rect_;
};

}  // namespace

Worksheet::Worksheet(Workbook& book, std::string name)
    : Sheet(book, std::move(name)),
      formulaSheet_(book.formulas().addSheet(*this)),
      rangePool_(std::make_shared<BlockPool>()) {}

Worksheet::~Worksheet() {
    if (isAttached()) workbook().formulas().removeSheet(*this);
}

void Worksheet::notifyCellsChanged(const CellRect& rect) {
    if (Application* app = application())
        app->notifyObservers([&](ModelObserver& o) { o.cellsChanged(*this, rect); });
}

void Worksheet::notifyLayoutChanged() {
    if (Application* app = application()) app->notifyObservers([&](ModelObserver& o) { o.layoutChanged(*this); });
}

SheetType Worksheet::sheetType() const { return SheetType::Worksheet; }

std::shared_ptr<Range> Worksheet::range(const CellRect& rect) {
    return std::allocate_shared<Range>(PoolAllocator<Range>(rangePool_), selfAs<Worksheet>(), rect);
}

std::shared_ptr<Range> Worksheet::range(std::string_view reference) { return range(parseRangeRef(reference)); }

// --- Contents ---

void Worksheet::checkFormattable(const CellRect& rect) const {
    // The limit is on the blank cells a call would create: cells that exist already (a large
    // transferred block) cost nothing more to format.
    std::uint64_t created = rect.cellCount();
    for (std::uint32_t r = rect.first.row; r <= rect.last.row && created > kMaxFormattedCells; ++r) {
        const std::span<const Cell> cells = cells_.row(r);
        const auto from = std::lower_bound(cells.begin(), cells.end(), rect.first.column - 1,
                                           [](const Cell& c, std::uint32_t col) { return c.column0 < col; });
        const auto to = std::upper_bound(from, cells.end(), rect.last.column - 1,
                                         [](std::uint32_t col, const Cell& c) { return col < c.column0; });
        created -= static_cast<std::uint64_t>(to - from);
    }
    if (created > kMaxFormattedCells)
        throw AutomationError("Worksheet \"" + name() + "\": " + rangeName(rect) + " has " +
                              std::to_string(rect.cellCount()) + " cells; a range of at most " +
                              std::to_string(kMaxFormattedCells) + " cells can be written or formatted at once");
}

void Worksheet::setValue(const CellRect& rect, const Variant& value, automation::Lcid lcid) {
    Workbook& book = workbook();
    CellsChangedNotice notice(*this, rect);
    switch (value.type()) {
        case VariantType::Missing: throw AutomationError("Range.Value: a value is required");
        case VariantType::Object: {
            // A range stands for its value, as in Range("A1").Value = Range("B1").
            const auto* source = dynamic_cast<const Range*>(value.toObject().get());
            if (!source || !source->rect().isSingleCell())
                throw AutomationError("Range.Value: an object can be stored only when it is a one-cell range",
                                      AutomationError::kTypeMismatch);
            setValue(rect, source->worksheet().value(source->rect().first), lcid);
            return;
        }
        case VariantType::Empty:
        case VariantType::Null: {
            WorkbookFormulas::Batch batch(book.formulas());
            cells_.forEachIn(rect, [&](CellAddress at, Cell& cell) { clearContent(at, cell); });
            return;
        }
        default: break;
    }
    if (rect.isSingleCell()) {
        storeValue(rect.first, cells_.obtain(rect.first), value, lcid, book);
        return;
    }
    checkFormattable(rect);
    WorkbookFormulas::Batch batch(book.formulas());
    for (std::uint32_t r = rect.first.row; r <= rect.last.row; ++r)
        for (std::uint32_t c = rect.first.column; c <= rect.last.column; ++c)
            storeValue({r, c}, cells_.obtain({r, c}), value, lcid, book);
}

void Worksheet::storeValue(CellAddress at, Cell& cell, const Variant& value, automation::Lcid lcid, Workbook& book) {
    switch (value.type()) {
        case VariantType::Boolean:
            emptyCell(at, cell);
            cell.kind = CellKind::Boolean;
            cell.boolean = *value.getIf<bool>();
            break;
        case VariantType::Int32:
        case VariantType::Int64:
        case VariantType::Double: {
            const double number = value.toDouble();
            emptyCell(at, cell);
            if (std::isfinite(number)) {
                cell.kind = CellKind::Number;
                cell.number = number;
            } else {
                cell.kind = CellKind::Error;
                cell.error = static_cast<std::uint16_t>(CellError::Num);
            }
            break;
        }
        case VariantType::Currency:
        case VariantType::Date: {
            const bool isDate = value.type() == VariantType::Date;
            const double number = value.toDouble();
            emptyCell(at, cell);
            cell.kind = CellKind::Number;
            cell.number = number;
            if (book.styles().style(cell.style).numberFormat == NumberFormatTable::kGeneral) {
                const std::string code =
                    isDate ? dateFormatCode(lcid, number != std::floor(number)) : currencyFormatCode(lcid);
                cell.style = book.styles().withNumberFormat(cell.style, book.numberFormats().internFileCode(code));
            }
            break;
        }
        case VariantType::Text: {
            // A cell holds characters: bytes that are not UTF-8 have none to stand for, so they
            // become U+FFFD here, and measuring, comparing and saving all see the same text.
            const std::string& given = *value.getIf<std::string>();
            const std::string text = isValidUtf8(given) ? given : utf8::repaired(given);
            // The file format counts the limit in UTF-16 code units.
            if (text.size() > kMaxCellTextLength && utf8::utf16Length(text) > kMaxCellTextLength)
                throw AutomationError("Range.Value: a cell holds at most 32767 characters (UTF-16 code units), "
                                      "the text has " + std::to_string(utf8::utf16Length(text)));
            const StringPool::Id id = book.strings().intern(text);
            emptyCell(at, cell);
            cell.kind = CellKind::Text;
            cell.text = id;
            break;
        }
        case VariantType::Error: {
            const std::int32_t scode = value.getIf<automation::ErrorValue>()->scode;
            const std::int32_t code = scode & 0xFFFF;
            if ((scode & static_cast<std::int32_t>(0xFFFF0000u)) != kErrorFacility || !isCellErrorCode(code))
                throw AutomationError("Range.Value: " + value.describe() + " is not a cell error value",
                                      AutomationError::kTypeMismatch);
            emptyCell(at, cell);
            cell.kind = CellKind::Error;
            cell.error = static_cast<std::uint16_t>(code);
            break;
        }
        default:
            throw AutomationError("Range.Value: a " + std::string(automation::variantTypeName(value.type())) +
                                      " value cannot be stored in a cell",
                                  AutomationError::kTypeMismatch);
    }
    book.formulas().cellChanged(*this, at);
}

void Worksheet::emptyCell(CellAddress at, Cell& cell) {
    if (cell.kind == CellKind::Formula) {
        cells_.clearFormula(cell);
        workbook().formulas().removeFormula(*this, at);
    }
    cell.kind = CellKind::Blank;
    cell.number = 0.0;
}

void Worksheet::clearContent(CellAddress at, Cell& cell) {
    emptyCell(at, cell);
    workbook().formulas().cellChanged(*this, at);
}

void Worksheet::setFormula(const CellRect& rect, const Variant& formula, automation::Lcid lcid) {
    Workbook& book = workbook();
    CellsChangedNotice notice(*this, rect);
    if (formula.type() != VariantType::Text) {
        setValue(rect, formula, lcid);
        return;
    }
    const std::string& given = *formula.getIf<std::string>();
    const std::string text = isValidUtf8(given) ? given : utf8::repaired(given);
    if (text.starts_with('=') && text.size() > 1) {
        if (!rect.isSingleCell())
            throw AutomationError("Range.Formula: a formula can be set on one cell at a time, not on " +
                                  rangeName(rect));
        if (text.size() > kMaxCellTextLength)
            throw AutomationError("Range.Formula: the formula is longer than 32767 characters");
        // Parsed before the cell is touched, so that a refused text leaves it as it was.
        formula::Formula parsed;
        try {
            parsed = formula::Formula::parse(text);
        } catch (const AutomationError& e) {
            throw AutomationError("Range.Formula: " + std::string(e.what()) + " (cell " + cellName(rect.first) +
                                      " of sheet \"" + name() + "\")",
                                  e.scode());
        }
        storeFormula(rect.first, text, std::move(parsed));
        return;
    }
    WorkbookFormulas::Batch batch(book.formulas());
    if (text.empty()) {
        cells_.forEachIn(rect, [&](CellAddress at, Cell& cell) { clearContent(at, cell); });
        return;
    }
    checkFormattable(rect);
    for (std::uint32_t r = rect.first.row; r <= rect.last.row; ++r)
        for (std::uint32_t c = rect.first.column; c <= rect.last.column; ++c)
            storeEntry({r, c}, cells_.obtain({r, c}), text, lcid, book);
}

void Worksheet::storeFormula(CellAddress at, const std::string& text, formula::Formula parsed) {
    Cell& cell = cells_.obtain(at);
    cells_.setFormula(cell, text);
    workbook().formulas().setFormula(*this, at, std::move(parsed));
}

void Worksheet::storeEntry(CellAddress at, Cell& cell, const std::string& text, automation::Lcid lcid,
                           Workbook& book) {
    if (text.starts_with('\'')) {
        storeValue(at, cell, Variant(text.substr(1)), lcid, book);
        return;
    }
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    const bool numeric = end && end != text.c_str() && *end == '\0' && std::isfinite(number) &&
                         text.find_first_of("xXpPnN") == std::string::npos && text.front() != ' ';
    if (numeric) {
        storeValue(at, cell, Variant(number), lcid, book);
        return;
    }
    const std::string folded = foldCase(text);
    if (folded == "true" || folded == "false") {
        storeValue(at, cell, Variant(folded == "true"), lcid, book);
        return;
    }
    storeValue(at, cell, Variant(text), lcid, book);
}

CellValue Worksheet::valueOf(const Cell& cell, const Workbook& book) const {
    switch (cell.kind) {
        case CellKind::Blank: return {};
        case CellKind::Number: return cell.number;
        case CellKind::Text: return std::string(book.strings().text(cell.text));
        case CellKind::Boolean: return cell.boolean;
        case CellKind::Error: return static_cast<CellError>(cell.error);
        case CellKind::Formula: return cells_.formula(cell).cached;
    }
    return {};
}

CellValue Worksheet::cellValue(CellAddress at) const {
    const Cell* cell = cells_.find(at);
    return cell ? valueOf(*cell, workbook()) : CellValue{};
}

Variant Worksheet::value(CellAddress at) const {
    const Cell* cell = cells_.find(at);
    if (!cell) return {};
    const Workbook& book = workbook();
    const CellValue v = valueOf(*cell, book);
    if (const double* number = std::get_if<double>(&v)) {
        if (book.numberFormats().format(book.styles().style(cell->style).numberFormat).isDateTime())
            return Variant(automation::Date{*number});
        return Variant(*number);
    }
    if (const auto* text = std::get_if<std::string>(&v)) return Variant(*text);
    if (const bool* boolean = std::get_if<bool>(&v)) return Variant(*boolean);
    if (const auto* error = std::get_if<CellError>(&v))
        return Variant(automation::ErrorValue{kErrorFacility | static_cast<std::int32_t>(*error)});
    return {};
}

Variant Worksheet::formula(CellAddress at) const {
    const Cell* cell = cells_.find(at);
    if (!cell) return Variant(std::string());
    const Workbook& book = workbook();
    switch (cell->kind) {
        case CellKind::Formula: return Variant(cells_.formula(*cell).text);
        case CellKind::Number: return Variant(formatNumber(cell->number));
        case CellKind::Text: return Variant(std::string(book.strings().text(cell->text)));
        case CellKind::Boolean: return Variant(std::string(cell->boolean ? "TRUE" : "FALSE"));
        case CellKind::Error: return Variant(std::string(errorText(static_cast<CellError>(cell->error))));
        case CellKind::Blank: break;
    }
    return Variant(std::string());
}

const std::string* Worksheet::formulaText(CellAddress at) const {
    const Cell* cell = cells_.find(at);
    return cell && cell->kind == CellKind::Formula ? &cells_.formula(*cell).text : nullptr;
}

std::string Worksheet::fileFormulaText(CellAddress at) const {
    if (const formula::Formula* parsed = workbook().formulas().formulaAt(*this, at)) return parsed->canonicalText();
    const std::string* text = formulaText(at);
    return text ? text->substr(1) : std::string();
}

void Worksheet::setFormulaResult(CellAddress at, CellValue result) {
    Cell* cell = cells_.find(at);
    if (!cell || cell->kind != CellKind::Formula)
        throw AutomationError("Worksheet \"" + name() + "\": " + cellName(at) + " holds no formula");
    cells_.formula(*cell).cached = std::move(result);
}

void Worksheet::forEachFormula(const std::function<void(CellAddress, const std::string&)>& fn) const {
    cells_.forEachRow([&](std::uint32_t row, std::span<const Cell> cells) {
        for (const Cell& cell : cells)
            if (cell.kind == CellKind::Formula) fn(CellAddress{row, cell.column0 + 1u}, cells_.formula(cell).text);
    });
}

std::string Worksheet::displayedText(CellAddress at) const {
    const Cell* cell = cells_.find(at);
    if (!cell) return {};
    const Workbook& book = workbook();
    const NumberFormat& format = book.numberFormats().format(book.styles().style(cell->style).numberFormat);
    const automation::Lcid locale = book.application() ? book.application()->displayLocale() : automation::kLcidNeutral;
    const CellValue v = valueOf(*cell, book);
    if (const double* number = std::get_if<double>(&v)) return format.display(*number, conventionsFor(locale));
    if (const auto* text = std::get_if<std::string>(&v)) return format.displayText(*text);
    if (const bool* boolean = std::get_if<bool>(&v))
        return spanishWords(locale) ? (*boolean ? "VERDADERO" : "FALSO") : (*boolean ? "TRUE" : "FALSE");
    if (const auto* error = std::get_if<CellError>(&v)) return std::string(errorText(*error));
    return {};
}

void Worksheet::moveContent(CellAddress from, CellAddress to) {
    if (from == to) return;
    Cell& target = cells_.obtain(to);  // may move the cells of its row: look the source up after
    emptyCell(to, target);
    Cell* source = cells_.find(from);
    if (!source) return;
    const Cell moved = *source;
    source->kind = CellKind::Blank;
    source->number = 0.0;
    const std::uint32_t style = target.style;
    target = moved;  // kind and payload, a formula slot included; the target keeps its style
    target.column0 = static_cast<std::uint16_t>(to.column - 1);
    target.style = style;
    WorkbookFormulas& formulas = workbook().formulas();
    if (moved.kind == CellKind::Formula) {
        formulas.moveFormula(*this, from, to);
    } else {
        formulas.cellChanged(*this, from);
        formulas.cellChanged(*this, to);
    }
}

const CellStyle& Worksheet::cellStyle(CellAddress at) const {
    const Cell* cell = cells_.find(at);
    return workbook().styles().style(cell ? cell->style : StyleTable::kDefault);
}

// --- Window and printing ---

void Worksheet::setPanes(const Panes& panes) {
    const CellAddress scrolling = panes.scrollingCell();
    if (panes.topLeft.row < 1 || panes.topLeft.column < 1 || scrolling.row > kMaxRows ||
        scrolling.column > kMaxColumns)
        throw AutomationError("Worksheet \"" + name() + "\": a split of " + std::to_string(panes.splitRows) +
                              " rows and " + std::to_string(panes.splitColumns) + " columns below and right of " +
                              cellName(panes.topLeft) + " leaves no cell to scroll");
    if (panes == panes_) return;
    panes_ = panes;
    notifyLayoutChanged();
}

void Worksheet::setAutoFilter(std::optional<CellRect> area) {
    if (area == autoFilter_) return;
    autoFilter_ = area;
    notifyLayoutChanged();
}

// --- Automation ---

std::span<const ModelObject::Member> Worksheet::members() const {
    static constexpr Member kMembers[] = {
        {"Name", dispid::Name},
        {"Activate", dispid::Activate},
        {"Range", dispid::Range},
        {"PageSetup", dispid::PageSetup},
        {"AutoFilterMode", dispid::AutoFilterMode},
    };
    return kMembers;
}

namespace {

CellRect rectOfArgument(const Call& call, std::size_t i, const Worksheet& sheet) {
    const Variant& v = call.arg(i);
    if (v.type() == VariantType::Text) {
        try {
            return parseRangeRef(*v.getIf<std::string>());
        } catch (const AutomationError& e) {
            call.fail(e.what(), e.scode());
        }
    }
    if (v.type() == VariantType::Object) {
        const auto* range = dynamic_cast<const Range*>(v.toObject().get());
        if (range && &range->worksheet() == &sheet) return range->rect();
        call.fail("argument " + std::to_string(i + 1) + " is not a range of this worksheet");
    }
    call.fail("argument " + std::to_string(i + 1) + " must be a cell reference such as \"A1\", not " + v.describe(),
              AutomationError::kTypeMismatch);
}

}  // namespace

Variant Worksheet::invokeMember(const Call& call) {
    if (!isAttached()) call.fail("the worksheet \"" + name() + "\" belongs to a closed workbook");
    if (call.id() == dispid::PageSetup) {
        call.noPut();
        call.expectCount(0, 0);
        return Variant(DispatchPtr(std::make_shared<PageSetup>(selfAs<Worksheet>())));
    }
    if (call.id() == dispid::AutoFilterMode) {
        call.expectCount(0, 0);
        if (!call.isPut()) return Variant(autoFilter_.has_value());
        // As in the application: the buttons are put on by Range.AutoFilter, only taken off here.
        if (call.valueBoolean()) call.fail("AutoFilterMode can only be set to False; Range.AutoFilter puts the filter on");
        setAutoFilter(std::nullopt);
        return {};
    }
    if (call.id() != dispid::Range) {
        Variant result = invokeSheetMember(call);
        // References name their sheets: after a rename, formulas naming the old or the new name
        // are computed anew.
        if (call.id() == dispid::Name && call.isPut() && workbook().formulas().formulaCount() != 0)
            workbook().formulas().recalculateAll();
        return result;
    }
    if (call.isPut()) call.wrongKind();
    call.expectCount(1, 2);
    CellRect rect = rectOfArgument(call, 0, *this);
    // One cell is usually named twice ("B7", "B7"): parse it once.
    const bool sameName = call.count() == 2 && call.arg(0) == call.arg(1);
    if (call.given(1) && !sameName) {
        const CellRect second = rectOfArgument(call, 1, *this);
        rect = CellRect{{std::min(rect.first.row, second.first.row), std::min(rect.first.column, second.first.column)},
                        {std::max(rect.last.row, second.last.row), std::max(rect.last.column, second.last.column)}};
    }
    return Variant(DispatchPtr(range(rect)));
}

}  // namespace tabulix::spreadsheet
