#pragma once
// PgRows: the rows of an open TPgQuery, read through a cursor on the session's snapshot, 1,000 at
// a time, under the forward-reading contract of data/data_set.h. Used by TPgQuery; not part of
// the library's interface.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/field_type.h"
#include "data/pg/pg_session.h"
#include "data/sql/server_rows.h"

namespace tabulix::data {

class PgRows : public ServerRows {
public:
    // `sql`: one statement that reads; `parameters`: $1.. as text (nullopt: NULL). Declares the
    // cursor and fetches the first rows, which give the columns.
    PgRows(std::unique_ptr<PgSession> session, std::string sql, std::vector<std::optional<std::string>> parameters);

    std::vector<TFieldDef> columns() const override { return columns_; }
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
    using Row = std::vector<std::optional<std::string>>;

    void declare();
    // Fetches the next batch; false when it holds no row.
    bool fetch();
    // Moves to the next row of the current run.
    bool step();
    Row currentRow() const;
    // Runs the statement again and stands on row `index_`, which must equal `copy_`.
    void resume();

    std::unique_ptr<PgSession> session_;
    std::string sql_;
    std::vector<std::optional<std::string>> parameterTexts_;
    std::vector<const char*> parameters_;
    std::vector<TFieldDef> columns_;
    std::vector<unsigned int> types_;

    PgResult batch_;
    int batchRow_ = -1;       // row of batch_ the cursor stands on
    bool exhausted_ = false;  // the cursor has no rows after batch_
    bool fresh_ = false;      // the run has not moved yet
    bool cursorOpen_ = false;
    bool fromCopy_ = false;   // the current row is copy_, not a row of batch_
    bool resumePending_ = false;
    Row copy_;
    std::int64_t index_ = -1;
    std::optional<std::int64_t> count_;
    std::map<std::int64_t, std::pair<std::int64_t, Row>> saved_;
    std::int64_t nextKey_ = 1;
};

}  // namespace tabulix::data
