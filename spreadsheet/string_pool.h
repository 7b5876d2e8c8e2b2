#pragma once
// Interned texts of a workbook: every distinct text is kept once, cells hold a 32-bit id.
// Texts live in arena blocks of 1 MiB, each behind a short length prefix; a text's id is where
// it lies (block and offset), so no table maps ids to texts. They are found through an
// open-addressing hash index. A text of ten bytes costs about 35 bytes in all, not a heap node
// per cell.

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
    std::size_t size() const { return count_; }

private:
    static constexpr unsigned kOffsetBits = 20;
    static constexpr std::size_t kBlockSize = std::size_t{1} << kOffsetBits;
    static constexpr Id kOffsetMask = static_cast<Id>(kBlockSize - 1);
    // A slot holds an id in its low half and the text's 32-bit hash in its high half, so that a
    // probe compares hashes without touching the texts. No text lies at the very end of the last
    // block, so no id makes a slot all ones.
    static constexpr std::uint64_t kEmptySlot = ~std::uint64_t{0};

    Id store(std::string_view text);
    void grow();

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockUsed_ = kBlockSize;  // bytes used of the last block
    std::size_t count_ = 0;
    std::vector<std::uint64_t> slots_;  // power-of-two size
};

}  // namespace tabulix::spreadsheet
