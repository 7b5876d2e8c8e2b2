// Worksheet: cell styles, border lines and merged areas.

#include <algorithm>
#include <unordered_map>

#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"
#include "spreadsheet/numfmt/number_format_table.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;

namespace {

// Remembers, during one formatting call, which style each original style turned into, so that a
// large range costs one hash lookup per cell instead of one style comparison.
class StyleMemo {
public:
    explicit StyleMemo(StyleTable& table) : table_(table) {}

    template <class Edit>
    StyleTable::Id apply(StyleTable::Id base, unsigned variant, Edit&& edit) {
        const std::uint64_t key = (std::uint64_t{base} << 8) | variant;
        // Neighbouring cells mostly share their style: the last answer first.
        if (key == lastKey_) return lastId_;
        lastKey_ = key;
        if (const auto it = memo_.find(key); it != memo_.end()) return lastId_ = it->second;
        CellStyle style = table_.style(base);
        edit(style);
        lastId_ = table_.intern(style);
        memo_.emplace(key, lastId_);
        return lastId_;
    }

private:
    StyleTable& table_;
    std::unordered_map<std::uint64_t, StyleTable::Id> memo_;
    std::uint64_t lastKey_ = ~std::uint64_t{0};
    StyleTable::Id lastId_ = 0;
};

CellSide opposite(CellSide side) {
    switch (side) {
        case CellSide::Left: return CellSide::Right;
        case CellSide::Right: return CellSide::Left;
        case CellSide::Top: return CellSide::Bottom;
        case CellSide::Bottom: return CellSide::Top;
        default: return side;
    }
}

// The neighbour across a side, or nothing at the sheet's edge (and for diagonals).
std::optional<CellAddress> across(CellAddress at, CellSide side) {
    switch (side) {
        case CellSide::Left: return at.column > 1 ? std::optional(CellAddress{at.row, at.column - 1}) : std::nullopt;
        case CellSide::Right:
            return at.column < kMaxColumns ? std::optional(CellAddress{at.row, at.column + 1}) : std::nullopt;
        case CellSide::Top: return at.row > 1 ? std::optional(CellAddress{at.row - 1, at.column}) : std::nullopt;
        case CellSide::Bottom: return at.row < kMaxRows ? std::optional(CellAddress{at.row + 1, at.column}) : std::nullopt;
        default: return std::nullopt;
    }
}

void applyLine(BorderLine& line, std::optional<BorderWeight> weight, std::optional<Rgb> colour) {
    if (weight) line.weight = *weight;
    if (colour) {
        line.colour = *colour;
        if (line.weight == BorderWeight::None) line.weight = BorderWeight::Thin;
    }
}

}  // namespace

void Worksheet::restyle(const CellRect& rect, const std::function<void(CellStyle&)>& edit) {
    Workbook& book = workbook();
    checkFormattable(rect);
    StyleMemo memo(book.styles());
    for (std::uint32_t r = rect.first.row; r <= rect.last.row; ++r)
        for (Cell& cell : cells_.obtainRun(r, rect.first.column, rect.last.column))
            cell.style = memo.apply(cell.style, 0, edit);
    notifyCellsChanged(rect);
}

void Worksheet::setNumberFormat(const CellRect& rect, std::string_view code, automation::Lcid lcid) {
    Workbook& book = workbook();
    const NumberFormatTable::Id id = book.numberFormats().intern(NumberFormat::parse(code, lcid));
    restyle(rect, [id](CellStyle& s) { s.numberFormat = id; });
}

void Worksheet::setBorder(const CellRect& rect, std::int32_t index, std::optional<BorderWeight> weight,
                          std::optional<Rgb> colour) {
    Workbook& book = workbook();
    if (index < 1 || index > 12)
        throw AutomationError("Borders: " + std::to_string(index) + " is not a border index (1 to 12)");
    checkFormattable(rect);
    StyleMemo memo(book.styles());
    // Sets one side of one cell; with sync, also the facing side of an existing neighbour that
    // already draws that line, so both cells agree on it.
    auto set = [&](CellAddress at, CellSide side, bool sync) {
        const auto variant = static_cast<unsigned>(side);
        Cell& cell = cells_.obtain(at);
        cell.style = memo.apply(cell.style, variant, [&](CellStyle& s) { applyLine(s.border(side), weight, colour); });
        if (!sync) return;
        const auto next = across(at, side);
        if (!next) return;
        Cell* neighbour = cells_.find(*next);
        if (!neighbour || !book.styles().style(neighbour->style).border(opposite(side)).present()) return;
        const BorderLine line = book.styles().style(cell.style).border(side);
        const CellSide facing = opposite(side);
        CellStyle other = book.styles().style(neighbour->style);
        other.border(facing) = line;
        neighbour->style = book.styles().intern(other);
    };
    const CellAddress tl = rect.first, br = rect.last;
    auto each = [&](auto&& fn) {
        for (std::uint32_t r = tl.row; r <= br.row; ++r)
            for (std::uint32_t c = tl.column; c <= br.column; ++c) fn(CellAddress{r, c});
    };
    switch (index) {
        case 1: each([&](CellAddress a) { set(a, CellSide::Left, true); }); break;
        case 2: each([&](CellAddress a) { set(a, CellSide::Right, true); }); break;
        case 3: each([&](CellAddress a) { set(a, CellSide::Top, true); }); break;
        case 4: each([&](CellAddress a) { set(a, CellSide::Bottom, true); }); break;
        case 5: each([&](CellAddress a) { set(a, CellSide::DiagonalDown, false); }); break;
        case 6: each([&](CellAddress a) { set(a, CellSide::DiagonalUp, false); }); break;
        case 7:
            for (std::uint32_t r = tl.row; r <= br.row; ++r) set({r, tl.column}, CellSide::Left, true);
            break;
        case 8:
            for (std::uint32_t c = tl.column; c <= br.column; ++c) set({tl.row, c}, CellSide::Top, true);
            break;
        case 9:
            for (std::uint32_t c = tl.column; c <= br.column; ++c) set({br.row, c}, CellSide::Bottom, true);
            break;
        case 10:
            for (std::uint32_t r = tl.row; r <= br.row; ++r) set({r, br.column}, CellSide::Right, true);
            break;
        case 11:
            each([&](CellAddress a) {
                if (a.column > tl.column) set(a, CellSide::Left, false);
                if (a.column < br.column) set(a, CellSide::Right, false);
            });
            break;
        case 12:
            each([&](CellAddress a) {
                if (a.row > tl.row) set(a, CellSide::Top, false);
                if (a.row < br.row) set(a, CellSide::Bottom, false);
            });
            break;
    }
    // The facing lines of the neighbours may have changed too.
    const CellRect touched{{std::max(tl.row, 2u) - 1, std::max(tl.column, 2u) - 1},
                           {std::min(br.row + 1, kMaxRows), std::min(br.column + 1, kMaxColumns)}};
    notifyCellsChanged(touched);
}

std::optional<BorderLine> Worksheet::border(const CellRect& rect, std::int32_t index) const {
    if (index < 1 || index > 12)
        throw AutomationError("Borders: " + std::to_string(index) + " is not a border index (1 to 12)");
    const CellAddress tl = rect.first, br = rect.last;
    switch (index) {
        case 1: return cellStyle(tl).border(CellSide::Left);
        case 2: return cellStyle(tl).border(CellSide::Right);
        case 3: return cellStyle(tl).border(CellSide::Top);
        case 4: return cellStyle(tl).border(CellSide::Bottom);
        case 5: return cellStyle(tl).border(CellSide::DiagonalDown);
        case 6: return cellStyle(tl).border(CellSide::DiagonalUp);
        case 7: return cellStyle(tl).border(CellSide::Left);
        case 8: return cellStyle(tl).border(CellSide::Top);
        case 9: return cellStyle({br.row, tl.column}).border(CellSide::Bottom);
        case 10: return cellStyle({tl.row, br.column}).border(CellSide::Right);
        case 11:
            if (tl.column == br.column) return std::nullopt;
            return cellStyle(tl).border(CellSide::Right);
        default:
            if (tl.row == br.row) return std::nullopt;
            return cellStyle(tl).border(CellSide::Bottom);
    }
}

// --- Merged areas ---

void Worksheet::merge(const CellRect& rect, bool across) {
    workbook();
    auto mergeOne = [this](const CellRect& area) {
        if (area.isSingleCell()) return;
        unmerge(area);
        // The first content in reading order is what the merged cell shows: move it to the
        // top-left cell (a formula slot moves with it) and clear every other cell.
        std::optional<CellAddress> first;
        cells_.forEachIn(area, [&](CellAddress at, Cell& cell) {
            if (!first && cell.kind != CellKind::Blank) first = at;
        });
        if (first && !(*first == area.first)) moveContent(*first, area.first);
        cells_.forEachIn(area, [&](CellAddress at, Cell& cell) {
            if (!(at == area.first)) clearContent(at, cell);
        });
        merges_.push_back(area);
    };
    if (across) {
        for (std::uint32_t r = rect.first.row; r <= rect.last.row; ++r)
            mergeOne(CellRect{{r, rect.first.column}, {r, rect.last.column}});
    } else {
        mergeOne(rect);
    }
    notifyCellsChanged(rect);
    notifyLayoutChanged();
}

void Worksheet::unmerge(const CellRect& rect) {
    workbook();
    if (std::erase_if(merges_, [&](const CellRect& m) { return m.intersects(rect); }) != 0) notifyLayoutChanged();
}

std::optional<bool> Worksheet::mergeState(const CellRect& rect) const {
    bool any = false;
    for (const CellRect& m : merges_) {
        if (!m.intersects(rect)) continue;
        if (m.contains(rect.first) && m.contains(rect.last)) return true;
        any = true;
    }
    if (any) return std::nullopt;
    return false;
}

}  // namespace tabulix::spreadsheet
