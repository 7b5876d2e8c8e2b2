#pragma once
// Interned texts of a workbook: every distinct text is kept once, cells hold a 32-bit id.
// Texts live in large arena blocks and are found through an open-addressing hash index, so a
// text costs its bytes plus about 30 bytes, not a heap node per cell.

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

    Id intern(std::string_view text);
    // The text; its data() is followed by a '\0', so it can be handed to C functions as is.
    std::string_view text(Id id) const { return texts_[id]; }
    std::size_t size() const { return texts_.size(); }

private:
    // A slot holds an id in its low half and the text's 32-bit hash in its high half, so that a
    // probe compares hashes without touching the texts.
    static constexpr std::uint64_t kEmptySlot = ~std::uint64_t{0};

    std::string_view store(std::string_view text);
    void grow();

    std::vector<std::unique_ptr<char[]>> blocks_;
    char* blockCursor_ = nullptr;
    std::size_t blockLeft_ = 0;
    std::vector<std::string_view> texts_;
    std::vector<std::uint64_t> slots_;  // power-of-two size
};

}  // namespace tabulix::spreadsheet
