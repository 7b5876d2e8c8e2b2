#include "data/sqlite_cursor.h"

#include <bit>
#include <string_view>

#include "data/data_error.h"
#include "framework/utf8_text.h"

namespace tabulix::data {

using automation::Variant;

namespace {

// FNV-1a, 64 bits.
class Hash {
public:
    void add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) value_ = (value_ ^ bytes[i]) * 0x100000001b3ULL;
    }
    template <class T> void add(T number) { add(&number, sizeof number); }
    std::uint64_t value() const { return value_; }

private:
    std::uint64_t value_ = 0xcbf29ce484222325ULL;
};

std::string_view bytesOf(sqlite3_stmt* statement, int column) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
    return {bytes ? bytes : "", static_cast<std::size_t>(sqlite3_column_bytes(statement, column))};
}

}  // namespace

SQLiteCursor::SQLiteCursor(SQLiteDatabase db, SQLiteStatement statement, std::string where)
    : db_(std::move(db)), statement_(std::move(statement)), where_(std::move(where)) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_.get(), "PRAGMA data_version", -1, &raw, nullptr) != SQLITE_OK) fail();
    version_.reset(raw);
}

void SQLiteCursor::fail() const { throw EDatabaseError(where_ + ": " + sqlite3_errmsg(db_.get())); }

std::int64_t SQLiteCursor::dataVersion() {
    const int result = sqlite3_step(version_.get());
    const std::int64_t version = result == SQLITE_ROW ? sqlite3_column_int64(version_.get(), 0) : 0;
    sqlite3_reset(version_.get());
    if (result != SQLITE_ROW) fail();
    return version;
}

bool SQLiteCursor::restart() {
    // The error of an interrupted run was reported when it happened.
    sqlite3_reset(statement_.get());
    row_ = -1;
    onRow_ = false;
    runVersion_ = dataVersion();
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

Variant SQLiteCursor::value(int column, bool keepBytes) const {
    sqlite3_stmt* statement = statement_.get();
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER: return Variant(static_cast<std::int64_t>(sqlite3_column_int64(statement, column)));
        case SQLITE_FLOAT: return Variant(sqlite3_column_double(statement, column));
        case SQLITE_NULL: return Variant::null();
        case SQLITE_BLOB:
            if (keepBytes) return Variant(std::string(bytesOf(statement, column)));
            return Variant(framework::utf8::sanitize(bytesOf(statement, column)));
        default: {
            // Read as text, so that a database that stores UTF-16 gives UTF-8 too.
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
            return Variant(framework::utf8::sanitize(std::string_view(text ? text : "", text ? size : 0)));
        }
    }
}

std::uint64_t SQLiteCursor::fingerprint() const {
    sqlite3_stmt* statement = statement_.get();
    Hash hash;
    for (int c = 0; c < sqlite3_column_count(statement); ++c) {
        const int storage = sqlite3_column_type(statement, c);
        hash.add(storage);
        switch (storage) {
            case SQLITE_INTEGER: hash.add(static_cast<std::int64_t>(sqlite3_column_int64(statement, c))); break;
            case SQLITE_FLOAT: hash.add(std::bit_cast<std::uint64_t>(sqlite3_column_double(statement, c))); break;
            case SQLITE_NULL: break;
            default: {
                const std::string_view bytes = bytesOf(statement, c);
                hash.add(bytes.size());
                hash.add(bytes.data(), bytes.size());
            }
        }
    }
    return hash.value();
}

}  // namespace tabulix::data
