#pragma once
// The rows of an open TSQLiteQuery, in one of its two modes: read from the database as the cursor
// moves (forwardRows, keeping the forward-reading contract of data/data_set.h on the cursor's
// snapshot), or every row read at open and kept in memory (keptRows). Used by TSQLiteQuery; not
// part of the library's interface.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/sqlite_cursor.h"

namespace tabulix::data {

class SQLiteRows {
public:
    virtual ~SQLiteRows() = default;

    // Moves to the first row; false when there is none.
    virtual bool first() = 0;
    // Moves to the next row; false (staying on the current row) when there is none.
    virtual bool next() = 0;
    // The 0-based current row, -1 before the first.
    virtual std::int64_t row() const = 0;
    // A key for the current row that gotoBookmark takes back, until freeBookmark.
    virtual std::int64_t bookmark() = 0;
    virtual void gotoBookmark(std::int64_t key) = 0;
    virtual void freeBookmark(std::int64_t key) = 0;
    // The number of rows, counted if need be; and the number when it is known without counting.
    virtual std::int64_t count() = 0;
    virtual std::optional<std::int64_t> knownCount() = 0;
    // The value of `column` in the current row as stored (see SQLiteCursor::value).
    virtual automation::Variant value(int column) = 0;
};

// Counts the rows of a query: a `SELECT count(*)` around it, or, for a statement that cannot be
// put inside another one (a PRAGMA), a second copy of it that is stepped to its end.
struct SQLiteRowCounter {
    SQLiteStatement statement;  // parameters bound
    bool countsItself = true;   // true: the statement's one value is the count
};

// `blobColumns[c]`: column c keeps its BLOB values as bytes. `knownCount`: the number of rows
// when it is already known (the statement was stepped to its end while opening). The counter is
// run at most once, on the cursor's snapshot, and only when the count is asked before a walk
// has passed the last row.
std::unique_ptr<SQLiteRows> forwardRows(std::unique_ptr<SQLiteCursor> cursor, SQLiteRowCounter counter,
                                        std::vector<bool> blobColumns, std::optional<std::int64_t> knownCount);
// Reads every row through `cursor` at once; the rows need neither the cursor nor the database
// afterwards. `displayName` names the query in errors.
std::unique_ptr<SQLiteRows> keptRows(SQLiteCursor& cursor, const std::vector<bool>& blobColumns,
                                     const std::string& displayName);

}  // namespace tabulix::data
