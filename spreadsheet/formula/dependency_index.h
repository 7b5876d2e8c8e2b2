#pragma once
// Which formulas read a given cell. Single-cell references sit in a hash map. Rectangles sit in
// a two-dimensional segment tree: rows in blocks of 64 and columns one by one, each halved level
// by level, so that a formula over C3:C100000 costs a handful of entries rather than one per
// cell, and a lookup visits one node for each pair of levels in use. Internal to the engine.

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>
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
        const int rowLeaf = (row - 1) >> kRowLeafShift, columnLeaf = column - 1;
        for (auto [rowLevel, columnLevel] : levelsInUse_) {
            auto it = nodes_.find(nodeKey(sheet, rowLevel, rowLeaf >> rowLevel, columnLevel, columnLeaf >> columnLevel));
            if (it == nodes_.end()) continue;
            for (const RangeEntry& entry : it->second)
                if (entry.rect.contains(row, column)) visit(entry.id);
        }
    }

private:
    static constexpr int kRowLeafShift = 6;  // a row leaf covers 64 rows
    static constexpr int kLevels = 15;       // 2^14 leaves in either direction, plus the root

    struct RangeEntry {
        std::uint32_t id;
        CellRect rect;
    };

    static std::uint64_t cellKey(int sheet, int row, int column) {
        return (std::uint64_t(std::uint32_t(sheet)) << 36) | (std::uint64_t(row) << 15) | std::uint64_t(column);
    }
    static std::uint64_t nodeKey(int sheet, int rowLevel, int rowIndex, int columnLevel, int columnIndex) {
        return (std::uint64_t(std::uint32_t(sheet)) << 36) | (std::uint64_t(rowLevel) << 32) |
               (std::uint64_t(rowIndex) << 18) | (std::uint64_t(columnLevel) << 14) | std::uint64_t(columnIndex);
    }
    // Calls visit(level, index) for the nodes of a one-dimensional tree that exactly cover the
    // leaves low..high.
    template <class Visit>
    static void forEachCoveringNode(int low, int high, Visit&& visit);
    template <class Visit>
    static void forEachCoveringNode(const CellRect& rect, Visit&& visit);
    void countLevelPair(int rowLevel, int columnLevel, int change);

    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> cells_;
    std::unordered_map<std::uint64_t, std::vector<RangeEntry>> nodes_;
    std::size_t entriesAtLevels_[kLevels][kLevels] = {};
    std::vector<std::pair<int, int>> levelsInUse_;  // level pairs with entries; only those are looked up
};

}  // namespace tabulix::spreadsheet::formula
