#pragma once
// PgSession: one read-only libpq connection for a TPgQuery, with what its messages must never
// show (the passwords it may have used) and what they must show (host, port, database, and the
// place in the SQL text a server error points at). Used by TPgQuery; not part of the library's
// interface.

#include <libpq-fe.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tabulix::data {

struct PgConnectionCloser {
    void operator()(PGconn* connection) const { PQfinish(connection); }
};
struct PgResultClearer {
    void operator()(PGresult* result) const { PQclear(result); }
};
using PgConnection = std::unique_ptr<PGconn, PgConnectionCloser>;
using PgResult = std::unique_ptr<PGresult, PgResultClearer>;

// A connection string taken apart: the password (kept out of everything that is stored or
// shown) and the rest. Raises EDatabaseError without echoing the text when libpq cannot read it.
struct PgConnectionText {
    std::string withoutPassword;
    std::string password;
};
PgConnectionText splitConnectionText(const std::string& text, const std::string& who);

class PgSession {
public:
    // Connects (`service` empty: none; `password` empty: libpq looks in PGPASSWORD and the
    // password file), makes the session read-only with ISO dates, C money and hex bytea, and
    // begins the repeatable-read transaction that every statement of the session reads. `who`
    // names the query ("PostgreSQL query Consulta").
    PgSession(const std::string& connectionText, const std::string& service, const std::string& password,
              const std::string& who);

    PGconn* connection() const { return connection_.get(); }
    // "PostgreSQL query Consulta (host 127.0.0.1, port 5432, database ventas)".
    const std::string& where() const { return where_; }

    // Runs `sql` with text parameters (nullptr: NULL). `userSql` is the user's statement and
    // `offset` where it begins inside `sql`, so that an error's position is told in the user's
    // text. Raises EDatabaseError for anything but a result of `expected` status.
    PgResult run(const std::string& sql, const std::vector<const char*>& parameters, ExecStatusType expected,
                 std::string_view doing, std::string_view userSql = {}, std::size_t offset = 0);

    // `text` with every secret the session knows replaced by "********".
    std::string hidden(std::string text) const;

private:
    [[noreturn]] void fail(const PGresult* result, std::string_view doing, std::string_view sql,
                           std::string_view userSql, std::size_t offset) const;

    PgConnection connection_;
    std::vector<std::string> secrets_;
    std::string where_;
};

}  // namespace tabulix::data
