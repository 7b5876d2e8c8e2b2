#include "data/pg/pg_rows.h"

#include <charconv>

#include "data/data_error.h"
#include "data/pg/pg_types.h"
#include "data/shown_text.h"
#include "framework/utf8_text.h"

namespace tabulix::data {

using automation::Variant;

namespace {

constexpr const char* kDeclare = "DECLARE tabulix_rows NO SCROLL CURSOR FOR ";
constexpr const char* kCount = "SELECT count(*) FROM (\n";
constexpr int kBatchRows = 1000;

}  // namespace

PgRows::PgRows(std::unique_ptr<PgSession> session, std::string sql, std::vector<std::optional<std::string>> parameters)
    : session_(std::move(session)), sql_(std::move(sql)), parameterTexts_(std::move(parameters)) {
    for (const auto& text : parameterTexts_) parameters_.push_back(text ? text->c_str() : nullptr);
    declare();
    fetch();
    const int columns = PQnfields(batch_.get());
    if (columns == 0) throw EDatabaseError(session_->where() + ": the statement returns no columns");
    for (int c = 0; c < columns; ++c) {
        const char* name = PQfname(batch_.get(), c);
        columns_.push_back(pgFieldDef(framework::utf8::sanitize(name ? name : ""), PQftype(batch_.get(), c),
                                      PQfmod(batch_.get(), c)));
        types_.push_back(PQftype(batch_.get(), c));
    }
}

void PgRows::declare() {
    if (cursorOpen_) session_->run("CLOSE tabulix_rows", {}, PGRES_COMMAND_OK, "running the query");
    cursorOpen_ = false;
    session_->run(kDeclare + sql_, parameters_, PGRES_COMMAND_OK, "running the query", sql_,
                  std::char_traits<char>::length(kDeclare));
    cursorOpen_ = true;
    batch_.reset();
    batchRow_ = -1;
    exhausted_ = false;
    fresh_ = true;
    index_ = -1;
}

bool PgRows::fetch() {
    batch_ = session_->run("FETCH FORWARD " + std::to_string(kBatchRows) + " FROM tabulix_rows", {}, PGRES_TUPLES_OK,
                           "reading the rows");
    batchRow_ = -1;
    const int rows = PQntuples(batch_.get());
    exhausted_ = rows < kBatchRows;
    return rows > 0;
}

PgRows::Row PgRows::currentRow() const {
    if (fromCopy_) return copy_;
    Row row;
    for (int c = 0; c < static_cast<int>(columns_.size()); ++c) {
        if (PQgetisnull(batch_.get(), batchRow_, c))
            row.emplace_back();
        else
            row.emplace_back(std::string(PQgetvalue(batch_.get(), batchRow_, c),
                                         static_cast<std::size_t>(PQgetlength(batch_.get(), batchRow_, c))));
    }
    return row;
}

bool PgRows::step() {
    if (batch_ && batchRow_ + 1 < PQntuples(batch_.get())) {
        ++batchRow_;
        fromCopy_ = false;
        fresh_ = false;
        return true;
    }
    if (exhausted_) return false;
    // The batch that holds the current row goes: keep the row for a move that finds no more.
    if (index_ >= 0 && !fromCopy_) {
        copy_ = currentRow();
        fromCopy_ = true;
    }
    if (!fetch()) return false;
    batchRow_ = 0;
    fromCopy_ = false;
    fresh_ = false;
    return true;
}

bool PgRows::first() {
    resumePending_ = false;
    if (index_ == 0 && !fromCopy_) return true;
    if (!fresh_) declare();
    if (!step()) {
        count_ = 0;
        return false;
    }
    index_ = 0;
    return true;
}

void PgRows::resume() {
    resumePending_ = false;
    const Row wanted = copy_;
    const std::int64_t target = index_;
    declare();
    if (target > 0)
        session_->run("MOVE FORWARD " + std::to_string(target) + " FROM tabulix_rows", {}, PGRES_COMMAND_OK,
                      "reading the rows");
    fromCopy_ = false;
    const bool found = fetch();
    batchRow_ = 0;
    if (!found || currentRow() != wanted)
        throw EDatabaseError(session_->where() + ", row " + std::to_string(target + 1) +
                             ": the row differs from when it was read before (the statement's rows change from run "
                             "to run); nothing after it can be read");
    fresh_ = false;
    index_ = target;
}

bool PgRows::next() {
    if (index_ < 0) return false;
    if (count_ && index_ + 1 >= *count_) return false;
    if (resumePending_) resume();
    if (!step()) {
        count_ = index_ + 1;
        return false;
    }
    ++index_;
    return true;
}

std::int64_t PgRows::bookmark() {
    const std::int64_t key = nextKey_++;
    saved_.emplace(key, std::make_pair(index_, index_ >= 0 ? currentRow() : Row()));
    return key;
}

void PgRows::gotoBookmark(std::int64_t key) {
    const auto found = saved_.find(key);
    if (found == saved_.end() || found->second.first < 0) return;
    if (found->second.first == index_ && !resumePending_) return;
    index_ = found->second.first;
    copy_ = found->second.second;
    fromCopy_ = true;
    resumePending_ = true;
}

std::int64_t PgRows::count() {
    if (count_) return *count_;
    const PgResult result = session_->run(kCount + sql_ + "\n) AS tabulix_count", parameters_, PGRES_TUPLES_OK,
                                          "counting the rows", sql_, std::char_traits<char>::length(kCount));
    std::int64_t n = 0;
    const char* text = PQgetvalue(result.get(), 0, 0);
    std::from_chars(text, text + std::char_traits<char>::length(text), n);
    count_ = n;
    return n;
}

Variant PgRows::value(int column) const {
    if (index_ < 0) return Variant::null();
    const auto c = static_cast<std::size_t>(column);
    std::string_view text;
    if (fromCopy_) {
        if (!copy_[c]) return Variant::null();
        text = *copy_[c];
    } else {
        if (PQgetisnull(batch_.get(), batchRow_, column)) return Variant::null();
        text = std::string_view(PQgetvalue(batch_.get(), batchRow_, column),
                                static_cast<std::size_t>(PQgetlength(batch_.get(), batchRow_, column)));
    }
    try {
        return pgValue(text, types_[c], columns_[c].dataType);
    } catch (const std::invalid_argument& e) {
        throw EDatabaseError(session_->where() + ", row " + std::to_string(index_ + 1) + ", column " +
                             shown(columns_[c].name) + ": '" + shown(text) + "' " + e.what());
    }
}

}  // namespace tabulix::data
