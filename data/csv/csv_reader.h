#pragma once
// CsvReader: the records of a delimited text file (RFC 4180), read forward through a small
// buffer, so that a file of any size takes a few records of memory. A value may be quoted ("..."),
// a doubled quote inside it stands for one quote, and a quoted value may hold delimiters and
// line breaks. Lines end with LF, CRLF or a lone CR; a line break inside a quoted value is kept
// as LF. A quote inside a value that does not begin with one is kept as it is (as spreadsheet
// programs read such files). Used by TCsvTable; not part of the library's interface.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tabulix::data {

// Where a record begins: the byte offset in the file and the 1-based line there.
struct CsvPosition {
    std::int64_t offset = 0;
    std::int64_t line = 1;
};

// A damaged record: what is wrong and where (1-based line, 1-based value in the record and
// 1-based byte in the line).
struct CsvSyntaxError {
    std::int64_t line;
    int column;
    std::int64_t character;
    std::string problem;
};

class CsvReader {
public:
    // A record longer than this is refused: it is almost always a quote that never closes.
    static constexpr std::size_t kMaxRecordBytes = 64u << 20;

    // Raises EDatabaseError (after `where`) when the file cannot be opened.
    CsvReader(const std::filesystem::path& file, char delimiter, const std::string& where);
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;
    ~CsvReader();

    // Goes on reading at `position` (the start of a record).
    void seek(CsvPosition position);
    // Where the next record begins.
    CsvPosition position() const { return {bufferOffset_ + static_cast<std::int64_t>(next_), line_}; }

    // Reads the next record's values (quotes taken off, bytes as the file holds them). False at
    // the end of the file. Raises CsvSyntaxError for a damaged record, EDatabaseError when the
    // file cannot be read.
    bool read(std::vector<std::string>& values);
    // The line the record last read began on.
    std::int64_t recordLine() const { return recordLine_; }
    // Whether the record last read was an empty line (one empty, unquoted value).
    bool recordWasBlank() const { return blank_; }

private:
    // Makes at least one more byte available; false at the end of the file.
    bool fill();
    [[noreturn]] void fail(int column, std::int64_t character, std::string problem) const;

    std::FILE* file_ = nullptr;
    char delimiter_;
    std::string where_;
    std::vector<char> buffer_;
    std::size_t next_ = 0;  // next unread byte in buffer_
    std::size_t end_ = 0;   // bytes held in buffer_
    std::int64_t bufferOffset_ = 0;
    std::int64_t line_ = 1;
    std::int64_t lineStart_ = 0;  // file offset where line_ begins
    std::int64_t recordLine_ = 0;
    bool blank_ = false;
};

}  // namespace tabulix::data
