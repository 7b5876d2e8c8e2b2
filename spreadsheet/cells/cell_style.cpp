#include "spreadsheet/cells/cell_style.h"

#include <functional>

#include "automation/automation_error.h"

namespace tabulix::spreadsheet {

namespace {

void mix(std::size_t& seed, std::size_t value) { seed ^= value + 0x9e3779b97f4a7c15ull + (seed << 6) + (seed >> 2); }

constexpr std::size_t kBucketCount = 4096;

}  // namespace

std::size_t hashStyle(const CellStyle& s) {
    std::size_t h = std::hash<std::string>{}(s.font.name);
    mix(h, std::hash<double>{}(s.font.size));
    mix(h, s.font.colour);
    mix(h, (s.font.bold ? 1u : 0u) | (s.font.italic ? 2u : 0u) | (static_cast<unsigned>(s.font.underline) << 2));
    mix(h, s.fill);
    for (const BorderLine& b : s.borders) {
        mix(h, static_cast<std::size_t>(b.weight));
        mix(h, b.colour);
    }
    mix(h, static_cast<std::size_t>(s.alignment));
    mix(h, s.shrinkToFit ? 1u : 0u);
    mix(h, s.numberFormat);
    return h;
}

StyleTable::StyleTable() : buckets_(kBucketCount) { intern(CellStyle{}); }

StyleTable::Id StyleTable::intern(const CellStyle& style) {
    std::vector<Id>& bucket = buckets_[hashStyle(style) % kBucketCount];
    for (Id id : bucket)
        if (styles_[id] == style) return id;
    if (styles_.size() >= kMaxStyles)
        throw automation::AutomationError("Too many different cell formats in the workbook (the limit is " +
                                          std::to_string(kMaxStyles) + ")");
    const Id id = static_cast<Id>(styles_.size());
    styles_.push_back(style);
    bucket.push_back(id);
    return id;
}

StyleTable::Id StyleTable::withNumberFormat(Id base, std::uint32_t numberFormat) {
    const std::uint64_t key = (std::uint64_t{base} << 32) | numberFormat;
    if (const auto it = numberFormatMemo_.find(key); it != numberFormatMemo_.end()) return it->second;
    CellStyle style = styles_[base];
    style.numberFormat = numberFormat;
    const Id id = intern(style);
    numberFormatMemo_.emplace(key, id);
    return id;
}

}  // namespace tabulix::spreadsheet
