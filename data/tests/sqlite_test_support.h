#pragma once
// For tests that read SQLite databases: changing a database from a connection of the test's own,
// and counting how often a statement ran, whoever opened its connection.

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace tabulix::data::testing {

// Runs `sql` on a connection of its own that does not wait for locks; returns SQLite's result.
inline int tryExecute(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) return SQLITE_CANTOPEN;
    const int result = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return result;
}

// An SQL function registered on every SQLite connection the process opens while the counter
// lives: tick() returns true and counts its calls, so "WHERE tick()" counts the rows a statement
// produced over all its runs.

class SqlCallCounter {
public:
    SqlCallCounter() {
        calls_ = 0;
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&SqlCallCounter::registerOn));
    }
    ~SqlCallCounter() { sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&SqlCallCounter::registerOn)); }
    SqlCallCounter(const SqlCallCounter&) = delete;
    SqlCallCounter& operator=(const SqlCallCounter&) = delete;

    std::int64_t calls() const { return calls_; }

private:
    static int registerOn(sqlite3* db, char**, const void*) {
        return sqlite3_create_function(db, "tick", 0, SQLITE_UTF8, nullptr, &SqlCallCounter::tick, nullptr, nullptr);
    }
    static void tick(sqlite3_context* context, int, sqlite3_value**) {
        ++calls_;
        sqlite3_result_int(context, 1);
    }
    static inline std::int64_t calls_ = 0;
};

}  // namespace tabulix::data::testing
