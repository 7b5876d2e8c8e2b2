#include "spreadsheet/formula/dependency_index.h"

#include <algorithm>

namespace tabulix::spreadsheet::formula {

template <class Visit>
void DependencyIndex::forEachCoveringNode(int low, int high, Visit&& visit) {
    for (int level = 0; low <= high; ++level, low >>= 1, high >>= 1) {
        if (low & 1) visit(level, low++);
        if (!(high & 1)) visit(level, high--);
    }
}

template <class Visit>
void DependencyIndex::forEachCoveringNode(const CellRect& rect, Visit&& visit) {
    forEachCoveringNode((rect.firstRow - 1) >> kRowLeafShift, (rect.lastRow - 1) >> kRowLeafShift,
                        [&](int rowLevel, int rowIndex) {
                            forEachCoveringNode(rect.firstColumn - 1, rect.lastColumn - 1, [&](int columnLevel, int columnIndex) {
                                visit(rowLevel, rowIndex, columnLevel, columnIndex);
                            });
                        });
}

void DependencyIndex::countLevelPair(int rowLevel, int columnLevel, int change) {
    std::size_t& count = entriesAtLevels_[rowLevel][columnLevel];
    const bool wasUsed = count > 0;
    count += change;
    if (wasUsed == (count > 0)) return;
    const std::pair<int, int> pair{rowLevel, columnLevel};
    if (count > 0)
        levelsInUse_.push_back(pair);
    else
        levelsInUse_.erase(std::find(levelsInUse_.begin(), levelsInUse_.end(), pair));
}

void DependencyIndex::add(std::uint32_t id, int sheet, const CellRect& rect) {
    if (rect.isSingleCell()) {
        cells_[cellKey(sheet, rect.firstRow, rect.firstColumn)].push_back(id);
        return;
    }
    forEachCoveringNode(rect, [&](int rowLevel, int rowIndex, int columnLevel, int columnIndex) {
        nodes_[nodeKey(sheet, rowLevel, rowIndex, columnLevel, columnIndex)].push_back(RangeEntry{id, rect});
        countLevelPair(rowLevel, columnLevel, +1);
    });
}

void DependencyIndex::remove(std::uint32_t id, int sheet, const CellRect& rect) {
    if (rect.isSingleCell()) {
        auto it = cells_.find(cellKey(sheet, rect.firstRow, rect.firstColumn));
        if (it == cells_.end()) return;
        auto& ids = it->second;
        if (auto found = std::find(ids.begin(), ids.end(), id); found != ids.end()) {
            *found = ids.back();
            ids.pop_back();
        }
        if (ids.empty()) cells_.erase(it);
        return;
    }
    forEachCoveringNode(rect, [&](int rowLevel, int rowIndex, int columnLevel, int columnIndex) {
        auto it = nodes_.find(nodeKey(sheet, rowLevel, rowIndex, columnLevel, columnIndex));
        if (it == nodes_.end()) return;
        auto& entries = it->second;
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const RangeEntry& e) { return e.id == id && e.rect == rect; });
        if (found != entries.end()) {
            *found = entries.back();
            entries.pop_back();
            countLevelPair(rowLevel, columnLevel, -1);
        }
        if (entries.empty()) nodes_.erase(it);
    });
}

void DependencyIndex::clear() {
    cells_.clear();
    nodes_.clear();
    for (auto& row : entriesAtLevels_) std::fill(std::begin(row), std::end(row), 0);
    levelsInUse_.clear();
}

}  // namespace tabulix::spreadsheet::formula
