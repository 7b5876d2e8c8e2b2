#include "data/odbc_query.h"

#include "data/data_error.h"
#include "data/odbc/odbc_rows.h"
#include "data/odbc/odbc_session.h"

namespace tabulix::data {

TServerQuery::ConnectionText TOdbcQuery::SplitConnectionText(const std::string& text) const {
    OdbcConnectionText split = splitOdbcConnectionText(text, Who());
    return {std::move(split.withoutPassword), std::move(split.password)};
}

std::unique_ptr<ServerRows> TOdbcQuery::OpenRows(const std::string& sql,
                                                 std::vector<std::optional<std::string>> parameters) {
    if (ConnectionString().empty())
        throw EDatabaseError(Who() + ": the connection string is empty (DSN=... or DRIVER=...)");
    auto session = std::make_unique<OdbcSession>(ConnectionString(), Password(), Who());
    return std::make_unique<OdbcRows>(std::move(session), sql, std::move(parameters));
}

}  // namespace tabulix::data
