#include "spreadsheet/cells/string_pool.h"

#include <cstring>
#include <functional>
#include <stdexcept>

namespace tabulix::spreadsheet {

namespace {
// Ids have 12 bits for the block.
constexpr std::size_t kMaxBlocks = std::size_t{1} << 12;
}  // namespace

StringPool::StringPool() : recent_(std::size_t{2} << recentBits_, kEmptySlot) {}

StringPool::Id StringPool::intern(std::string_view text) {
    const auto hash = static_cast<std::uint32_t>(std::hash<std::string_view>{}(text));
    std::uint64_t* set = recentSet(hash);
    for (int i = 0; i < 2; ++i) {
        const std::uint64_t slot = set[i];
        if (slot != kEmptySlot && static_cast<std::uint32_t>(slot >> 32) == hash &&
            this->text(static_cast<Id>(slot)) == text) {
            // The text just met goes in front: it is the one to keep.
            set[i] = set[0];
            set[0] = slot;
            return static_cast<Id>(slot);
        }
    }
    const Id id = store(text);
    ++count_;
    // The newer text takes the first slot; the older of the two leaves.
    set[1] = set[0];
    set[0] = (std::uint64_t{hash} << 32) | id;
    if (recentBits_ < kMaxRecentBits && count_ >= recent_.size()) growRecent();
    return id;
}

void StringPool::growRecent() {
    std::vector<std::uint64_t> old(std::size_t{4} << recentBits_, kEmptySlot);
    old.swap(recent_);
    ++recentBits_;
    // Older entries first, so that each set keeps its newest in front.
    for (int age = 1; age >= 0; --age) {
        for (std::size_t i = static_cast<std::size_t>(age); i < old.size(); i += 2) {
            if (old[i] == kEmptySlot) continue;
            std::uint64_t* set = recentSet(static_cast<std::uint32_t>(old[i] >> 32));
            set[1] = set[0];
            set[0] = old[i];
        }
    }
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

}  // namespace tabulix::spreadsheet
