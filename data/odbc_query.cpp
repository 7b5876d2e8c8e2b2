#include "data/odbc_query.h"

#include "data/data_error.h"
#include "data/odbc/odbc_rows.h"
#include "data/odbc/odbc_session.h"
#include "data/sql/statement_text.h"
#include "framework/property_list.h"

namespace tabulix::data {

using automation::Variant;

TOdbcQuery::TOdbcQuery(framework::TComponent* owner) : TDataSet(owner) {}

TOdbcQuery::~TOdbcQuery() { Close(); }

void TOdbcQuery::DefineProperties(framework::PropertyList& p) {
    TDataSet::DefineProperties(p);
    p.Text("ConnectionString", [this] { return connectionString_; }, [this](std::string v) { SetConnectionString(v); });
    p.StringList("SQL", sql_);
}

void TOdbcQuery::SetConnectionString(const std::string& text) {
    if (Active()) throw EDatabaseError("Cannot change the connection of query " + DisplayName() + " while it is open");
    OdbcConnectionText split = splitOdbcConnectionText(text, "ODBC query " + DisplayName());
    connectionString_ = std::move(split.withoutPassword);
    if (!split.password.empty()) password_ = std::move(split.password);
}

void TOdbcQuery::SetPassword(const std::string& password) { password_ = password; }

void TOdbcQuery::SetParam(int position, const Variant& value) {
    if (position < 1) throw EDatabaseError("ODBC query " + DisplayName() + ": parameter positions start at 1");
    params_[position] = value;
}

std::string TOdbcQuery::ServerDescription() const { return rows_ ? rows_->session().where() : std::string(); }

std::string TOdbcQuery::SourceDescription() const {
    return rows_ ? rows_->session().where() : "ODBC query " + DisplayName();
}

std::vector<TFieldDef> TOdbcQuery::InternalOpen() {
    const std::string who = "ODBC query " + DisplayName();
    const std::string sql = readingStatement(sql_.Text(), who);
    std::vector<std::optional<std::string>> parameters;
    if (!params_.empty()) {
        for (int position = 1; position <= params_.rbegin()->first; ++position) {
            const auto found = params_.find(position);
            if (found == params_.end())
                throw EDatabaseError(who + ": parameter " + std::to_string(position) + " has no value");
            parameters.push_back(parameterText(found->second));
        }
    }
    if (connectionString_.empty()) throw EDatabaseError(who + ": the connection string is empty (DSN=... or DRIVER=...)");
    auto session = std::make_unique<OdbcSession>(connectionString_, password_, who);
    rows_ = std::make_unique<OdbcRows>(std::move(session), sql, std::move(parameters));
    return rows_->columns();
}

void TOdbcQuery::InternalClose() { rows_.reset(); }

bool TOdbcQuery::InternalFirst() { return rows_->first(); }

bool TOdbcQuery::InternalNext() { return rows_->next(); }

std::int64_t TOdbcQuery::InternalKey() const { return rows_->bookmark(); }

void TOdbcQuery::InternalGotoKey(std::int64_t key) { rows_->gotoBookmark(key); }

void TOdbcQuery::InternalFreeKey(std::int64_t key) { rows_->freeBookmark(key); }

std::int64_t TOdbcQuery::InternalRecordCount() { return rows_->count(); }

std::optional<std::int64_t> TOdbcQuery::InternalKnownRecordCount() { return rows_->knownCount(); }

Variant TOdbcQuery::InternalValue(int column) const { return rows_->value(column); }

}  // namespace tabulix::data
