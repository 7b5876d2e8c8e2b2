#pragma once
// DbfReader: reads a dBASE III/IV (also FoxBASE/FoxPro) table record by record through
// shapelib, never holding more than one record in memory.
//
// shapelib trusts the file's header, so the header is checked first: its record count and
// record length must fit the file's size, the field descriptors must lie inside the header and
// fit the record. A file that fails is refused with an error naming the file and the problem.
// Values are decoded here, from the record's bytes: texts converted to UTF-8 from the table's
// code page, blank numbers, dates and logicals as Null, memo texts from the .dbt/.fpt file.
//
// The code page is the one the caller names, else the table's .cpg file, else its
// language-driver byte. A table that declares none is read as UTF-8 when its texts (character
// columns and memos) are valid UTF-8 and hold at least one multi-byte character, else as
// Windows-1252: many writers store UTF-8 without saying so, and 8-bit text is almost never
// valid UTF-8 by chance.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/code_page.h"
#include "data/field_type.h"

namespace tabulix::data {

struct DbfColumn {
    std::string name;  // UTF-8
    char type = 'C';   // C N F L D M
    int width = 0;
    int decimals = 0;
    int offset = 0;  // in the record, after the deletion flag
    TFieldType fieldType = TFieldType::ftString;
};

struct DbfOptions {
    // Numeric columns with decimals become BCD columns (four decimals at most) instead of
    // floating point ones, as the database parameter "ENABLE BCD=TRUE" asks.
    bool enableBcd = false;
    // The code page of the table's texts; 0 means the one the table declares (or detected).
    int codePage = 0;
    // A table with memo columns whose memo file is missing is refused unless this is set; the
    // memo values are then Null.
    bool ignoreMissingMemoFile = false;
};

class MemoFile;

class DbfReader {
public:
    // Raises EDatabaseError naming the file when it cannot be opened or its header is damaged.
    explicit DbfReader(const std::filesystem::path& file, DbfOptions options = {});
    ~DbfReader();
    DbfReader(const DbfReader&) = delete;
    DbfReader& operator=(const DbfReader&) = delete;

    const std::filesystem::path& path() const { return path_; }
    const std::vector<DbfColumn>& columns() const { return columns_; }
    std::vector<TFieldDef> fieldDefs() const;
    // Records in the file, deleted ones included.
    std::int64_t recordCount() const { return recordCount_; }
    int codePage() const { return codePage_.number(); }
    // Where the code page came from, for a trace: "from its .cpg file", "UTF-8 detected", ...
    const std::string& codePageOrigin() const { return codePageOrigin_; }
    // Whether the table has memo columns but no memo file (their values are then Null).
    bool memoFileMissing() const { return hasMemoColumns_ && !memo_; }
    bool hasMemoFile() const { return memo_ != nullptr; }
    // The memo file: the one open, else the one a table with memo columns would need.
    std::filesystem::path memoPath() const;
    // Whole records the file holds after the ones its header counts (never read).
    std::int64_t uncountedRecords() const { return uncountedRecords_; }

    // Reads record `index` (0-based, in file order). Raises when it cannot be read.
    void load(std::int64_t index);
    std::int64_t loaded() const { return loaded_; }
    bool deleted() const;
    // The value of `column` in the loaded record. Raises, naming file, record and column, for
    // a value that is not what its column type allows (a date such as 20230230, a number such
    // as "12x").
    automation::Variant value(int column) const;

private:
    [[noreturn]] void damaged(const std::string& problem) const;
    [[noreturn]] void badValue(const DbfColumn& column, const std::string& problem) const;
    void readHeader(DbfOptions options);
    void openMemoFile(bool ignoreMissing);
    void chooseCodePage(int requested);
    bool textsLookLikeUtf8() const;
    bool isFoxPro() const;
    // The block number a memo column holds (0 for none); nothing when it is not a number.
    static std::optional<std::uint32_t> memoBlock(std::string_view raw);
    automation::Variant number(const DbfColumn& column, std::string_view text) const;
    automation::Variant memo(const DbfColumn& column, std::string_view raw) const;

    std::filesystem::path path_;
    std::vector<DbfColumn> columns_;
    std::int64_t recordCount_ = 0;
    int headerLength_ = 0;
    int recordLength_ = 0;
    std::uint8_t version_ = 0;
    std::uint8_t languageDriver_ = 0;
    CodePage codePage_{CodePage::kWindows1252};
    std::string codePageOrigin_;
    std::int64_t uncountedRecords_ = 0;
    bool hasMemoColumns_ = false;
    void* handle_ = nullptr;  // shapelib's DBFHandle, kept out of this header
    const char* record_ = nullptr;
    std::int64_t loaded_ = -1;
    std::unique_ptr<MemoFile> memo_;
};

}  // namespace tabulix::data
