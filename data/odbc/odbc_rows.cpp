#include "data/odbc/odbc_rows.h"

#include <stdexcept>

#include "data/data_error.h"
#include "data/odbc/odbc_text.h"
#include "data/shown_text.h"

namespace tabulix::data {

using automation::Variant;

OdbcRows::OdbcRows(std::unique_ptr<OdbcSession> session, std::string sql,
                   std::vector<std::optional<std::string>> parameters)
    : session_(std::move(session)), sql_(std::move(sql)), parameters_(std::move(parameters)) {
    statement_ = std::make_unique<OdbcHandle>(SQL_HANDLE_STMT, session_->connection(), session_->where());
    // Forward only: drivers that can hand rows over as they come do so only for this cursor.
    SQLSetStmtAttr(statement_->get(), SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(SQL_CURSOR_FORWARD_ONLY), 0);
    execute(*statement_, sql_, "running the query");
    fresh_ = true;
    SQLSMALLINT count = 0;
    session_->check(SQLNumResultCols(statement_->get(), &count), SQL_HANDLE_STMT, statement_->get(),
                    "describing the columns");
    if (count == 0) throw EDatabaseError(session_->where() + ": the statement returns no columns");
    for (SQLUSMALLINT c = 1; c <= count; ++c) {
        SQLWCHAR name[256] = {};
        SQLSMALLINT nameLength = 0, type = 0, decimals = 0, nullable = 0;
        SQLULEN size = 0;
        session_->check(SQLDescribeColW(statement_->get(), c, name, SQLSMALLINT(std::size(name)), &nameLength, &type,
                                        &size, &decimals, &nullable),
                        SQL_HANDLE_STMT, statement_->get(), "describing the columns");
        columns_.push_back(odbcColumn(fromOdbcText(name, std::min<std::size_t>(nameLength, std::size(name) - 1)), type,
                                      size, decimals));
    }
}

std::vector<TFieldDef> OdbcRows::columns() const {
    std::vector<TFieldDef> defs;
    for (const OdbcColumn& column : columns_) defs.push_back(column.def);
    return defs;
}

void OdbcRows::execute(OdbcHandle& statement, const std::string& sql, const char* doing) {
    // Read by the driver when the statement runs, which is within this call.
    std::vector<SQLLEN> lengths(parameters_.size(), 0);
    for (std::size_t p = 0; p < parameters_.size(); ++p) {
        const std::optional<std::string>& text = parameters_[p];
        lengths[p] = text ? static_cast<SQLLEN>(text->size()) : SQL_NULL_DATA;
        session_->check(SQLBindParameter(statement.get(), SQLUSMALLINT(p + 1), SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                         text ? std::max<SQLULEN>(text->size(), 1) : 1, 0,
                                         text ? const_cast<char*>(text->data()) : nullptr,
                                         text ? static_cast<SQLLEN>(text->size()) : 0, &lengths[p]),
                        SQL_HANDLE_STMT, statement.get(), "binding the parameters");
    }
    const OdbcText wide = toOdbcText(sql);
    const SQLRETURN status = SQLExecDirectW(statement.get(), const_cast<SQLWCHAR*>(wide.c_str()), SQLINTEGER(wide.size()));
    if (status != SQL_NO_DATA) session_->check(status, SQL_HANDLE_STMT, statement.get(), doing);
}

void OdbcRows::restart() {
    SQLCloseCursor(statement_->get());
    execute(*statement_, sql_, "running the query");
    fresh_ = true;
    index_ = -1;
}

bool OdbcRows::fetch(Row& row) {
    const SQLRETURN status = SQLFetch(statement_->get());
    fresh_ = false;
    if (status == SQL_NO_DATA) return false;
    session_->check(status, SQL_HANDLE_STMT, statement_->get(), "reading the rows");
    row.resize(columns_.size());
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        try {
            row[c] = odbcValue(statement_->get(), SQLUSMALLINT(c + 1), columns_[c].reading);
        } catch (const std::invalid_argument& e) {
            throw EDatabaseError(session_->where() + ", row " + std::to_string(index_ + 2) + ", column " +
                                 shown(columns_[c].def.name) + ": the value " + e.what());
        } catch (const std::runtime_error& e) {
            throw EDatabaseError(session_->where() + ", row " + std::to_string(index_ + 2) + ", column " +
                                 shown(columns_[c].def.name) + ": reading the value: " +
                                 shownMessage(session_->hidden(e.what())));
        }
    }
    return true;
}

bool OdbcRows::first() {
    resumePending_ = false;
    if (!fresh_) restart();
    if (!fetch(scratch_)) {
        count_ = 0;
        return false;
    }
    current_.swap(scratch_);
    index_ = 0;
    return true;
}

void OdbcRows::resume() {
    resumePending_ = false;
    const std::int64_t target = index_;
    const Row wanted = current_;
    restart();
    bool found = true;
    for (std::int64_t row = 0; found && row <= target; ++row, ++index_) found = fetch(scratch_);
    if (!found || scratch_ != wanted)
        throw EDatabaseError(session_->where() + ", row " + std::to_string(target + 1) +
                             ": the row differs from when it was read before (the statement's rows change from run "
                             "to run); nothing after it can be read");
    index_ = target;
}

bool OdbcRows::next() {
    if (index_ < 0) return false;
    if (count_ && index_ + 1 >= *count_) return false;
    if (resumePending_) resume();
    // The current row stays when there is no next one.
    if (!fetch(scratch_)) {
        count_ = index_ + 1;
        return false;
    }
    current_.swap(scratch_);
    ++index_;
    return true;
}

std::int64_t OdbcRows::bookmark() {
    const std::int64_t key = nextKey_++;
    saved_.emplace(key, std::make_pair(index_, index_ >= 0 ? current_ : Row()));
    return key;
}

void OdbcRows::gotoBookmark(std::int64_t key) {
    const auto found = saved_.find(key);
    if (found == saved_.end() || found->second.first < 0) return;
    if (found->second.first == index_ && !resumePending_) return;
    index_ = found->second.first;
    current_ = found->second.second;
    resumePending_ = true;
}

std::int64_t OdbcRows::count() {
    if (count_) return *count_;
    OdbcHandle counting(SQL_HANDLE_STMT, session_->connection(), session_->where());
    execute(counting, "SELECT COUNT(*) FROM (\n" + sql_ + "\n) tabulix_count", "counting the rows");
    session_->check(SQLFetch(counting.get()), SQL_HANDLE_STMT, counting.get(), "counting the rows");
    SQLBIGINT n = 0;
    SQLLEN indicator = 0;
    session_->check(SQLGetData(counting.get(), 1, SQL_C_SBIGINT, &n, sizeof n, &indicator), SQL_HANDLE_STMT,
                    counting.get(), "counting the rows");
    count_ = n;
    return n;
}

Variant OdbcRows::value(int column) const {
    if (index_ < 0) return Variant::null();
    return current_[static_cast<std::size_t>(column)];
}

}  // namespace tabulix::data
