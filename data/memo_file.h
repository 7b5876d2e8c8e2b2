#pragma once
// MemoFile: the texts of a dBASE table's memo columns, kept in a separate file (.dbt for
// dBASE III and IV, .fpt for FoxPro) and addressed by block number from the table's records.
// Reads one memo at a time; a block number or length that points past the file's end is an
// error, never a read out of bounds.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace tabulix::data {

class MemoFile {
public:
    enum class Kind { dBase3, dBase4, FoxPro };

    // Nothing when the file does not exist; raises EDatabaseError when it exists but cannot be
    // read.
    static std::unique_ptr<MemoFile> open(const std::filesystem::path& file, Kind kind);
    ~MemoFile();

    const std::filesystem::path& path() const { return path_; }
    // The raw bytes of the memo starting at `block` (block 0 is the file's header, so it is
    // never a memo). Raises EDatabaseError when the memo lies outside the file.
    std::string read(std::uint32_t block) const;

private:
    MemoFile(std::filesystem::path path, std::FILE* file, Kind kind, std::uint64_t size, std::uint32_t blockSize);
    [[noreturn]] void damaged(std::uint32_t block, const std::string& problem) const;
    std::string readBytes(std::uint64_t offset, std::uint64_t count) const;

    std::filesystem::path path_;
    std::FILE* file_;
    Kind kind_;
    std::uint64_t size_;
    std::uint32_t blockSize_;
};

}  // namespace tabulix::data
