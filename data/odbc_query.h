#pragma once
/// @file
/// TOdbcQuery: the rows of one SQL statement through an ODBC driver (unixODBC), as a data set.
///
///     object Consulta: TOdbcQuery
///       ConnectionString = 'DSN=ventas;UID=informes'
///       SQL.Strings = ( 'SELECT * FROM articulos WHERE familia = ?' )
///     end
///
/// ConnectionString is an ODBC connection string: a data source of odbc.ini (DSN=...) or a driver
/// with its settings (DRIVER={SQLite3};Database=/datos/ventas.sqlite). Its password (PWD= or
/// PASSWORD=) is kept apart as data/server_query.h says; messages show "********" wherever it
/// would appear. Parameters are the ? markers, numbered from 1.
///
/// The query keeps the forward-reading contract of data/data_set.h as far as the driver allows:
/// Open connects in manual-commit mode, asking for a read-only, repeatable-read (else
/// serializable) transaction, which every run, count and bookmark reads until Close rolls it
/// back; the statement runs on a forward-only cursor and rows are fetched one at a time. A driver
/// may still gather the whole result before the first row (psqlODBC does unless the connection
/// string says UseDeclareFetch=1, which TOdbcQuery adds for it, with BoolsAsChar=0 so that
/// Booleans are Booleans, when the string does not say); the snapshot is only as good as the
/// driver's transactions. RecordCount counts with "SELECT COUNT(*)" around the statement, once
/// per opening, unless a walk has passed the last row; KnownRecordCount never counts. A bookmark
/// keeps a copy of its row: going back runs nothing; going on from it runs the statement again up
/// to its row and raises, naming the row, when the row found there differs.
///
/// Field classes, from the SQL types the driver describes:
///
///     SQL_SMALLINT, SQL_TINYINT, SQL_INTEGER, SQL_BIGINT  TSmallintField, TIntegerField, TLargeintField
///     SQL_REAL, SQL_FLOAT, SQL_DOUBLE                      TFloatField
///     SQL_DECIMAL, SQL_NUMERIC with scale <= 4 and
///       precision - scale <= 14                           TBCDField (exact), display format with s decimals
///     SQL_DECIMAL, SQL_NUMERIC otherwise                   TFloatField
///     SQL_BIT                                              TBooleanField
///     SQL_TYPE_DATE, SQL_TYPE_TIME, SQL_TYPE_TIMESTAMP     TDateField, TTimeField, TDateTimeField
///     SQL_BINARY, SQL_VARBINARY, SQL_LONGVARBINARY         TBlobField ("(BLOB, N bytes)")
///     text and anything else (GUIDs, intervals, ...)       TStringField, as the driver writes it
///
/// NULLs are Null (empty cells). Errors name the database system, data source and database with
/// the driver's diagnostics.

#include <string>

#include "data/server_query.h"
#include "framework/export.h"

namespace tabulix::data {

/// @brief The rows of one SQL statement through an ODBC driver; the file comment tells how.
/// @threads As TDataSet.
class TABULIX_API TOdbcQuery : public TServerQuery {
public:
    /// Makes a closed query.
    /// @param owner frees it with itself, or nullptr.
    explicit TOdbcQuery(framework::TComponent* owner = nullptr) : TServerQuery(owner) {}

    std::string ClassName() const override { return "TOdbcQuery"; }

protected:
    std::string KindName() const override { return "ODBC query"; }
    std::string ParameterName(int position) const override { return std::to_string(position); }
    ConnectionText SplitConnectionText(const std::string& text) const override;
    std::unique_ptr<ServerRows> OpenRows(const std::string& sql,
                                         std::vector<std::optional<std::string>> parameters) override;
};

}  // namespace tabulix::data
