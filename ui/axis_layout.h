#pragma once
// Where the rows (or the columns) of a sheet lie on screen, without a record per row: every
// index has the default size except the few given another one, so a position is the default
// size times the index plus what the exceptions before it add. A sheet of a million rows of
// which a dozen are taller costs a dozen entries.

#include <cstdint>
#include <map>
#include <vector>

namespace tabulix::ui {

class AxisLayout {
public:
    AxisLayout() = default;
    AxisLayout(int count, int defaultSize);

    int count() const { return count_; }
    int defaultSize() const { return defaultSize_; }
    // Sizes given to indexes from count on are kept for when the count grows.
    void setCount(int count);
    // Every index back to the default size.
    void reset(int defaultSize);
    // The size of one index (0 hides it), also beyond count. Ignored below 0.
    void setSize(int index, int size);
    int size(int index) const;
    // The indexes not of the default size.
    const std::map<int, int>& exceptions() const { return sizes_; }

    // Offset of the start of `index` from the start of index 0; position(count()) is the total.
    std::int64_t position(int index) const;
    std::int64_t total() const { return position(count_); }
    // The index whose extent holds `offset`, clamped to 0..count-1 (0 when empty). An index
    // of size 0 never holds an offset.
    int indexAt(std::int64_t offset) const;
    // The smallest first index that still shows the last one within `extent`.
    int lastFirstIndex(std::int64_t extent) const;

private:
    void rebuild() const;

    int count_ = 0;
    int defaultSize_ = 0;
    std::map<int, int> sizes_;
    // What the exceptions add, in index order: (index, sum of size - default of those before it).
    mutable std::vector<std::pair<int, std::int64_t>> added_;
    mutable bool dirty_ = false;
};

}  // namespace tabulix::ui
