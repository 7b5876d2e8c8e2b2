#include "data/server_query.h"

#include "data/data_error.h"
#include "data/sql/server_rows.h"
#include "data/sql/statement_text.h"
#include "framework/property_list.h"

namespace tabulix::data {

using automation::Variant;

TServerQuery::TServerQuery(framework::TComponent* owner) : TDataSet(owner) {}

TServerQuery::~TServerQuery() { Close(); }

void TServerQuery::DefineProperties(framework::PropertyList& p) {
    TDataSet::DefineProperties(p);
    p.Text("ConnectionString", [this] { return connectionString_; }, [this](std::string v) { SetConnectionString(v); });
    p.StringList("SQL", sql_);
}

void TServerQuery::SetConnectionString(const std::string& text) {
    if (Active()) throw EDatabaseError("Cannot change the connection of query " + DisplayName() + " while it is open");
    ConnectionText split = SplitConnectionText(text);
    connectionString_ = std::move(split.withoutPassword);
    if (!split.password.empty()) password_ = std::move(split.password);
}

void TServerQuery::SetParam(int position, const Variant& value) {
    if (position < 1) throw EDatabaseError(Who() + ": parameter positions start at 1 (" + ParameterName(1) + ")");
    params_[position] = value;
}

std::string TServerQuery::ServerDescription() const { return rows_ ? rows_->where() : std::string(); }

std::string TServerQuery::SourceDescription() const { return rows_ ? rows_->where() : Who(); }

std::vector<TFieldDef> TServerQuery::InternalOpen() {
    const std::string sql = readingStatement(sql_.Text(), Who());
    std::vector<std::optional<std::string>> parameters;
    if (!params_.empty()) {
        for (int position = 1; position <= params_.rbegin()->first; ++position) {
            const auto found = params_.find(position);
            if (found == params_.end())
                throw EDatabaseError(Who() + ": parameter " + ParameterName(position) + " has no value");
            parameters.push_back(parameterText(found->second));
        }
    }
    rows_ = OpenRows(sql, std::move(parameters));
    return rows_->columns();
}

void TServerQuery::InternalClose() { rows_.reset(); }

bool TServerQuery::InternalFirst() { return rows_->first(); }

bool TServerQuery::InternalNext() { return rows_->next(); }

std::int64_t TServerQuery::InternalKey() const { return rows_->bookmark(); }

void TServerQuery::InternalGotoKey(std::int64_t key) { rows_->gotoBookmark(key); }

void TServerQuery::InternalFreeKey(std::int64_t key) { rows_->freeBookmark(key); }

std::int64_t TServerQuery::InternalRecordCount() { return rows_->count(); }

std::optional<std::int64_t> TServerQuery::InternalKnownRecordCount() { return rows_->knownCount(); }

Variant TServerQuery::InternalValue(int column) const { return rows_->value(column); }

}  // namespace tabulix::data
