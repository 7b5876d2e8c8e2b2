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
    const std::size_t hash = std::hash<std::string_view>{}(text);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Id id = slots_[i];
        if (id == kEmptySlot) break;
        if (hashes_[id] == hash && texts_[id] == text) return id;
    }
    if (texts_.size() >= 0xFFFFFFF0u) throw std::length_error("too many distinct texts in one workbook");
    const Id id = static_cast<Id>(texts_.size());
    texts_.push_back(store(text));
    hashes_.push_back(hash);
    if ((texts_.size() + 1) * 10 > slots_.size() * 7) {
        grow();
    } else {
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            if (slots_[i] == kEmptySlot) {
                slots_[i] = id;
                break;
            }
        }
    }
    return id;
}

std::string_view StringPool::store(std::string_view text) {
    if (text.empty()) return {};
    if (text.size() > kBlockSize / 4) {
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(text.size()));
        std::memcpy(blocks_.back().get(), text.data(), text.size());
        return {blocks_.back().get(), text.size()};
    }
    if (text.size() > blockLeft_) {
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
        blockCursor_ = blocks_.back().get();
        blockLeft_ = kBlockSize;
    }
    std::memcpy(blockCursor_, text.data(), text.size());
    const std::string_view stored(blockCursor_, text.size());
    blockCursor_ += text.size();
    blockLeft_ -= text.size();
    return stored;
}

void StringPool::grow() {
    std::vector<Id> slots(slots_.size() * 2, kEmptySlot);
    const std::size_t mask = slots.size() - 1;
    for (Id id = 0; id < texts_.size(); ++id) {
        for (std::size_t i = hashes_[id] & mask;; i = (i + 1) & mask) {
            if (slots[i] == kEmptySlot) {
                slots[i] = id;
                break;
            }
        }
    }
    slots_ = std::move(slots);
}

}  // namespace tabulix::spreadsheet
