#include "data/csv/csv_reader.h"

#include <cerrno>
#include <cstring>

#include "data/data_error.h"

namespace tabulix::data {

namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;
constexpr int kEnd = -1;

}  // namespace

CsvReader::CsvReader(const std::filesystem::path& file, char delimiter, const std::string& where)
    : delimiter_(delimiter), where_(where), buffer_(kBufferBytes) {
    file_ = std::fopen(file.c_str(), "rb");
    if (!file_) throw EDatabaseError(where_ + ": cannot open the file: " + std::strerror(errno));
}

CsvReader::~CsvReader() { std::fclose(file_); }

void CsvReader::seek(CsvPosition position) {
    if (position.offset >= bufferOffset_ && position.offset <= bufferOffset_ + static_cast<std::int64_t>(end_)) {
        next_ = static_cast<std::size_t>(position.offset - bufferOffset_);
    } else {
        if (fseeko(file_, position.offset, SEEK_SET) != 0)
            throw EDatabaseError(where_ + ": cannot read the file: " + std::strerror(errno));
        bufferOffset_ = position.offset;
        next_ = end_ = 0;
    }
    line_ = position.line;
    lineStart_ = position.offset;
}

bool CsvReader::fill() {
    bufferOffset_ += static_cast<std::int64_t>(end_);
    next_ = 0;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (end_ == 0 && std::ferror(file_))
        throw EDatabaseError(where_ + ": cannot read the file: " + std::strerror(errno));
    return end_ > 0;
}

void CsvReader::fail(int column, std::int64_t character, std::string problem) const {
    throw CsvSyntaxError{line_, column, character, std::move(problem)};
}

bool CsvReader::read(std::vector<std::string>& values) {
    auto get = [this]() -> int {
        if (next_ == end_ && !fill()) return kEnd;
        return static_cast<unsigned char>(buffer_[next_++]);
    };
    // The 1-based byte in its line of the byte just read.
    auto character = [this] { return bufferOffset_ + static_cast<std::int64_t>(next_) - lineStart_; };
    auto newLine = [this] {
        ++line_;
        lineStart_ = bufferOffset_ + static_cast<std::int64_t>(next_);
    };
    // After a CR: a following LF belongs to the same line break.
    auto takeLineFeed = [&] {
        if (const int after = get(); after != '\n' && after != kEnd) --next_;
    };

    values.clear();
    blank_ = false;
    int c = get();
    if (c == kEnd) return false;
    recordLine_ = line_;
    std::size_t recordBytes = 0;
    bool firstQuoted = false;
    for (;;) {
        const int column = static_cast<int>(values.size()) + 1;
        std::string& value = values.emplace_back();
        if (c == '"') {
            if (column == 1) firstQuoted = true;
            const std::int64_t openLine = line_;
            const std::int64_t openCharacter = character();
            for (;;) {
                c = get();
                if (c == kEnd) {
                    line_ = openLine;
                    fail(column, openCharacter, "the quoted value that begins here does not end");
                }
                if (c == '"') {
                    c = get();
                    if (c != '"') break;
                } else if (c == '\r' || c == '\n') {
                    if (c == '\r') takeLineFeed();
                    newLine();
                    c = '\n';
                }
                value.push_back(static_cast<char>(c));
                if (++recordBytes > kMaxRecordBytes) {
                    line_ = openLine;
                    fail(column, openCharacter,
                         "the quoted value that begins here runs on for more than 64 MiB (is a closing quote "
                         "missing?)");
                }
            }
            if (c != delimiter_ && c != '\r' && c != '\n' && c != kEnd)
                fail(column, character(),
                     "text after the closing quote of a quoted value (a quote inside a quoted value is written "
                     "twice)");
        } else {
            while (c != delimiter_ && c != '\r' && c != '\n' && c != kEnd) {
                // Copy the rest of the value that lies in the buffer at once.
                const std::size_t from = next_ - 1;
                std::size_t to = next_;
                while (to < end_) {
                    const char b = buffer_[to];
                    if (b == delimiter_ || b == '\r' || b == '\n') break;
                    ++to;
                }
                value.append(buffer_.data() + from, to - from);
                recordBytes += to - from;
                if (recordBytes > kMaxRecordBytes) fail(column, character(), "the record is longer than 64 MiB");
                next_ = to;
                c = get();
            }
        }
        if (c == delimiter_) {
            c = get();
            if (c == kEnd) {
                values.emplace_back();
                return true;
            }
            continue;
        }
        if (c == '\r') takeLineFeed();
        if (c != kEnd) newLine();
        break;
    }
    blank_ = values.size() == 1 && values.front().empty() && !firstQuoted;
    return true;
}

}  // namespace tabulix::data
