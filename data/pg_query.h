#pragma once
/// @file
/// TPgQuery: the rows of one SQL statement on a PostgreSQL server (libpq), as a data set.
///
///     object Consulta: TPgQuery
///       ConnectionString = 'host=db.example.com dbname=ventas user=informes'
///       SQL.Strings = ( 'SELECT * FROM articulos WHERE familia = $1' )
///     end
///
/// ConnectionString is a libpq connection string ("host=... dbname=..." or a postgresql:// URI)
/// or a plain database name; ServiceName names a service of the service file (pg_service.conf)
/// instead or besides (what the connection string says wins). Whatever they leave out comes
/// from libpq's environment (PGHOST, PGDATABASE, ...) and defaults.
///
/// Passwords (see data/server_query.h): better left to PGPASSWORD, the password file (~/.pgpass)
/// or the service file than written in ConnectionString. Messages show "********" wherever a
/// password the query knows of (given, in PGPASSWORD, or the one the connection used) would
/// appear. Parameters are $1, $2, ...
///
/// The session is read-only (SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY). Open connects,
/// begins a REPEATABLE READ READ ONLY transaction (the snapshot every run, count and bookmark
/// reads until Close) and declares a cursor for the statement, which is fetched 1,000 rows at a
/// time, so that a result of any size takes little memory. RecordCount counts with
/// "SELECT count(*)" around the statement in the same transaction, once per opening, unless a
/// walk has passed the last row; KnownRecordCount never counts. A bookmark keeps a copy of its
/// row: going back runs nothing; going on from it runs the statement again up to its row (the
/// server skips the rows before it) and raises, naming the row, when the row found there differs
/// (random(), now()).
///
/// Field classes, from the column types (values read in PostgreSQL's text output, with DateStyle
/// ISO and lc_monetary C, as the query sets its session):
///
///     smallint, integer, bigint, oid           TSmallintField, TIntegerField, TLargeintField
///     real, double precision                   TFloatField
///     numeric(p,s) with s <= 4, p - s <= 14     TBCDField (exact), display format with s decimals
///     numeric otherwise                        TFloatField
///     money                                    TCurrencyField
///     boolean                                  TBooleanField
///     date, time, time with time zone          TDateField, TTimeField (the zone is dropped)
///     timestamp, timestamp with time zone      TDateTimeField (in the session's time zone)
///     bytea                                    TBlobField ("(BLOB, N bytes)")
///     char(n), varchar(n), text, name          TStringField (size n when declared)
///     anything else (json, uuid, arrays, ...)  TStringField, as PostgreSQL writes it
///
/// NULLs are Null (empty cells). Errors name host, port and database, and for an error in the
/// statement its line and column in the SQL.

#include <string>

#include "data/server_query.h"
#include "framework/export.h"

namespace tabulix::data {

/// @brief The rows of one SQL statement on a PostgreSQL server; the file comment tells how.
/// @threads As TDataSet.
class TABULIX_API TPgQuery : public TServerQuery {
public:
    /// Makes a closed query.
    /// @param owner frees it with itself, or nullptr.
    explicit TPgQuery(framework::TComponent* owner = nullptr) : TServerQuery(owner) {}

    std::string ClassName() const override { return "TPgQuery"; }
    void DefineProperties(framework::PropertyList& properties) override;

    /// The service of the service file (pg_service.conf) to connect to; empty for none.
    const std::string& ServiceName() const { return serviceName_; }
    /// Sets the service to connect to (what ConnectionString says wins).
    /// @param name the service's name.
    /// @throws EDatabaseError while open.
    void SetServiceName(const std::string& name);

protected:
    std::string KindName() const override { return "PostgreSQL query"; }
    std::string ParameterName(int position) const override { return "$" + std::to_string(position); }
    ConnectionText SplitConnectionText(const std::string& text) const override;
    std::unique_ptr<ServerRows> OpenRows(const std::string& sql,
                                         std::vector<std::optional<std::string>> parameters) override;

private:
    std::string serviceName_;
};

}  // namespace tabulix::data
