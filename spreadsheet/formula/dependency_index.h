#pragma once
// Which formulas read a given cell. Single-cell references sit in a hash map; rectangles sit in
// a segment tree over row blocks, so that a formula over C3:C100000 costs a few entries rather
// than one per cell, and a lookup visits one node per level. Internal to the formula engine.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "spreadsheet/formula/cell_rect.h"

namespace tabulix::spreadsheet::formula {

class DependencyIndex {
public:
    // Records that formula `id` reads `rect` on `sheet`. Adding the same pair twice records it twice.
    void add(std::uint32_t id, int sheet, const CellRect& rect);
    // Undoes one add() of the same arguments.
    void remove(std::uint32_t id, int sheet, const CellRect& rect);
    void clear();

    // Calls visit(id) for each formula reading the cell; an id may come more than once.
    template <class Visit>
    void forEachReader(int sheet, int row, int column, Visit&& visit) const {
        if (auto it = cells_.find(cellKey(sheet, row, column)); it != cells_.end())
            for (std::uint32_t id : it->second) visit(id);
        if (rangeEntries_ == 0) return;
        const int leaf = (row - 1) >> kLeafShift;
        for (int level = 0; level <= kLevels; ++level) {
            auto it = nodes_.find(nodeKey(sheet, level, leaf >> level));
            if (it == nodes_.end()) continue;
            for (const RangeEntry& entry : it->second)
                if (entry.rect.contains(row, column)) visit(entry.id);
        }
    }

private:
    static constexpr int kLeafShift = 6;  // a leaf covers 64 rows
    static constexpr int kLevels = 14;    // 2^14 leaves cover all 1048576 rows

    struct RangeEntry {
        std::uint32_t id;
        CellRect rect;
    };

    static std::uint64_t cellKey(int sheet, int row, int column) {
        return (std::uint64_t(std::uint32_t(sheet)) << 36) | (std::uint64_t(row) << 15) | std::uint64_t(column);
    }
    static std::uint64_t nodeKey(int sheet, int level, int index) {
        return (std::uint64_t(std::uint32_t(sheet)) << 32) | (std::uint64_t(level) << 16) | std::uint64_t(index);
    }
    // Calls visit(level, index) for the nodes that exactly cover the rows of `rect`.
    template <class Visit>
    static void forEachCoveringNode(const CellRect& rect, Visit&& visit);

    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> cells_;
    std::unordered_map<std::uint64_t, std::vector<RangeEntry>> nodes_;
    std::size_t rangeEntries_ = 0;
};

}  // namespace tabulix::spreadsheet::formula
