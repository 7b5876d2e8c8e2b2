#pragma once
/// @file
/// TCsvTable: the records of a CSV file (delimited text, RFC 4180 quoting) as a data set.
///
///     object Ventas: TCsvTable
///       FileName = 'ventas.csv'
///       Delimiter = ';'
///       CodePage = 1252
///       DecimalSeparator = ','
///       DateOrder = 'DMY'
///       object VentasCODIGO: TStringField FieldName = 'CODIGO' end   (optional: declares a type)
///     end
///
/// A relative FileName is taken from the base folder (the form file's folder, set with
/// SetBaseFolder), else from the working folder. The first line names the columns (HeaderLine,
/// default true; without it the columns are COLUMN1, COLUMN2, ...). Empty lines are skipped in a
/// file of several columns.
///
/// Published besides (each refused while open):
///   Delimiter         one character, or TAB; empty (the default): the one of , ; TAB | that the
///                     first line holds most often outside quotes.
///   CodePage          the code page of the file's texts; 0 (the default): UTF-8 when the file
///                     begins with its byte-order mark or its first 64 KiB are well-formed UTF-8,
///                     else Windows-1252. Bytes that are not text in the page read as U+FFFD.
///   DecimalSeparator  '.' or ','; empty (the default): each column's own, from its values.
///   DateOrder         'DMY', 'MDY' or 'YMD' for dates such as 01/03/2024; ISO dates are always
///                     read; empty (the default): ISO dates only.
/// The type of a column is the class of the persistent field of its name when the form declares
/// one; otherwise it is worked out from the column's values in the first 1,000 records (whole
/// numbers, decimal numbers, Booleans, dates, date-times, times, else text). A value that its column's type cannot hold raises when it is read, naming the
/// file, line and column; so does a damaged record (a quote that never closes, text after a
/// closing quote, more or fewer values than the header names), as soon as it is read.
///
/// Records are read from the file as the cursor moves, a few at a time, so a file of any size
/// takes little memory. A plain file gives no snapshot: the file is read in place, and a table
/// that finds its file changed (size or modification time) when it goes back to an earlier
/// record raises rather than mix two versions. A bookmark keeps a copy of its record and the place
/// after it, so going back runs nothing and going on reads on from there. RecordCount (and
/// KnownRecordCount, a local file's count) passes over the file once per opening to count the
/// records, unless a walk has already passed the last one.
///
/// Thread rule: one thread at a time (data/data_set.h). Tables on several threads may read the
/// same file at once: each has its own reader.

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "framework/export.h"

namespace tabulix::data {

class CodePage;
class CsvReader;
struct CsvColumnFormat;
struct CsvPosition;
struct CsvSyntaxError;
enum class CsvDateOrder;

/// @brief The records of a CSV file as a data set; the file comment tells how it reads them.
/// @threads As TDataSet.
class TABULIX_API TCsvTable : public TDataSet {
public:
    /// Makes a closed table.
    /// @param owner frees it with itself, or nullptr.
    explicit TCsvTable(framework::TComponent* owner = nullptr);
    /// Closes the table.
    ~TCsvTable() override;

    std::string ClassName() const override { return "TCsvTable"; }
    void DefineProperties(framework::PropertyList& properties) override;

    /// The CSV file's name, as given.
    const std::string& FileName() const { return fileName_; }
    /// Sets the CSV file; a relative name is taken from BaseFolder, else the working folder.
    /// @param name the file's name.
    /// @throws EDatabaseError while open.
    void SetFileName(const std::string& name);
    /// The folder a relative FileName is taken from (empty: the working folder).
    const std::filesystem::path& BaseFolder() const { return baseFolder_; }
    /// Sets the folder a relative FileName is taken from (a form file's folder, see SetBaseFolders).
    /// @param folder the folder.
    void SetBaseFolder(const std::filesystem::path& folder) { baseFolder_ = folder; }

    /// The delimiter asked for: empty to detect it, "TAB" or "\t" for a tab.
    const std::string& RequestedDelimiter() const { return delimiter_; }
    /// Sets the delimiter asked for.
    /// @param delimiter one character, "TAB" or "\t", or empty to detect it.
    /// @throws EDatabaseError while open, and when it is not one character other than a quote or
    ///   a line break.
    void SetDelimiter(const std::string& delimiter);
    /// The code page asked for (0: detected).
    int RequestedCodePage() const { return requestedCodePage_; }
    /// Sets the code page of the file's texts.
    /// @param page 1252, 850, 65001 (UTF-8), ..., or 0 to detect it.
    /// @throws EDatabaseError while open, or for a page it cannot read.
    void SetCodePage(int page);
    /// Whether the first line names the columns (default true).
    bool HeaderLine() const { return headerLine_; }
    /// Sets whether the first line names the columns; without it they are COLUMN1, COLUMN2, ...
    /// @param value true when the first line holds the names.
    /// @throws EDatabaseError while open.
    void SetHeaderLine(bool value);
    /// The decimal separator asked for: ".", ",", or empty for each column's own.
    const std::string& DecimalSeparator() const { return decimalSeparator_; }
    /// Sets the decimal separator of the file's numbers.
    /// @param separator ".", ",", or empty to work it out per column from its values.
    /// @throws EDatabaseError while open, or for any other text.
    void SetDecimalSeparator(const std::string& separator);
    /// The order of day, month and year asked for: "DMY", "MDY", "YMD", or empty.
    const std::string& DateOrder() const { return dateOrder_; }
    /// Sets how dates such as 01/03/2024 are read (ISO dates are always read).
    /// @param order "DMY", "MDY", "YMD", or empty for ISO dates only.
    /// @throws EDatabaseError while open, or for any other text.
    void SetDateOrder(const std::string& order);

    /// While open: the delimiter in use.
    char Delimiter() const { return activeDelimiter_; }
    /// While open: where the delimiter came from ("declared", "detected: ...").
    std::string DelimiterOrigin() const { return delimiterOrigin_; }
    /// While open: the code page the texts are read in; the one asked for while closed.
    int CodePage() const;
    /// While open: where the code page came from ("declared", "detected: ...").
    std::string CodePageOrigin() const { return codePageOrigin_; }
    std::vector<std::filesystem::path> SourceFiles() const override;

protected:
    std::vector<TFieldDef> InternalOpen() override;
    void InternalClose() override;
    bool InternalFirst() override;
    bool InternalNext() override;
    std::int64_t InternalKey() const override;
    void InternalGotoKey(std::int64_t key) override;
    void InternalFreeKey(std::int64_t key) override;
    std::int64_t InternalRecordCount() override;
    std::optional<std::int64_t> InternalKnownRecordCount() override { return InternalRecordCount(); }
    automation::Variant InternalValue(int column) const override;
    std::string SourceDescription() const override;

private:
    struct Saved {
        std::vector<std::string> values;
        std::int64_t index;
        std::int64_t line;
        std::int64_t nextOffset;
        std::int64_t nextLine;
    };

    std::filesystem::path resolvedPath() const;
    // Reads the next record that holds values into `values` (UTF-8), checking its width.
    bool readRecord(CsvReader& reader, std::vector<std::string>& values) const;
    // Moves to the record after the current one, on from wherever the reader must continue.
    bool advance();
    void checkUnchanged() const;
    [[noreturn]] void syntaxFailed(const CsvSyntaxError& error) const;
    std::vector<TFieldDef> describeColumns(const std::vector<std::string>& names);

    std::string fileName_;
    std::filesystem::path baseFolder_;
    std::string delimiter_;
    int requestedCodePage_ = 0;
    bool headerLine_ = true;
    std::string decimalSeparator_;
    std::string dateOrder_;

    // While open.
    std::filesystem::path path_;
    std::string where_;
    char activeDelimiter_ = ',';
    std::string delimiterOrigin_;
    std::string codePageOrigin_;
    std::unique_ptr<class CodePage> codePage_;
    std::unique_ptr<CsvReader> reader_;
    std::vector<TFieldDef> columns_;
    std::vector<CsvColumnFormat> formats_;
    CsvDateOrder order_{};
    std::int64_t dataOffset_ = 0, dataLine_ = 1;
    std::uintmax_t fileSize_ = 0;
    std::filesystem::file_time_type modified_{};
    std::vector<std::string> current_, scratch_;
    std::int64_t index_ = -1;  // 0-based record, -1 before the first
    std::int64_t line_ = 0;    // the line the current record begins on
    std::optional<std::int64_t> resumeOffset_, resumeLine_;  // where to read on after a bookmark
    std::optional<std::int64_t> count_;
    mutable std::map<std::int64_t, Saved> saved_;
    mutable std::int64_t nextKey_ = 1;
};

}  // namespace tabulix::data
