#pragma once
// TServerQuery: what the queries on database servers (TPgQuery, TOdbcQuery) share: a connection
// string whose password is kept apart, one SQL statement that reads, its parameters, and rows
// read forward by the server's own reader (see data/data_set.h).
//
// Secrets: a password is never stored nor shown. A password written in ConnectionString is taken
// out of it when it is set (ConnectionString then gives the rest, and a form file written from
// the query holds no password) and kept in memory for the connection, as SetPassword does.
// Parameters are given from code with SetParam before Open, sent as text; a parameter between
// them without a value fails the open. The SQL text must be one statement that reads (SELECT,
// WITH, VALUES, TABLE).

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/data_set.h"
#include "framework/string_list.h"

namespace tabulix::data {

class ServerRows;

class TServerQuery : public TDataSet {
public:
    ~TServerQuery() override;

    void DefineProperties(framework::PropertyList& properties) override;

    // The connection string without any password. Setting one that holds a password keeps the
    // password aside (as SetPassword); one that cannot be read is refused without being echoed.
    const std::string& ConnectionString() const { return connectionString_; }
    void SetConnectionString(const std::string& text);
    // Never stored, never shown; empty: whatever the server's own settings give.
    void SetPassword(const std::string& password) { password_ = password; }
    framework::TStringList& SQL() { return sql_; }

    // Positions are 1-based, in the order the statement numbers its parameters.
    void SetParam(int position, const automation::Variant& value);
    void ClearParams() { params_.clear(); }

    // While open: the query, server and database ("PostgreSQL query Consulta (host h, port p,
    // database d)"); empty when closed.
    std::string ServerDescription() const;

protected:
    explicit TServerQuery(framework::TComponent* owner);

    // "PostgreSQL query", "ODBC query": how messages name the query's kind.
    virtual std::string KindName() const = 0;
    // How a message names parameter `position` ("$2", "2").
    virtual std::string ParameterName(int position) const = 0;
    struct ConnectionText {
        std::string withoutPassword;
        std::string password;
    };
    virtual ConnectionText SplitConnectionText(const std::string& text) const = 0;
    // Connects and runs `sql` (checked to be one statement that reads).
    virtual std::unique_ptr<ServerRows> OpenRows(const std::string& sql,
                                                 std::vector<std::optional<std::string>> parameters) = 0;

    // "PostgreSQL query Consulta".
    std::string Who() const { return KindName() + " " + DisplayName(); }
    const std::string& Password() const { return password_; }

    std::vector<TFieldDef> InternalOpen() final;
    void InternalClose() final;
    bool InternalFirst() final;
    bool InternalNext() final;
    std::int64_t InternalKey() const final;
    void InternalGotoKey(std::int64_t key) final;
    void InternalFreeKey(std::int64_t key) final;
    std::int64_t InternalRecordCount() final;
    std::optional<std::int64_t> InternalKnownRecordCount() final;
    automation::Variant InternalValue(int column) const final;
    std::string SourceDescription() const final;

private:
    std::string connectionString_;
    std::string password_;
    framework::TStringList sql_;
    std::map<int, automation::Variant> params_;
    std::unique_ptr<ServerRows> rows_;  // while open
};

}  // namespace tabulix::data
