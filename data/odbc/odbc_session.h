#pragma once
// OdbcSession: one ODBC connection (unixODBC) for a TOdbcQuery, in manual-commit mode so that
// every statement of the session reads one transaction, with what its messages must never show
// (the password) and what they must show (the data source and database). Used by TOdbcQuery;
// not part of the library's interface.

#include <sql.h>
#include <sqlext.h>

#include <memory>
#include <string>
#include <string_view>

namespace tabulix::data {

// An ODBC connection string ("DSN=ventas;UID=informes;PWD=...") taken apart: the password (PWD
// or PASSWORD, kept out of everything that is stored or shown) and the rest, written again.
// Raises EDatabaseError (after `who`) without echoing the text when a braced value never closes.
struct OdbcConnectionText {
    std::string withoutPassword;
    std::string password;
};
OdbcConnectionText splitOdbcConnectionText(const std::string& text, const std::string& who);

// One ODBC handle, freed with its kind.
class OdbcHandle {
public:
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent, const std::string& who);
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;
    ~OdbcHandle();
    SQLHANDLE get() const { return handle_; }
    SQLSMALLINT type() const { return type_; }

private:
    SQLSMALLINT type_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

class OdbcSession {
public:
    // Connects with the connection string and the password (empty: none besides what the data
    // source holds), asks for a read-only, repeatable-read transaction where the driver can give
    // one, and turns automatic commits off. `who` names the query ("ODBC query Consulta").
    OdbcSession(const std::string& connectionText, const std::string& password, const std::string& who);
    ~OdbcSession();
    OdbcSession(const OdbcSession&) = delete;
    OdbcSession& operator=(const OdbcSession&) = delete;

    SQLHDBC connection() const { return connection_->get(); }
    // "ODBC query Consulta (PostgreSQL, data source ventas, database ventas)".
    const std::string& where() const { return where_; }

    // Raises EDatabaseError unless `status` is a success: "WHERE: DOING: the driver's
    // diagnostics" (of `handle`), with the password hidden.
    void check(SQLRETURN status, SQLSMALLINT type, SQLHANDLE handle, std::string_view doing) const;
    // `text` with the password replaced by "********".
    std::string hidden(std::string text) const;

private:
    void connect(const std::string& text);

    std::string password_;
    OdbcHandle environment_;
    std::unique_ptr<OdbcHandle> connection_;
    bool connected_ = false;
    std::string where_;
};

}  // namespace tabulix::data
