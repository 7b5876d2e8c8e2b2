#include "spreadsheet/formula/dependency_index.h"

#include <algorithm>

namespace tabulix::spreadsheet::formula {

template <class Visit>
void DependencyIndex::forEachCoveringNode(const CellRect& rect, Visit&& visit) {
    int low = (rect.firstRow - 1) >> kLeafShift;
    int high = (rect.lastRow - 1) >> kLeafShift;
    for (int level = 0; low <= high; ++level, low >>= 1, high >>= 1) {
        if (low & 1) visit(level, low++);
        if (!(high & 1)) visit(level, high--);
    }
}

void DependencyIndex::add(std::uint32_t id, int sheet, const CellRect& rect) {
    if (rect.isSingleCell()) {
        cells_[cellKey(sheet, rect.firstRow, rect.firstColumn)].push_back(id);
        return;
    }
    forEachCoveringNode(rect, [&](int level, int index) {
        nodes_[nodeKey(sheet, level, index)].push_back(RangeEntry{id, rect});
        ++rangeEntries_;
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
    forEachCoveringNode(rect, [&](int level, int index) {
        auto it = nodes_.find(nodeKey(sheet, level, index));
        if (it == nodes_.end()) return;
        auto& entries = it->second;
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const RangeEntry& e) { return e.id == id && e.rect == rect; });
        if (found != entries.end()) {
            *found = entries.back();
            entries.pop_back();
            --rangeEntries_;
        }
        if (entries.empty()) nodes_.erase(it);
    });
}

void DependencyIndex::clear() {
    cells_.clear();
    nodes_.clear();
    rangeEntries_ = 0;
}

}  // namespace tabulix::spreadsheet::formula
