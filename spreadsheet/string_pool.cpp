#include "spreadsheet/string_pool.h"

#include <cstring>
#include <functional>
#include <stdexcept>

namespace tabulix::spreadsheet {

namespace {
constexpr std::size_t kBlockSize = 256 * 1024;
}

StringPool::StringPool() : slots_(1024, kEmptySlot) {}

StringPool::Id StringPool::intern(std::string_view text) {
    const auto hash = static_cast<std::uint32_t>(std::hash<std::string_view>{}(text));
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    for (;; i = (i + 1) & mask) {
        const std::uint64_t slot = slots_[i];
        if (slot == kEmptySlot) break;
        if (static_cast<std::uint32_t>(slot >> 32) == hash && texts_[static_cast<Id>(slot)] == text)
            return static_cast<Id>(slot);
    }
    if (texts_.size() >= 0xFFFFFFF0u) throw std::length_error("too many distinct texts in one workbook");
    const Id id = static_cast<Id>(texts_.size());
    texts_.push_back(store(text));
    slots_[i] = (std::uint64_t{hash} << 32) | id;
    if ((texts_.size() + 1) * 10 > slots_.size() * 7) grow();
    return id;
}

std::string_view StringPool::store(std::string_view text) {
    const std::size_t bytes = text.size() + 1;  // with its terminating '\0'
    char* at;
    if (bytes > kBlockSize / 4) {
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(bytes));
        at = blocks_.back().get();
    } else {
        if (bytes > blockLeft_) {
            blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
            blockCursor_ = blocks_.back().get();
            blockLeft_ = kBlockSize;
        }
        at = blockCursor_;
        blockCursor_ += bytes;
        blockLeft_ -= bytes;
    }
    std::memcpy(at, text.data(), text.size());
    at[text.size()] = '\0';
    return {at, text.size()};
}

void StringPool::grow() {
    std::vector<std::uint64_t> slots(slots_.size() * 2, kEmptySlot);
    const std::size_t mask = slots.size() - 1;
    for (const std::uint64_t slot : slots_) {
        if (slot == kEmptySlot) continue;
        for (std::size_t i = (slot >> 32) & mask;; i = (i + 1) & mask) {
            if (slots[i] == kEmptySlot) {
                slots[i] = slot;
                break;
            }
        }
    }
    slots_ = std::move(slots);
}

}  // namespace tabulix::spreadsheet
