#pragma once
// SQLiteCursor: one prepared statement on a read-only SQLite connection whose read transaction
// (the snapshot every run reads) was begun before the statement was prepared, walked forward a
// row at a time. It knows which row of the current run the statement holds and goes back by
// running the statement again from its start. Used by TSQLiteQuery; not part of the library's
// interface.

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>

#include "automation/variant.h"

namespace tabulix::data {

struct SQLiteCloser {
    // Closing also ends the read transaction.
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct SQLiteFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SQLiteDatabase = std::unique_ptr<sqlite3, SQLiteCloser>;
using SQLiteStatement = std::unique_ptr<sqlite3_stmt, SQLiteFinalizer>;

// SQLite's message for the last failure on `db`, escaped and shortened for a message of ours.
std::string sqliteMessage(sqlite3* db);

// Begins the read transaction that pins the database's state for as long as `db` stays open.
// In WAL mode others keep committing and this connection keeps reading the state it began
// with; in rollback-journal mode others cannot commit until it closes. Raises, after `where`.
void beginSnapshot(sqlite3* db, const std::string& where);

class SQLiteCursor {
public:
    // `where` begins every error message ("Query Consulta on /data/shop.sqlite"). The statement
    // must belong to `db` and have its parameters bound.
    SQLiteCursor(SQLiteDatabase db, SQLiteStatement statement, std::string where);
    SQLiteCursor(const SQLiteCursor&) = delete;
    SQLiteCursor& operator=(const SQLiteCursor&) = delete;

    sqlite3* database() const { return db_.get(); }
    sqlite3_stmt* statement() const { return statement_.get(); }
    const std::string& where() const { return where_; }

    // Runs the statement from its start and moves to its first row; false when it has none.
    bool restart();
    // Moves to the first row, running the statement again unless it already holds that row.
    bool first() { return holds(0) || restart(); }
    // Moves to the next row of the current run. At the end it returns false and the statement
    // holds no row any more (row() stays the last one). Raises the database's error.
    bool step();
    // Moves to row `target`: forward within the current run, else by running the statement
    // again. False when the rows end before it.
    bool seek(std::int64_t target);
    // Stops the current run: the statement holds no row until the next restart.
    void forget();

    // The 0-based row of the current run the statement holds or last held; -1 before the first.
    std::int64_t row() const { return row_; }
    bool holds(std::int64_t target) const { return onRow_ && row_ == target; }

    // The value of `column` in the current row as SQLite stores it: Null, a whole number, a
    // real, or a text made valid UTF-8. BLOB bytes are kept as bytes only with `keepBytes`
    // (BLOB columns, whose fields never show them); otherwise they are read as text too.
    automation::Variant value(int column, bool keepBytes) const;
    // A hash of the current row's storage classes and bytes, to recognise the row in another run.
    std::uint64_t fingerprint() const;

private:
    [[noreturn]] void fail() const;

    SQLiteDatabase db_;  // first: the statement is finalised before it closes
    SQLiteStatement statement_;
    std::string where_;
    std::int64_t row_ = -1;
    bool onRow_ = false;
};

}  // namespace tabulix::data
