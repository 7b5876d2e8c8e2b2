#include "ui/axis_layout.h"

#include <algorithm>
#include <limits>

namespace tabulix::ui {

AxisLayout::AxisLayout(int count, int defaultSize) : count_(std::max(0, count)), defaultSize_(defaultSize) {}

void AxisLayout::setCount(int count) {
    count_ = std::max(0, count);
    dirty_ = true;
}

void AxisLayout::reset(int defaultSize) {
    defaultSize_ = defaultSize;
    sizes_.clear();
    dirty_ = true;
}

void AxisLayout::setSize(int index, int size) {
    if (index < 0) return;
    if (size == defaultSize_)
        sizes_.erase(index);
    else
        sizes_[index] = std::max(0, size);
    dirty_ = true;
}

int AxisLayout::size(int index) const {
    const auto it = sizes_.find(index);
    return it == sizes_.end() ? defaultSize_ : it->second;
}

void AxisLayout::rebuild() const {
    added_.clear();
    added_.reserve(sizes_.size());
    std::int64_t sum = 0;
    for (const auto& [index, size] : sizes_) {
        added_.emplace_back(index, sum);
        sum += size - defaultSize_;
    }
    added_.emplace_back(std::numeric_limits<int>::max(), sum);  // a sentinel: everything added
    dirty_ = false;
}

std::int64_t AxisLayout::position(int index) const {
    if (dirty_ || added_.empty()) rebuild();
    index = std::clamp(index, 0, count_);
    // The first exception at or after index: what it records is all that lies before index.
    const auto it = std::lower_bound(added_.begin(), added_.end(), index,
                                     [](const auto& entry, int i) { return entry.first < i; });
    return std::int64_t{index} * defaultSize_ + it->second;
}

int AxisLayout::indexAt(std::int64_t offset) const {
    if (count_ == 0) return 0;
    // The last index starting at or before offset (positions never decrease).
    int low = 0, high = count_ - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (position(middle) <= offset)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

int AxisLayout::lastFirstIndex(std::int64_t extent) const {
    if (count_ == 0) return 0;
    const std::int64_t start = total() - extent;
    if (start <= 0) return 0;
    int first = indexAt(start);
    if (position(first) < start) ++first;
    return std::min(first, count_ - 1);
}

}  // namespace tabulix::ui
