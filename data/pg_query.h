#pragma once
// TPgQuery: the rows of one SQL statement on a PostgreSQL server (libpq), as a data set.
//
//     object Consulta: TPgQuery
//       ConnectionString = 'host=db.example.com dbname=ventas user=informes'
//       SQL.Strings = ( 'SELECT * FROM articulos WHERE familia = $1' )
//     end
//
// ConnectionString is a libpq connection string ("host=... dbname=..." or a postgresql:// URI)
// or a plain database name; ServiceName names a service of the service file (pg_service.conf)
// instead or besides. Whatever they leave out comes from libpq's environment (PGHOST,
// PGDATABASE, ...) and defaults.
//
// Secrets: a password is never stored nor shown. A password written in ConnectionString is
// taken out of it when it is set (ConnectionString then gives the rest, and a form file written
// from the query holds no password) and kept in memory for the connection, as SetPassword does;
// better, leave it to PGPASSWORD, the password file (~/.pgpass) or the service file. Messages
// show "********" wherever a password the query knows of (given, in PGPASSWORD, or the one the
// connection used) would appear.
//
// Parameters ($1, $2, ...) are given from code with SetParam before Open; a parameter between
// them without a value fails the open. The session is read-only (SET SESSION CHARACTERISTICS AS
// TRANSACTION READ ONLY) and the SQL text must be one statement that reads (SELECT, WITH,
// VALUES, TABLE).
//
// The query keeps the forward-reading contract of data/data_set.h: Open connects, begins a
// REPEATABLE READ READ ONLY transaction (the snapshot every run, count and bookmark reads until
// Close) and declares a cursor for the statement, which is fetched 1,000 rows at a time, so that
// a result of any size takes little memory. RecordCount counts with "SELECT count(*)" around the
// statement in the same transaction, once per opening, unless a walk has passed the last row;
// KnownRecordCount never counts. A bookmark keeps a copy of its row: going back runs nothing;
// going on from it runs the statement again up to its row (the server skips the rows before it)
// and raises, naming the row, when the row found there differs (random(), now()).
//
// Field classes and values: see data/pg/pg_types.h. NULLs are Null (empty cells). Errors name
// host, port and database, and for an error in the statement its line and column in the SQL.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/data_set.h"
#include "framework/string_list.h"

namespace tabulix::data {

class PgRows;

class TPgQuery : public TDataSet {
public:
    explicit TPgQuery(framework::TComponent* owner = nullptr);
    ~TPgQuery() override;

    std::string ClassName() const override { return "TPgQuery"; }
    void DefineProperties(framework::PropertyList& properties) override;

    // The connection string without any password. Setting one that holds a password keeps the
    // password aside (as SetPassword); one libpq cannot read is refused without being echoed.
    const std::string& ConnectionString() const { return connectionString_; }
    void SetConnectionString(const std::string& text);
    const std::string& ServiceName() const { return serviceName_; }
    void SetServiceName(const std::string& name);
    // Never stored, never shown; empty: libpq looks in PGPASSWORD and the password file.
    void SetPassword(const std::string& password);
    framework::TStringList& SQL() { return sql_; }

    // Positions are 1-based, as $1, $2 number them.
    void SetParam(int position, const automation::Variant& value);
    void ClearParams() { params_.clear(); }

    // While open: the server and database ("PostgreSQL query Consulta (host h, port p,
    // database d)"); empty when closed.
    std::string ServerDescription() const;

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
    std::string connectionString_;
    std::string serviceName_;
    std::string password_;
    framework::TStringList sql_;
    std::map<int, automation::Variant> params_;
    std::unique_ptr<PgRows> rows_;  // while open
};

}  // namespace tabulix::data
