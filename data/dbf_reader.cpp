#include "data/dbf_reader.h"

#include <shapefil.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "data/data_error.h"
#include "data/date_time.h"
#include "data/file_lookup.h"
#include "data/memo_file.h"
#include "data/shown_text.h"
#include "framework/printable.h"
#include "framework/utf8_text.h"

namespace tabulix::data {

using automation::Variant;
using framework::printable;

namespace {

constexpr int kFileHeaderSize = 32;
constexpr int kDescriptorSize = 32;

// shapelib opens the table, and its .cpg file, through these hooks: names are looked up
// ignoring letter case, reads are buffered generously, and its own error printing is silenced
// (every failure is detected from return values and reported by the reader with the file name).
// shapelib seeks before every record; the hooks keep the position, so the seek to where the last
// read ended (a walk in file order) costs no system call.
struct HookFile {
    std::FILE* file;
    std::uint64_t position;
    bool positionKnown;
};

HookFile* hookFile(SAFile file) { return reinterpret_cast<HookFile*>(file); }

SAFile hookOpen(const char* name, const char* access) {
    const std::filesystem::path path = findFileIgnoringCase(name);
    std::FILE* file = std::fopen(path.c_str(), access);
    if (!file) return nullptr;
    std::setvbuf(file, nullptr, _IOFBF, 1 << 16);
    return reinterpret_cast<SAFile>(new HookFile{file, 0, true});
}
SAOffset hookRead(void* p, SAOffset size, SAOffset count, SAFile file) {
    HookFile* f = hookFile(file);
    const std::size_t got = std::fread(p, size, count, f->file);
    if (got == count)
        f->position += static_cast<std::uint64_t>(size) * count;
    else
        f->positionKnown = false;
    return got;
}
SAOffset hookWrite(void* p, SAOffset size, SAOffset count, SAFile file) {
    HookFile* f = hookFile(file);
    f->positionKnown = false;
    return std::fwrite(p, size, count, f->file);
}
SAOffset hookSeek(SAFile file, SAOffset offset, int whence) {
    HookFile* f = hookFile(file);
    if (whence == SEEK_SET && f->positionKnown && f->position == offset) return 0;
    const int result = fseeko(f->file, static_cast<off_t>(offset), whence);
    f->positionKnown = result == 0 && whence == SEEK_SET;
    f->position = offset;
    return static_cast<SAOffset>(result);
}
SAOffset hookTell(SAFile file) {
    HookFile* f = hookFile(file);
    return f->positionKnown ? f->position : static_cast<SAOffset>(ftello(f->file));
}
int hookFlush(SAFile file) { return std::fflush(hookFile(file)->file); }
int hookClose(SAFile file) {
    HookFile* f = hookFile(file);
    const int result = std::fclose(f->file);
    delete f;
    return result;
}
int hookRemove(const char*) { return -1; }
void hookError(const char*) {}
double hookAtof(const char* text) { return std::strtod(text, nullptr); }

SAHooks readerHooks() {
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.FOpen = hookOpen;
    hooks.FRead = hookRead;
    hooks.FWrite = hookWrite;
    hooks.FSeek = hookSeek;
    hooks.FTell = hookTell;
    hooks.FFlush = hookFlush;
    hooks.FClose = hookClose;
    hooks.Remove = hookRemove;
    hooks.Error = hookError;
    hooks.Atof = hookAtof;
    return hooks;
}

bool knownVersion(std::uint8_t version) {
    switch (version) {
        case 0x02: case 0x03: case 0x04: case 0x05: case 0x30: case 0x31: case 0x32: case 0x43: case 0x63:
        case 0x83: case 0x8B: case 0x8E: case 0xCB: case 0xE5: case 0xF5: case 0xFB: return true;
        default: return false;
    }
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\0')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
    return text;
}

std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

DbfReader::DbfReader(const std::filesystem::path& file, DbfOptions options) : path_(findFileIgnoringCase(file)) {
    readHeader(options);

    SAHooks hooks = readerHooks();
    DBFHandle handle = DBFOpenLL(path_.c_str(), "rb", &hooks);
    if (!handle) damaged("shapelib cannot open it");
    handle_ = handle;
    // shapelib must see the layout that was checked; anything else means the two disagree about
    // the header and reading on would not be safe.
    bool same = handle->nRecords == recordCount_ && handle->nRecordLength == recordLength_ &&
                handle->nHeaderLength == headerLength_ && handle->nFields == static_cast<int>(columns_.size());
    for (std::size_t i = 0; same && i < columns_.size(); ++i)
        same = handle->panFieldOffset[i] == columns_[i].offset + 1 && handle->panFieldSize[i] == columns_[i].width;
    if (!same) {
        DBFClose(handle);
        handle_ = nullptr;
        damaged("its field descriptors cannot be read consistently");
    }

    try {
        openMemoFile(options.ignoreMissingMemoFile);
        chooseCodePage(options.codePage);
    } catch (...) {
        DBFClose(handle);
        handle_ = nullptr;
        throw;
    }
    // Column names were read as bytes; show them in UTF-8 like every other text.
    for (DbfColumn& column : columns_) column.name = codePage_.toUtf8(column.name);
}

bool DbfReader::isFoxPro() const {
    return version_ == 0xF5 || version_ == 0x30 || version_ == 0x31 || version_ == 0x32 || version_ == 0xE5;
}

std::filesystem::path DbfReader::memoPath() const {
    if (memo_) return memo_->path();
    std::filesystem::path memoPath = path_;
    memoPath.replace_extension(isFoxPro() ? ".fpt" : ".dbt");
    return findFileIgnoringCase(memoPath);
}

void DbfReader::openMemoFile(bool ignoreMissing) {
    if (!hasMemoColumns_) return;
    const MemoFile::Kind kind = isFoxPro() ? MemoFile::Kind::FoxPro
                                : (version_ == 0x8B || version_ == 0xCB || version_ == 0x8E || version_ == 0x04 ||
                                   version_ == 0x05)
                                    ? MemoFile::Kind::dBase4
                                    : MemoFile::Kind::dBase3;
    const std::filesystem::path file = memoPath();
    memo_ = MemoFile::open(file, kind);
    if (!memo_ && !ignoreMissing)
        throw EDatabaseError("Table " + shownPath(path_) + " has memo columns but its memo file " + shownPath(file) +
                             " is missing (IgnoreMissingMemoFile reads the table without its memos)");
}

void DbfReader::chooseCodePage(int requested) {
    auto use = [&](int page, std::string origin) {
        try {
            codePage_ = CodePage(page);
        } catch (const EDatabaseError& error) {
            throw EDatabaseError(std::string(error.what()) + " (table " + shownPath(path_) + ")");
        }
        codePageOrigin_ = std::move(origin);
    };
    if (requested != 0) return use(requested, "as asked");
    if (const char* name = DBFGetCodePage(static_cast<DBFHandle>(handle_))) {
        const std::string codePageName = name;
        const std::optional<int> page = CodePage::fromName(codePageName);
        if (codePageName.starts_with("LDID/")) {
            // An unknown language driver: the usual Windows page is the best guess.
            if (page) return use(*page, "from its language driver " + codePageName.substr(5));
            return use(CodePage::kWindows1252, "the default: its language driver " + codePageName.substr(5) +
                                                   " is not known");
        }
        if (!page)
            throw EDatabaseError("The code page '" + printable(codePageName) + "' of table " + shownPath(path_) +
                                 " (from its .cpg file) is not known");
        return use(*page, "from its .cpg file");
    }
    if (textsLookLikeUtf8()) return use(CodePage::kUtf8, "no code page declared; its texts are UTF-8");
    use(CodePage::kWindows1252, "the default: no code page declared");
}

namespace {

enum class Utf8Verdict { Ascii, Utf8, NotUtf8 };

// Whether a text is UTF-8. A character column written by a program that counts bytes may end in
// the first bytes of a sequence that did not fit: that much is forgiven at the end of a full
// column.
Utf8Verdict utf8Verdict(std::string_view text, bool full) {
    Utf8Verdict verdict = Utf8Verdict::Ascii;
    for (std::size_t at = 0; at < text.size();) {
        const auto b = static_cast<unsigned char>(text[at]);
        if (b < 0x80) {
            ++at;
            continue;
        }
        const auto d = framework::utf8::decode(text, at);
        if (d) {
            verdict = Utf8Verdict::Utf8;
            at += d->length;
            continue;
        }
        const std::size_t needed = (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        bool cut = full && needed > 0 && text.size() - at < needed;
        for (std::size_t k = at + 1; cut && k < text.size(); ++k)
            cut = (static_cast<unsigned char>(text[k]) & 0xC0) == 0x80;
        return cut ? verdict : Utf8Verdict::NotUtf8;
    }
    return verdict;
}

}  // namespace

bool DbfReader::textsLookLikeUtf8() const {
    std::FILE* file = std::fopen(path_.c_str(), "rb");
    if (!file) throw EDatabaseError("Cannot open table " + framework::quotedPath(path_) + ": " + std::strerror(errno));
    std::setvbuf(file, nullptr, _IOFBF, 1 << 16);
    bool multiByte = false;
    bool readable = std::fseek(file, headerLength_, SEEK_SET) == 0;
    std::string record(static_cast<std::size_t>(recordLength_), '\0');
    for (std::int64_t index = 0; readable && index < recordCount_; ++index) {
        if (std::fread(record.data(), 1, record.size(), file) != record.size()) break;
        for (const DbfColumn& column : columns_) {
            const std::string_view raw(record.data() + 1 + column.offset, static_cast<std::size_t>(column.width));
            Utf8Verdict verdict = Utf8Verdict::Ascii;
            if (column.type == 'C') {
                verdict = utf8Verdict(raw, raw.back() != ' ' && raw.back() != '\0');
            } else if (column.type == 'M' && memo_) {
                const std::optional<std::uint32_t> block = memoBlock(raw);
                if (!block || *block == 0) continue;
                try {
                    verdict = utf8Verdict(memo_->read(*block), false);
                } catch (const EDatabaseError&) {
                    continue;  // reported with record and column when the value is read
                }
            }
            if (verdict == Utf8Verdict::NotUtf8) {
                std::fclose(file);
                return false;
            }
            multiByte = multiByte || verdict == Utf8Verdict::Utf8;
        }
    }
    std::fclose(file);
    return multiByte;
}

DbfReader::~DbfReader() {
    if (handle_) DBFClose(static_cast<DBFHandle>(handle_));
}

void DbfReader::damaged(const std::string& problem) const {
    throw EDatabaseError("Table " + shownPath(path_) + " is damaged or not a dBASE file: " + problem);
}

void DbfReader::readHeader(DbfOptions options) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path_, error))
        throw EDatabaseError("Table " + shownPath(path_) + " does not exist");
    const std::uint64_t fileSize = std::filesystem::file_size(path_, error);
    if (error) throw EDatabaseError("Cannot read the size of table " + shownPath(path_) + ": " + error.message());
    if (fileSize < kFileHeaderSize) damaged("it has only " + std::to_string(fileSize) + " bytes");

    std::FILE* file = std::fopen(path_.c_str(), "rb");
    if (!file) throw EDatabaseError("Cannot open table " + framework::quotedPath(path_) + ": " + std::strerror(errno));
    unsigned char head[kFileHeaderSize];
    const bool gotHead = std::fread(head, 1, sizeof head, file) == sizeof head;
    if (!gotHead) {
        std::fclose(file);
        damaged("its header cannot be read");
    }
    version_ = head[0];
    recordCount_ = le32(head + 4);
    headerLength_ = le16(head + 8);
    recordLength_ = le16(head + 10);
    languageDriver_ = head[29];
    if (!knownVersion(version_)) {
        std::fclose(file);
        damaged("unknown version byte " + std::to_string(version_));
    }
    if (headerLength_ < kFileHeaderSize + kDescriptorSize || static_cast<std::uint64_t>(headerLength_) > fileSize) {
        std::fclose(file);
        damaged("its header length " + std::to_string(headerLength_) + " does not fit a file of " +
                std::to_string(fileSize) + " bytes with at least one column");
    }
    std::string descriptors(static_cast<std::size_t>(headerLength_ - kFileHeaderSize), '\0');
    const bool gotDescriptors = std::fread(descriptors.data(), 1, descriptors.size(), file) == descriptors.size();
    std::fclose(file);
    if (!gotDescriptors) damaged("its field descriptors cannot be read");

    int offset = 0;
    for (std::size_t at = 0; at < descriptors.size(); at += kDescriptorSize) {
        const auto* d = reinterpret_cast<const unsigned char*>(descriptors.data() + at);
        if (d[0] == 0x0D) break;
        if (at + kDescriptorSize > descriptors.size())
            damaged("field descriptor " + std::to_string(columns_.size() + 1) + " runs past the end of the header (" +
                    std::to_string(headerLength_) + " bytes)");
        DbfColumn column;
        const void* nul = std::memchr(d, '\0', 11);
        column.name.assign(reinterpret_cast<const char*>(d),
                           nul ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - d) : 11);
        column.name = std::string(trimmed(column.name));
        column.type = static_cast<char>(d[11]);
        column.width = d[16];
        column.decimals = d[17];
        column.offset = offset;
        const std::string which = "column " + std::to_string(columns_.size() + 1) + " ('" + printable(column.name) + "')";
        if (column.name.empty()) damaged(which + " has no name");
        if (column.width == 0) damaged(which + " has width 0");
        switch (column.type) {
            case 'C': column.decimals = 0; column.fieldType = TFieldType::ftString; break;
            case 'N':
            case 'F':
                if (column.decimals > 0 && column.decimals >= column.width)
                    damaged(which + " has " + std::to_string(column.decimals) + " decimals in a width of " +
                            std::to_string(column.width));
                if (column.type == 'F' || column.decimals > 0 || column.width > 18)
                    column.fieldType = options.enableBcd && column.type == 'N' && column.decimals <= 4 &&
                                               column.width <= 19
                                           ? TFieldType::ftBCD
                                           : TFieldType::ftFloat;
                else
                    column.fieldType = column.width <= 9 ? TFieldType::ftInteger : TFieldType::ftLargeint;
                break;
            case 'L':
                if (column.width != 1) damaged(which + " is logical but " + std::to_string(column.width) + " wide");
                column.fieldType = TFieldType::ftBoolean;
                break;
            case 'D':
                if (column.width != 8) damaged(which + " is a date but " + std::to_string(column.width) + " wide");
                column.fieldType = TFieldType::ftDate;
                break;
            case 'M':
                if (column.width != 10 && column.width != 4)
                    damaged(which + " is a memo but " + std::to_string(column.width) + " wide");
                column.fieldType = TFieldType::ftMemo;
                hasMemoColumns_ = true;
                break;
            default:
                throw EDatabaseError("Table " + shownPath(path_) + ": " + which + " has type '" +
                                     printable(std::string(1, column.type)) + "', which cannot be read");
        }
        offset += column.width;
        columns_.push_back(std::move(column));
    }
    if (columns_.empty()) damaged("it has no columns");
    if (1 + offset > recordLength_)
        damaged("its columns need " + std::to_string(1 + offset) + " bytes per record but records are " +
                std::to_string(recordLength_) + " bytes long (field descriptors past the header?)");
    if (recordCount_ > INT_MAX) damaged("it announces " + std::to_string(recordCount_) + " records");
    const std::uint64_t needed = static_cast<std::uint64_t>(headerLength_) +
                                 static_cast<std::uint64_t>(recordCount_) * static_cast<std::uint64_t>(recordLength_);
    if (needed > fileSize)
        damaged("its header announces " + std::to_string(recordCount_) + " records of " + std::to_string(recordLength_) +
                " bytes (" + std::to_string(needed) + " bytes with the header) but the file has " +
                std::to_string(fileSize) + " bytes");
    // The header's count is the authority (writers that append records update it last), but
    // records past it are worth a word: a writer that stopped halfway leaves them.
    uncountedRecords_ = static_cast<std::int64_t>((fileSize - needed) / static_cast<std::uint64_t>(recordLength_));
}

std::vector<TFieldDef> DbfReader::fieldDefs() const {
    std::vector<TFieldDef> defs;
    for (const DbfColumn& column : columns_) {
        TFieldDef def{column.name, column.fieldType, 0, 0, {}};
        if (column.fieldType == TFieldType::ftString) def.size = column.width;
        if (column.fieldType == TFieldType::ftBCD) {
            def.size = column.decimals;
            def.precision = column.width;
        }
        if (column.fieldType == TFieldType::ftFloat) def.precision = column.width;
        defs.push_back(std::move(def));
    }
    return defs;
}

void DbfReader::load(std::int64_t index) {
    if (index < 0 || index >= recordCount_)
        throw EDatabaseError("Record " + std::to_string(index + 1) + " does not exist in table " + shownPath(path_));
    const char* record = DBFReadTuple(static_cast<DBFHandle>(handle_), static_cast<int>(index));
    if (!record)
        throw EDatabaseError("Cannot read record " + std::to_string(index + 1) + " of table " + shownPath(path_) +
                             " (the file is shorter than its header says, or was changed while open)");
    record_ = record;
    loaded_ = index;
}

bool DbfReader::deleted() const { return record_ && record_[0] == '*'; }

void DbfReader::badValue(const DbfColumn& column, const std::string& problem) const {
    throw EDatabaseError("Table " + shownPath(path_) + ", record " + std::to_string(loaded_ + 1) + ", column " +
                         column.name + ": " + problem);
}

Variant DbfReader::value(int index) const {
    if (!record_) throw EDatabaseError("No record of table " + shownPath(path_) + " has been read");
    const DbfColumn& column = columns_.at(static_cast<std::size_t>(index));
    const std::string_view raw(record_ + 1 + column.offset, static_cast<std::size_t>(column.width));
    switch (column.type) {
        case 'C': {
            std::string_view text = raw;
            while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
            return Variant(codePage_.toUtf8(text));
        }
        case 'N':
        case 'F': return number(column, trimmed(raw));
        case 'L':
            switch (raw[0]) {
                case 'T': case 't': case 'Y': case 'y': return Variant(true);
                case 'F': case 'f': case 'N': case 'n': return Variant(false);
                case '?': case ' ': case '\0': return Variant::null();
                default: badValue(column, "'" + printable(raw) + "' is not a logical value");
            }
        case 'D': {
            const std::string_view text = trimmed(raw);
            if (text.empty() || text == "00000000") return Variant::null();
            int year = 0, month = 0, day = 0;
            bool digits = text.size() == 8;
            for (char c : text) digits = digits && c >= '0' && c <= '9';
            if (digits) {
                std::from_chars(text.data(), text.data() + 4, year);
                std::from_chars(text.data() + 4, text.data() + 6, month);
                std::from_chars(text.data() + 6, text.data() + 8, day);
            }
            if (!digits || !isValidDate(year, month, day)) badValue(column, "'" + printable(raw) + "' is not a valid date");
            return Variant(automation::Date::fromYmd(year, month, day));
        }
        case 'M': return memo(column, raw);
        default: break;
    }
    return Variant::null();
}

Variant DbfReader::number(const DbfColumn& column, std::string_view text) const {
    if (text.empty()) return Variant::null();
    if (text.find_first_not_of('*') == std::string_view::npos)
        badValue(column, "the value did not fit its width when it was written ('" + std::string(text) + "')");
    std::string_view digits = text;
    if (digits.front() == '+') digits.remove_prefix(1);
    const char* end = digits.data() + digits.size();
    if (column.fieldType == TFieldType::ftInteger || column.fieldType == TFieldType::ftLargeint) {
        std::int64_t value = 0;
        auto [ptr, error] = std::from_chars(digits.data(), end, value);
        if (error != std::errc() || ptr != end) {
            // Some writers put "12.0" in a column without decimals: accept it when it is whole.
            double real = 0;
            auto [p2, e2] = std::from_chars(digits.data(), end, real);
            if (e2 != std::errc() || p2 != end || real != std::trunc(real) || std::fabs(real) > 9.0e18)
                badValue(column, "'" + printable(text) + "' is not a whole number");
            value = static_cast<std::int64_t>(real);
        }
        if (column.fieldType == TFieldType::ftInteger) {
            if (value < INT32_MIN || value > INT32_MAX) badValue(column, std::string(text) + " does not fit 32 bits");
            return Variant(static_cast<std::int32_t>(value));
        }
        return Variant(value);
    }
    double value = 0;
    auto [ptr, error] = std::from_chars(digits.data(), end, value);
    if (error != std::errc() || ptr != end || !std::isfinite(value))
        badValue(column, "'" + printable(text) + "' is not a number");
    if (column.fieldType == TFieldType::ftBCD) {
        if (std::fabs(value) >= 9.0e14) badValue(column, std::string(text) + " is too large for a BCD value");
        return Variant(automation::Currency::fromDouble(value));
    }
    return Variant(value);
}

std::optional<std::uint32_t> DbfReader::memoBlock(std::string_view raw) {
    if (raw.size() == 4) return le32(reinterpret_cast<const unsigned char*>(raw.data()));
    const std::string_view text = trimmed(raw);
    if (text.empty()) return 0;
    std::uint32_t block = 0;
    auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), block);
    if (error != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return block;
}

Variant DbfReader::memo(const DbfColumn& column, std::string_view raw) const {
    const std::optional<std::uint32_t> block = memoBlock(raw);
    if (!block) badValue(column, "'" + printable(raw) + "' is not a memo block number");
    if (*block == 0 || !memo_) return Variant::null();
    try {
        return Variant(codePage_.toUtf8(memo_->read(*block)));
    } catch (const EDatabaseError& error) {
        badValue(column, error.what());
    }
}

}  // namespace tabulix::data
