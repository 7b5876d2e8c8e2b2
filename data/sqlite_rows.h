#pragma once
// The rows of an open TSQLiteQuery, in one of its two modes: read from the database as the cursor
// moves (ForwardRows), or every row read at open and kept in memory (KeptRows). Used by
// TSQLiteQuery; not part of the library's interface.

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
    // A key for the current row that gotoBookmark takes back.
    virtual std::int64_t bookmark() = 0;
    virtual void gotoBookmark(std::int64_t key) = 0;
    virtual std::int64_t count() = 0;
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
// when it is already known (the statement was stepped to its end while opening).
std::unique_ptr<SQLiteRows> forwardRows(std::unique_ptr<SQLiteCursor> cursor, SQLiteRowCounter counter,
                                        std::vector<bool> blobColumns, std::optional<std::int64_t> knownCount);
// Reads every row through `cursor` at once; the rows need neither the cursor nor the database
// afterwards. `displayName` names the query in errors.
std::unique_ptr<SQLiteRows> keptRows(SQLiteCursor& cursor, const std::vector<bool>& blobColumns,
                                     const std::string& displayName);

}  // namespace tabulix::data
