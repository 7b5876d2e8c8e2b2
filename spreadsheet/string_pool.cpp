#include "spreadsheet/string_pool.h"

#include <cstring>
#include <functional>
#include <stdexcept>

namespace tabulix::spreadsheet {

namespace {
// Ids have 12 bits for the block.
constexpr std::size_t kMaxBlocks = std::size_t{1} << 12;
}  // namespace

StringPool::StringPool() : slots_(1024, kEmptySlot) {}

StringPool::Id StringPool::intern(std::string_view text) {
    const auto hash = static_cast<std::uint32_t>(std::hash<std::string_view>{}(text));
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    for (;; i = (i + 1) & mask) {
        const std::uint64_t slot = slots_[i];
        if (slot == kEmptySlot) break;
        if (static_cast<std::uint32_t>(slot >> 32) == hash && this->text(static_cast<Id>(slot)) == text)
            return static_cast<Id>(slot);
    }
    const Id id = store(text);
    slots_[i] = (std::uint64_t{hash} << 32) | id;
    ++count_;
    // Probes compare hashes, not texts: the index can run fuller than usual before it grows.
    if (count_ * 5 > slots_.size() * 4) grow();
    return id;
}

StringPool::Id StringPool::store(std::string_view text) {
    unsigned char prefix[10];
    std::size_t prefixSize = 0;
    for (std::size_t size = text.size();; size >>= 7) {
        prefix[prefixSize++] = static_cast<unsigned char>((size & 0x7F) | (size >= 0x80 ? 0x80 : 0));
        if (size < 0x80) break;
    }
    const std::size_t bytes = prefixSize + text.size() + 1;  // with its terminating '\0'
    if (bytes > kBlockSize - blockUsed_) {
        if (blocks_.size() == kMaxBlocks) throw std::length_error("the texts of one workbook pass 4 GiB");
        // A text larger than a block gets a block of its own; ids address only its first 1 MiB,
        // which holds the prefix, so its offset is 0 like any block start.
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(bytes > kBlockSize ? bytes : kBlockSize));
        blockUsed_ = 0;
    }
    char* at = blocks_.back().get() + blockUsed_;
    const Id id = static_cast<Id>(((blocks_.size() - 1) << kOffsetBits) | blockUsed_);
    std::memcpy(at, prefix, prefixSize);
    std::memcpy(at + prefixSize, text.data(), text.size());
    at[prefixSize + text.size()] = '\0';
    blockUsed_ = bytes > kBlockSize ? kBlockSize : blockUsed_ + bytes;
    return id;
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
