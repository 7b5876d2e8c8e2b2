#pragma once
/// @file
/// TTable: a dBASE table as a data set.
///
///     object Taula: TTable
///       DatabaseName = 'DB'
///       TableName = 'Demo.DBF'
///       object TaulaCOD_ARTI: TStringField ... end      (persistent fields, optional)
///     end
///
/// DatabaseName names a TDatabase (see TDatabase::Find: first among the table's siblings, then
/// the session's databases), which is connected on demand; when no database has that name, a
/// DatabaseName that is an existing folder is used as the folder itself. The file is the folder
/// joined with TableName (".dbf" added when the name has no extension), found ignoring letter
/// case. Records are read one at a time as the cursor moves; deleted records are skipped and
/// RecNo counts the records that are not deleted.
///
/// Published besides: CodePage (the code page of the table's texts, 0 = the one the file
/// declares, or detected; see DbfReader) and IgnoreMissingMemoFile (read a table whose memo file
/// is missing, its memos as Null, instead of refusing it). Records past the count the header
/// gives are not read; Open says so in Warnings.
///
/// The file is read in place, without a snapshot: dBASE files have no transactions, so a program
/// that rewrites the file while the table is open is not kept out. Bookmarks keep the record's
/// position in the file; counting passes over the records' deletion marks once per opening.
///
/// Thread rule: one thread at a time (data/data_set.h). Tables on several threads may read the
/// same file at once: each has its own reader.

#include <filesystem>
#include <memory>
#include <string>

#include "data/data_set.h"
#include "framework/export.h"

namespace tabulix::data {

class DbfReader;
class TDatabase;

/// @brief A dBASE table as a data set; the file comment tells how it finds its file.
/// @threads As TDataSet.
class TABULIX_API TTable : public TDataSet {
public:
    /// Makes a closed table.
    /// @param owner frees it with itself, or nullptr.
    explicit TTable(framework::TComponent* owner = nullptr);
    /// Closes the table.
    ~TTable() override;

    std::string ClassName() const override { return "TTable"; }
    void DefineProperties(framework::PropertyList& properties) override;

    /// The database (or folder) the table is in.
    const std::string& DatabaseName() const { return databaseName_; }
    /// Sets the database: a TDatabase's DatabaseName, or a folder.
    /// @param name the name.
    /// @throws EDatabaseError while open.
    void SetDatabaseName(const std::string& name);
    /// The table's file name in its folder.
    const std::string& TableName() const { return tableName_; }
    /// Sets the table's file name (".dbf" is added when it has no extension).
    /// @param name the name.
    /// @throws EDatabaseError while open.
    void SetTableName(const std::string& name);

    /// The code page asked for (0: as the file declares). Refused while open.
    int RequestedCodePage() const { return requestedCodePage_; }
    /// Sets the code page of the table's texts: 1252, 850, 65001 (UTF-8), ..., or 0 for the one the
    /// file declares (detected when it declares none).
    /// @param page the code page.
    /// @throws EDatabaseError while open, or for a negative number.
    void SetCodePage(int page);
    /// Whether a table whose memo file is missing is read with its memos as Null.
    bool IgnoreMissingMemoFile() const { return ignoreMissingMemoFile_; }
    /// Reads a table whose memo file is missing, its memos as Null, instead of refusing it.
    /// @param value true to read it.
    /// @throws EDatabaseError while open.
    void SetIgnoreMissingMemoFile(bool value);

    /// While open: the file being read, the code page its texts are read in (when closed, the
    /// one asked for) and where that page came from, and the database it was opened through
    /// (null when DatabaseName named a folder).
    const std::filesystem::path& FileName() const { return file_; }
    /// The code page the texts are read in while open; the one asked for while closed.
    int CodePage() const;
    /// Where the code page came from: asked for, declared by the file, or detected.
    std::string CodePageOrigin() const;
    /// The database the table was opened through; nullptr when DatabaseName named a folder.
    TDatabase* Database() const { return database_; }
    std::vector<std::filesystem::path> SourceFiles() const override;

protected:
    std::vector<TFieldDef> InternalOpen() override;
    void InternalClose() override;
    bool InternalFirst() override;
    bool InternalNext() override;
    std::int64_t InternalKey() const override { return current_; }
    void InternalGotoKey(std::int64_t key) override;
    std::int64_t InternalRecordCount() override;
    std::optional<std::int64_t> InternalKnownRecordCount() override { return InternalRecordCount(); }
    automation::Variant InternalValue(int column) const override;
    std::string SourceDescription() const override;
    void Notification(framework::TComponent* component, framework::TOperation operation) override;

private:
    // Loads the first record at or after `from` that is not deleted; restores the current
    // record and returns false when there is none.
    bool seekLive(std::int64_t from);

    std::string databaseName_;
    std::string tableName_;
    int requestedCodePage_ = 0;
    bool ignoreMissingMemoFile_ = false;
    std::unique_ptr<DbfReader> reader_;
    std::filesystem::path file_;
    TDatabase* database_ = nullptr;  // borrowed while open; it closes this table before it goes
    std::int64_t current_ = -1;
    std::int64_t liveCount_ = -1;  // records not deleted, counted on first request
};

}  // namespace tabulix::data
