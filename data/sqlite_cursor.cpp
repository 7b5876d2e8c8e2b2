#include "data/sqlite_cursor.h"

#include <bit>
#include <functional>
#include <string_view>

#include "data/data_error.h"
#include "data/shown_text.h"
#include "framework/utf8_text.h"

namespace tabulix::data {

using automation::Variant;

namespace {

// Folds values into one 64-bit hash; bytes go through the standard library's string hash, which
// takes them a word at a time (a row is hashed each time the walk leaves it).
class Hash {
public:
    void add(std::uint64_t number) { value_ = (value_ ^ number) * 0x100000001b3ULL + (value_ >> 29); }
    void add(std::string_view bytes) {
        add(bytes.size());
        add(static_cast<std::uint64_t>(std::hash<std::string_view>{}(bytes)));
    }
    std::uint64_t value() const { return value_; }

private:
    std::uint64_t value_ = 0xcbf29ce484222325ULL;
};

std::string_view bytesOf(sqlite3_stmt* statement, int column) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
    return {bytes ? bytes : "", static_cast<std::size_t>(sqlite3_column_bytes(statement, column))};
}

// Always UTF-8, whatever the database stores, so that a row hashes alike before and after its
// values were read.
std::string_view textOf(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return {text ? text : "", text ? static_cast<std::size_t>(sqlite3_column_bytes(statement, column)) : 0};
}

}  // namespace

std::string sqliteMessage(sqlite3* db) { return shownMessage(sqlite3_errmsg(db)); }

void beginSnapshot(sqlite3* db, const std::string& where) {
    // BEGIN alone takes no lock; reading the schema version starts the read transaction, which
    // then lasts until the connection closes.
    if (sqlite3_exec(db, "BEGIN; PRAGMA schema_version", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw EDatabaseError(where + ": " + sqliteMessage(db));
}

SQLiteCursor::SQLiteCursor(SQLiteDatabase db, SQLiteStatement statement, std::string where)
    : db_(std::move(db)), statement_(std::move(statement)), where_(std::move(where)) {}

void SQLiteCursor::fail() const { throw EDatabaseError(where_ + ": " + sqliteMessage(db_.get())); }

bool SQLiteCursor::restart() {
    // The error of an interrupted run was reported when it happened.
    forget();
    return step();
}

bool SQLiteCursor::step() {
    const int result = sqlite3_step(statement_.get());
    onRow_ = result == SQLITE_ROW;
    if (onRow_) {
        ++row_;
        return true;
    }
    if (result != SQLITE_DONE) fail();
    return false;
}

bool SQLiteCursor::seek(std::int64_t target) {
    if (holds(target)) return true;
    if (!onRow_ || row_ > target) {
        if (!restart()) return false;
    }
    while (row_ < target)
        if (!step()) return false;
    return true;
}

void SQLiteCursor::forget() {
    sqlite3_reset(statement_.get());
    row_ = -1;
    onRow_ = false;
}

Variant SQLiteCursor::value(int column, bool keepBytes) const {
    sqlite3_stmt* statement = statement_.get();
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER: return Variant(static_cast<std::int64_t>(sqlite3_column_int64(statement, column)));
        case SQLITE_FLOAT: return Variant(sqlite3_column_double(statement, column));
        case SQLITE_NULL: return Variant::null();
        case SQLITE_BLOB:
            if (keepBytes) return Variant(std::string(bytesOf(statement, column)));
            return Variant(framework::utf8::sanitize(bytesOf(statement, column)));
        default: return Variant(framework::utf8::sanitize(textOf(statement, column)));
    }
}

std::uint64_t SQLiteCursor::fingerprint() const {
    sqlite3_stmt* statement = statement_.get();
    Hash hash;
    for (int c = 0; c < sqlite3_column_count(statement); ++c) {
        const int storage = sqlite3_column_type(statement, c);
        hash.add(static_cast<std::uint64_t>(storage));
        switch (storage) {
            case SQLITE_INTEGER: hash.add(static_cast<std::uint64_t>(sqlite3_column_int64(statement, c))); break;
            case SQLITE_FLOAT: hash.add(std::bit_cast<std::uint64_t>(sqlite3_column_double(statement, c))); break;
            case SQLITE_NULL: break;
            case SQLITE_BLOB: hash.add(bytesOf(statement, c)); break;
            default: hash.add(textOf(statement, c));
        }
    }
    return hash.value();
}

}  // namespace tabulix::data
