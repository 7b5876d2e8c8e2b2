#pragma once
/// @file
/// TSQLiteQuery: the rows of one SQL statement on an SQLite database file, as a data set.
///
///     object Consulta: TSQLiteQuery
///       FileName = 'ventas.sqlite'
///       SQL.Strings = ( 'SELECT * FROM articulos' 'WHERE familia = :familia' )
///     end
///
/// A relative FileName is taken from the base folder (the form file's folder, set with
/// SetBaseFolder), else from the working folder. Parameters (":name", "@name", "$name" or "?")
/// are given from code with SetParam before Open; a parameter without a value fails the open.
/// The database is opened read-only.
///
/// Rows are read from the database as the cursor moves, so a query of any size takes little
/// memory while it is walked, as a transfer does. The query keeps the forward-reading contract of
/// data/data_set.h: Open begins a read transaction before it prepares the statement, and every
/// run, count and bookmark reads that one state of the database until Close. In WAL mode other
/// connections commit meanwhile, unseen until the next Open (the WAL file cannot be checkpointed
/// past that state while the query is open); in rollback-journal mode they cannot commit while
/// the query is open. RecordCount counts with "SELECT count(*)" around the statement on the same
/// state (a PRAGMA by stepping a copy of it), once per opening, or takes the count from a walk
/// that passed the last row; KnownRecordCount never counts. A bookmark keeps a copy of its row:
/// going back to it runs nothing; going on from it (Next) runs the statement again up to its row,
/// and so does reading the last row again after a move past it. A statement whose rows differ
/// from run to run (random(), randomblob(), 'now') raises then rather than show another row.
/// Open runs the statement once and stays on its first row; it runs it a second time only when a
/// column without a declared type is null in the first row (see below).
/// KeepRowsInMemory (published, default false) reads every row at Open and keeps it in memory
/// instead: the file is not held open (nor locked) after Open, and walking again or going on from
/// a bookmark runs nothing, so varying statements walk the same rows each time; memory grows with
/// the rows (a few hundred bytes per row of ten columns).
///
/// Field classes come from the declared column types, by the words they contain (as SQLite
/// itself reads them): INT -> TLargeintField; CHAR, CLOB, TEXT -> TStringField (size from
/// "(n)"); REAL, FLOA, DOUB, NUMERIC, DECIMAL -> TFloatField; MONEY, CURRENCY -> TCurrencyField;
/// BOOL -> TBooleanField; DATETIME, TIMESTAMP -> TDateTimeField; DATE -> TDateField; TIME ->
/// TTimeField; BLOB -> TBlobField. A column without a declared type (an expression) or with an
/// unknown one takes its class from the storage class of its first non-null value (Open reads
/// ahead as far as it must to find it).
/// Texts that are not valid UTF-8 are read with U+FFFD in place of each bad byte; BLOB values
/// keep their bytes only in BLOB columns (a TBlobField shows a description, never the bytes).
/// Dates are read from ISO text ("2024-03-01", "2024-03-01 10:30:00"), Unix seconds (integer) or
/// Julian day numbers (real); Booleans from 0/1 or true/false texts. A value that its column type
/// cannot hold raises when it is read, naming query, row and column.
///
/// Thread rule: one thread at a time (data/data_set.h). Queries on several threads may read the
/// same database file at once: each has its own connection.

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/data_set.h"
#include "framework/export.h"
#include "framework/string_list.h"

namespace tabulix::data {

class SQLiteRows;

/// @brief The rows of one SQL statement on an SQLite database file, as a data set; the file
/// comment tells how it reads them.
/// @threads As TDataSet.
class TABULIX_API TSQLiteQuery : public TDataSet {
public:
    /// Makes a closed query.
    /// @param owner frees it with itself, or nullptr.
    explicit TSQLiteQuery(framework::TComponent* owner = nullptr);
    /// Closes the query.
    ~TSQLiteQuery() override;

    std::string ClassName() const override { return "TSQLiteQuery"; }
    void DefineProperties(framework::PropertyList& properties) override;

    /// The database file.
    const std::string& FileName() const { return fileName_; }
    /// Sets the database file; a relative name counts from BaseFolder.
    /// @param name the file.
    /// @throws EDatabaseError while open.
    void SetFileName(const std::string& name);
    /// The statement, one line per list line; change it while closed.
    framework::TStringList& SQL() { return sql_; }
    /// The folder a relative FileName counts from; empty for the working folder.
    const std::filesystem::path& BaseFolder() const { return baseFolder_; }
    /// Sets the folder a relative FileName counts from.
    /// @param folder the folder.
    void SetBaseFolder(const std::filesystem::path& folder) { baseFolder_ = folder; }

    /// Gives a named parameter (":name", "@name" or "$name") its value for the next Open.
    /// @param name the name without its prefix character, letter case ignored.
    /// @param value the value.
    void SetParam(const std::string& name, const automation::Variant& value);
    /// Gives a parameter its value for the next Open, by position.
    /// @param position from 1, as SQLite numbers them.
    /// @param value the value.
    /// @throws EDatabaseError for a position below 1.
    void SetParam(int position, const automation::Variant& value);
    /// Forgets every parameter's value.
    void ClearParams();

    /// Whether Open reads every row and keeps it in memory.
    bool KeepRowsInMemory() const { return keepRowsInMemory_; }
    /// Reads every row at Open and keeps it in memory (the rows stay as they were, the file is not
    /// held open), or reads them as the cursor moves.
    /// @param value true to keep the rows.
    /// @throws EDatabaseError while open.
    void SetKeepRowsInMemory(bool value);

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
    std::optional<std::int64_t> InternalKnownRecordCount() override;
    automation::Variant InternalValue(int column) const override;
    std::string SourceDescription() const override;

private:
    std::filesystem::path resolvedPath() const;
    [[noreturn]] void badValue(int column, const std::string& problem) const;

    std::string fileName_;
    framework::TStringList sql_;
    std::filesystem::path baseFolder_;
    std::map<std::string, automation::Variant> namedParams_;  // upper-cased names
    std::map<int, automation::Variant> positionalParams_;
    bool keepRowsInMemory_ = false;

    std::vector<TFieldDef> columns_;
    std::unique_ptr<SQLiteRows> rows_;  // while open
};

}  // namespace tabulix::data
