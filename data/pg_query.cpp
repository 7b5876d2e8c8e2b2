#include "data/pg_query.h"

#include "data/data_error.h"
#include "data/pg/pg_rows.h"
#include "data/pg/pg_session.h"
#include "framework/property_list.h"

namespace tabulix::data {

void TPgQuery::DefineProperties(framework::PropertyList& p) {
    TServerQuery::DefineProperties(p);
    p.Text("ServiceName", [this] { return serviceName_; }, [this](std::string v) { SetServiceName(v); });
}

void TPgQuery::SetServiceName(const std::string& name) {
    if (Active()) throw EDatabaseError("Cannot change the service of query " + DisplayName() + " while it is open");
    serviceName_ = name;
}

TServerQuery::ConnectionText TPgQuery::SplitConnectionText(const std::string& text) const {
    PgConnectionText split = splitConnectionText(text, Who());
    return {std::move(split.withoutPassword), std::move(split.password)};
}

std::unique_ptr<ServerRows> TPgQuery::OpenRows(const std::string& sql,
                                               std::vector<std::optional<std::string>> parameters) {
    auto session = std::make_unique<PgSession>(ConnectionString(), serviceName_, Password(), Who());
    return std::make_unique<PgRows>(std::move(session), sql, std::move(parameters));
}

}  // namespace tabulix::data
