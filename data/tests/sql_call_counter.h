#pragma once
// An SQL function the tests register on every SQLite connection the process opens while a
// SqlCallCounter lives: tick() returns true and counts its calls, so "WHERE tick()" counts the
// rows a statement produced over all its runs, whoever opened the connection.

#include <sqlite3.h>

#include <cstdint>

namespace tabulix::data::testing {

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
