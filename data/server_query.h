#pragma once
/// @file
/// TServerQuery: what the queries on database servers (TPgQuery, TOdbcQuery) share: a connection
/// string whose password is kept apart, one SQL statement that reads, its parameters, and rows
/// read forward by the server's own reader (see data/data_set.h).
///
/// Secrets: a password is never stored nor shown. A password written in ConnectionString is taken
/// out of it when it is set (ConnectionString then gives the rest, and a form file written from
/// the query holds no password) and kept in memory for the connection, as SetPassword does.
/// Parameters are given from code with SetParam before Open, sent as text; a parameter between
/// them without a value fails the open. The SQL text must be one statement that reads (SELECT,
/// WITH, VALUES, TABLE).

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/data_set.h"
#include "framework/string_list.h"
#include "framework/export.h"

namespace tabulix::data {

class ServerRows;

/// @brief What the queries on database servers share; the file comment tells the rules.
/// @threads As TDataSet.
class TABULIX_API TServerQuery : public TDataSet {
public:
    /// Closes the query.
    ~TServerQuery() override;

    void DefineProperties(framework::PropertyList& properties) override;

    /// The connection string without any password.
    const std::string& ConnectionString() const { return connectionString_; }
    /// Sets the connection string; a password in it is kept aside (as SetPassword).
    /// @param text the connection string.
    /// @throws EDatabaseError while open, or when it cannot be read (without echoing it).
    void SetConnectionString(const std::string& text);
    /// Sets the password, never stored nor shown.
    /// @param password the password; empty: whatever the server's own settings give.
    void SetPassword(const std::string& password) { password_ = password; }
    /// The SQL statement: one statement that reads (SELECT, WITH, VALUES, TABLE).
    framework::TStringList& SQL() { return sql_; }

    /// Gives a parameter its value, sent as text when the query opens.
    /// @param position 1-based, in the order the statement numbers its parameters.
    /// @param value the value; Null for SQL NULL.
    /// @throws EDatabaseError for a position below 1.
    void SetParam(int position, const automation::Variant& value);
    /// Forgets every parameter's value.
    void ClearParams() { params_.clear(); }

    /// While open: the query, server and database ("PostgreSQL query Consulta (host h, port p,
    /// database d)"); empty when closed.
    std::string ServerDescription() const;

protected:
    /// Makes a closed query.
    /// @param owner frees it with itself, or nullptr.
    explicit TServerQuery(framework::TComponent* owner);

    /// "PostgreSQL query", "ODBC query": how messages name the query's kind.
    virtual std::string KindName() const = 0;
    /// How a message names a parameter ("$2", "2").
    /// @param position the parameter's 1-based position.
    virtual std::string ParameterName(int position) const = 0;
    /// A connection string split into its password and the rest.
    struct ConnectionText {
        /// The connection string without its password.
        std::string withoutPassword;
        /// The password it held; empty when none.
        std::string password;
    };
    /// Takes the password out of a connection string.
    /// @param text the connection string.
    /// @throws EDatabaseError when it cannot be read.
    virtual ConnectionText SplitConnectionText(const std::string& text) const = 0;
    /// Connects and runs a statement (checked to be one statement that reads).
    /// @param sql the statement.
    /// @param parameters the parameters' values as text, by position; nullopt for NULL.
    /// @throws EDatabaseError when the connection or the statement fails.
    virtual std::unique_ptr<ServerRows> OpenRows(const std::string& sql,
                                                 std::vector<std::optional<std::string>> parameters) = 0;

    /// "PostgreSQL query Consulta": how messages name this query.
    std::string Who() const { return KindName() + " " + DisplayName(); }
    /// The password kept aside.
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
