#pragma once
// TOdbcQuery: the rows of one SQL statement through an ODBC driver (unixODBC), as a data set.
//
//     object Consulta: TOdbcQuery
//       ConnectionString = 'DSN=ventas;UID=informes'
//       SQL.Strings = ( 'SELECT * FROM articulos WHERE familia = ?' )
//     end
//
// ConnectionString is an ODBC connection string: a data source of odbc.ini (DSN=...) or a driver
// with its settings (DRIVER={SQLite3};Database=/datos/ventas.sqlite). A password written in it
// (PWD= or PASSWORD=) is taken out when it is set and kept in memory for the connection, as
// SetPassword does, so that ConnectionString and a form file written from the query never hold
// it; messages show "********" wherever it would appear.
//
// Parameters (?) are given from code with SetParam before Open, sent as text; a parameter
// between them without a value fails the open. The SQL text must be one statement that reads
// (SELECT, WITH, VALUES, TABLE).
//
// The query keeps the forward-reading contract of data/data_set.h as far as the driver allows:
// Open connects in manual-commit mode, asking for a read-only, repeatable-read (else
// serializable) transaction, which every run, count and bookmark reads until Close rolls it
// back; the statement runs on a forward-only cursor and rows are fetched one at a time. A driver
// may still gather the whole result before the first row (psqlODBC does unless the connection
// string says UseDeclareFetch=1, which TOdbcQuery adds for it, with BoolsAsChar=0 so that
// Booleans are Booleans, when the string does not say);
// the snapshot is only as good as the driver's transactions. RecordCount counts with
// "SELECT COUNT(*)" around the statement, once per opening, unless a walk has passed the last
// row; KnownRecordCount never counts. A bookmark keeps a copy of its row: going back runs nothing;
// going on from it runs the statement again up to its row and raises, naming the row, when the
// row found there differs.
//
// Field classes and values: see data/odbc/odbc_columns.h. NULLs are Null (empty cells). Errors
// name the database system, data source and database with the driver's diagnostics.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/data_set.h"
#include "framework/string_list.h"

namespace tabulix::data {

class OdbcRows;

class TOdbcQuery : public TDataSet {
public:
    explicit TOdbcQuery(framework::TComponent* owner = nullptr);
    ~TOdbcQuery() override;

    std::string ClassName() const override { return "TOdbcQuery"; }
    void DefineProperties(framework::PropertyList& properties) override;

    // The connection string without any password. Setting one that holds a password keeps the
    // password aside (as SetPassword).
    const std::string& ConnectionString() const { return connectionString_; }
    void SetConnectionString(const std::string& text);
    // Never stored, never shown; empty: whatever the data source holds.
    void SetPassword(const std::string& password);
    framework::TStringList& SQL() { return sql_; }

    // Positions are 1-based, in the order of the ? markers.
    void SetParam(int position, const automation::Variant& value);
    void ClearParams() { params_.clear(); }

    // While open: "ODBC query Consulta (SQLite, database /datos/ventas.sqlite)"; empty when
    // closed.
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
    std::string password_;
    framework::TStringList sql_;
    std::map<int, automation::Variant> params_;
    std::unique_ptr<OdbcRows> rows_;  // while open
};

}  // namespace tabulix::data
