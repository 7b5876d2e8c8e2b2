#pragma once
// OdbcRows: the rows of an open TOdbcQuery, fetched one at a time from a forward-only cursor,
// under the forward-reading contract of data/data_set.h. Used by TOdbcQuery; not part of the
// library's interface.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/field_type.h"
#include "data/odbc/odbc_columns.h"
#include "data/odbc/odbc_session.h"
#include "data/sql/server_rows.h"

namespace tabulix::data {

class OdbcRows : public ServerRows {
public:
    // `sql`: one statement that reads; `parameters`: the ? markers' values as text (nullopt:
    // NULL). Runs the statement, which gives the columns.
    OdbcRows(std::unique_ptr<OdbcSession> session, std::string sql, std::vector<std::optional<std::string>> parameters);

    std::vector<TFieldDef> columns() const override;
    const std::string& where() const override { return session_->where(); }

    bool first() override;
    bool next() override;
    std::int64_t bookmark() override;
    void gotoBookmark(std::int64_t key) override;
    void freeBookmark(std::int64_t key) override { saved_.erase(key); }
    std::int64_t count() override;
    std::optional<std::int64_t> knownCount() const override { return count_; }
    automation::Variant value(int column) const override;

private:
    using Row = std::vector<automation::Variant>;

    // Runs `sql` on `statement` with the parameters bound.
    void execute(OdbcHandle& statement, const std::string& sql, const char* doing);
    // Runs the statement again from its start.
    void restart();
    // Fetches the next row into `row`; false at the end.
    bool fetch(Row& row);
    // Runs the statement again and stands on row `index_`, which must equal `current_`.
    void resume();

    std::unique_ptr<OdbcSession> session_;
    std::string sql_;
    std::vector<std::optional<std::string>> parameters_;
    std::unique_ptr<OdbcHandle> statement_;
    std::vector<OdbcColumn> columns_;

    Row current_, scratch_;
    bool fresh_ = false;  // the run has not fetched yet
    bool resumePending_ = false;
    std::int64_t index_ = -1;
    std::optional<std::int64_t> count_;
    std::map<std::int64_t, std::pair<std::int64_t, Row>> saved_;
    std::int64_t nextKey_ = 1;
};

}  // namespace tabulix::data
