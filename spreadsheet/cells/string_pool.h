#pragma once
// The texts of a workbook's cells; cells hold a 32-bit id. Texts live in arena blocks of 1 MiB,
// each behind a short length prefix, and a text's id is where it lies (block and offset), so no
// table maps ids to texts. A text met again while it is still among the recently stored ones
// (a column of families or states) gets the id it has; a text met only after many others is
// stored again. Memory thus follows the cells, at worst the text's bytes and two or three more
// per cell, without an index that grows with every distinct text (a column of a million codes).
// Equal ids mean equal texts, not the other way round.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace tabulix::spreadsheet {

class StringPool {
public:
    using Id = std::uint32_t;

    StringPool();
    StringPool(const StringPool&) = delete;
    StringPool& operator=(const StringPool&) = delete;

    // Raises std::length_error when the texts would pass 4 GiB.
    Id intern(std::string_view text);
    // The text; its data() is followed by a '\0', so it can be handed to C functions as is.
    std::string_view text(Id id) const {
        const auto* at = reinterpret_cast<const unsigned char*>(blocks_[id >> kOffsetBits].get()) + (id & kOffsetMask);
        std::size_t size = 0;
        for (unsigned shift = 0;; shift += 7) {
            const unsigned char byte = *at++;
            size |= static_cast<std::size_t>(byte & 0x7F) << shift;
            if (byte < 0x80) break;
        }
        return {reinterpret_cast<const char*>(at), size};
    }
    // Texts stored, repeats met too late to be recognised included.
    std::size_t size() const { return count_; }

private:
    static constexpr unsigned kOffsetBits = 20;
    static constexpr std::size_t kBlockSize = std::size_t{1} << kOffsetBits;
    static constexpr Id kOffsetMask = static_cast<Id>(kBlockSize - 1);
    // The recent texts: sets of two slots, found by the text's hash. A slot holds an id in its
    // low half and the text's 32-bit hash in its high half, so that a lookup compares hashes
    // before texts. No text lies at the very end of the last block, so no id makes a slot all ones.
    static constexpr unsigned kMaxRecentBits = 16;
    static constexpr std::uint64_t kEmptySlot = ~std::uint64_t{0};

    Id store(std::string_view text);
    std::uint64_t* recentSet(std::uint32_t hash) {
        return &recent_[std::size_t{(hash * 0x9E3779B9u) >> (32 - recentBits_)} * 2];
    }
    // A small workbook keeps a small table: it doubles with the texts stored, up to its limit.
    void growRecent();

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockUsed_ = kBlockSize;  // bytes used of the last block
    std::size_t count_ = 0;
    unsigned recentBits_ = 8;
    std::vector<std::uint64_t> recent_;  // 2^recentBits_ sets of two
};

}  // namespace tabulix::spreadsheet
