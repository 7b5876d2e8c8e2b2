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
    std::string_view text(Id id) const { return texts_[id]; }
    std::size_t size() const { return texts_.size(); }

private:
    static constexpr Id kEmptySlot = 0xFFFFFFFFu;

    std::string_view store(std::string_view text);
    void grow();

    std::vector<std::unique_ptr<char[]>> blocks_;
    char* blockCursor_ = nullptr;
    std::size_t blockLeft_ = 0;
    std::vector<std::string_view> texts_;
    std::vector<std::size_t> hashes_;
    std::vector<Id> slots_;  // power-of-two size, kEmptySlot or an index into texts_
};

}  // namespace tabulix::spreadsheet
