#include "data/pg_query.h"

#include "data/data_error.h"
#include "data/pg/pg_rows.h"
#include "data/pg/pg_session.h"
#include "data/shown_text.h"
#include "data/sql/statement_text.h"
#include "framework/property_list.h"

namespace tabulix::data {

using automation::Variant;

TPgQuery::TPgQuery(framework::TComponent* owner) : TDataSet(owner) {}

TPgQuery::~TPgQuery() { Close(); }

void TPgQuery::DefineProperties(framework::PropertyList& p) {
    TDataSet::DefineProperties(p);
    p.Text("ConnectionString", [this] { return connectionString_; }, [this](std::string v) { SetConnectionString(v); });
    p.Text("ServiceName", [this] { return serviceName_; }, [this](std::string v) { SetServiceName(v); });
    p.StringList("SQL", sql_);
}

void TPgQuery::SetConnectionString(const std::string& text) {
    if (Active()) throw EDatabaseError("Cannot change the connection of query " + DisplayName() + " while it is open");
    PgConnectionText split = splitConnectionText(text, "PostgreSQL query " + DisplayName());
    connectionString_ = std::move(split.withoutPassword);
    if (!split.password.empty()) password_ = std::move(split.password);
}

void TPgQuery::SetServiceName(const std::string& name) {
    if (Active()) throw EDatabaseError("Cannot change the service of query " + DisplayName() + " while it is open");
    serviceName_ = name;
}

void TPgQuery::SetPassword(const std::string& password) { password_ = password; }

void TPgQuery::SetParam(int position, const Variant& value) {
    if (position < 1) throw EDatabaseError("PostgreSQL query " + DisplayName() + ": parameter positions start at 1 ($1)");
    params_[position] = value;
}

std::string TPgQuery::ServerDescription() const { return rows_ ? rows_->session().where() : std::string(); }

std::string TPgQuery::SourceDescription() const {
    return rows_ ? rows_->session().where() : "PostgreSQL query " + DisplayName();
}

std::vector<TFieldDef> TPgQuery::InternalOpen() {
    const std::string who = "PostgreSQL query " + DisplayName();
    const std::string sql = readingStatement(sql_.Text(), who);
    std::vector<std::optional<std::string>> parameters;
    if (!params_.empty()) {
        for (int position = 1; position <= params_.rbegin()->first; ++position) {
            const auto found = params_.find(position);
            if (found == params_.end())
                throw EDatabaseError(who + ": parameter $" + std::to_string(position) + " has no value");
            parameters.push_back(parameterText(found->second));
        }
    }
    auto session = std::make_unique<PgSession>(connectionString_, serviceName_, password_, who);
    rows_ = std::make_unique<PgRows>(std::move(session), sql, std::move(parameters));
    return rows_->columns();
}

void TPgQuery::InternalClose() { rows_.reset(); }

bool TPgQuery::InternalFirst() { return rows_->first(); }

bool TPgQuery::InternalNext() { return rows_->next(); }

std::int64_t TPgQuery::InternalKey() const { return rows_->bookmark(); }

void TPgQuery::InternalGotoKey(std::int64_t key) { rows_->gotoBookmark(key); }

void TPgQuery::InternalFreeKey(std::int64_t key) { rows_->freeBookmark(key); }

std::int64_t TPgQuery::InternalRecordCount() { return rows_->count(); }

std::optional<std::int64_t> TPgQuery::InternalKnownRecordCount() { return rows_->knownCount(); }

Variant TPgQuery::InternalValue(int column) const { return rows_->value(column); }

}  // namespace tabulix::data
