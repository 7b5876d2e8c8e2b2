#include "data/sqlite_rows.h"

#include <map>

#include "data/data_error.h"

namespace tabulix::data {

using automation::Variant;

namespace {

class ForwardRows : public SQLiteRows {
public:
    ForwardRows(std::unique_ptr<SQLiteCursor> cursor, SQLiteRowCounter counter, std::vector<bool> blobColumns,
                std::optional<std::int64_t> knownCount)
        : cursor_(std::move(cursor)), counter_(std::move(counter)), blobColumns_(std::move(blobColumns)),
          count_(knownCount) {}

    bool first() override {
        shown_.reset();
        if (!cursor_->first()) {
            current_ = -1;
            count_ = 0;
            return false;
        }
        current_ = 0;
        return true;
    }

    bool next() override {
        hold();
        // The row is gone from the statement once it steps past the last one; its hash lets a
        // later read of it make sure that running the statement again found the same row.
        left_ = cursor_->fingerprint();
        if (!cursor_->step()) {
            count_ = current_ + 1;
            return false;
        }
        ++current_;
        return true;
    }

    std::int64_t row() const override { return current_; }

    // A bookmark keeps a copy of its row, so that going back to it needs no new run and cannot
    // fail; the hash tells whether a new run reaches the same row when the walk goes on from it.
    std::int64_t bookmark() override {
        Mark mark;
        if (shown_) {
            mark = *shown_;
        } else {
            hold();
            mark.row = current_;
            mark.fingerprint = cursor_->fingerprint();
            mark.values.reserve(blobColumns_.size());
            for (std::size_t c = 0; c < blobColumns_.size(); ++c)
                mark.values.push_back(cursor_->value(static_cast<int>(c), blobColumns_[c]));
        }
        const std::int64_t key = nextMark_++;
        marks_.emplace(key, std::move(mark));
        return key;
    }

    void gotoBookmark(std::int64_t key) override {
        const auto mark = marks_.find(key);
        if (mark == marks_.end()) throw EDatabaseError(cursor_->where() + ": no such bookmark");
        current_ = mark->second.row;
        shown_ = mark->second;
    }

    void freeBookmark(std::int64_t key) override { marks_.erase(key); }

    std::int64_t count() override {
        if (!count_) count_ = countRows();
        return *count_;
    }

    std::optional<std::int64_t> knownCount() override { return count_; }

    Variant value(int column) override {
        if (shown_) return shown_->values.at(static_cast<std::size_t>(column));
        hold();
        return cursor_->value(column, blobColumns_.at(static_cast<std::size_t>(column)));
    }

private:
    struct Mark {
        std::int64_t row = -1;
        std::uint64_t fingerprint = 0;
        std::vector<Variant> values;
    };

    // Makes the statement hold the current row: after going to a bookmark, or after a move past
    // the last row, that means running it again up to the row, which gives the same row on the
    // snapshot unless the statement asks for varying values.
    void hold() {
        if (current_ < 0) return;
        if (shown_) {
            reach(shown_->row, shown_->fingerprint);
            shown_.reset();
            return;
        }
        if (!cursor_->holds(current_)) reach(current_, left_);
    }

    void reach(std::int64_t row, std::uint64_t fingerprint) {
        if (cursor_->seek(row) && cursor_->fingerprint() == fingerprint) return;
        cursor_->forget();
        throw EDatabaseError(cursor_->where() + ": row " + std::to_string(row + 1) +
                             " cannot be read again: the statement gives other rows each time it runs (random "
                             "values or the current time); going to the first record reads the rows again");
    }

    std::int64_t countRows() {
        sqlite3_stmt* statement = counter_.statement.get();
        sqlite3_reset(statement);
        std::int64_t rows = 0;
        int result;
        while ((result = sqlite3_step(statement)) == SQLITE_ROW) {
            if (counter_.countsItself) {
                rows = sqlite3_column_int64(statement, 0);
                break;
            }
            ++rows;
        }
        sqlite3_reset(statement);
        if (result != SQLITE_ROW && result != SQLITE_DONE)
            throw EDatabaseError(cursor_->where() + ": " + sqliteMessage(cursor_->database()));
        return rows;
    }

    std::unique_ptr<SQLiteCursor> cursor_;
    SQLiteRowCounter counter_;
    std::vector<bool> blobColumns_;
    std::optional<std::int64_t> count_;
    std::int64_t current_ = -1;
    std::uint64_t left_ = 0;              // the hash of the current row, taken as the walk left it
    std::map<std::int64_t, Mark> marks_;  // by bookmark key
    std::int64_t nextMark_ = 0;
    std::optional<Mark> shown_;           // the current row as a bookmark kept it, until the walk goes on
};

class KeptRows : public SQLiteRows {
public:
    KeptRows(std::vector<std::vector<Variant>> rows, std::string displayName)
        : rows_(std::move(rows)), displayName_(std::move(displayName)) {}

    bool first() override {
        if (rows_.empty()) return false;
        current_ = 0;
        return true;
    }

    bool next() override {
        if (current_ + 1 >= count()) return false;
        ++current_;
        return true;
    }

    std::int64_t row() const override { return current_; }
    std::int64_t bookmark() override { return current_; }
    void freeBookmark(std::int64_t) override {}

    void gotoBookmark(std::int64_t key) override {
        if (key < 0 || key >= count())
            throw EDatabaseError("Query " + displayName_ + " has no row " + std::to_string(key + 1));
        current_ = key;
    }

    std::int64_t count() override { return static_cast<std::int64_t>(rows_.size()); }
    std::optional<std::int64_t> knownCount() override { return count(); }

    Variant value(int column) override {
        return rows_.at(static_cast<std::size_t>(current_)).at(static_cast<std::size_t>(column));
    }

private:
    std::vector<std::vector<Variant>> rows_;
    std::string displayName_;
    std::int64_t current_ = -1;
};

}  // namespace

std::unique_ptr<SQLiteRows> forwardRows(std::unique_ptr<SQLiteCursor> cursor, SQLiteRowCounter counter,
                                        std::vector<bool> blobColumns, std::optional<std::int64_t> knownCount) {
    return std::make_unique<ForwardRows>(std::move(cursor), std::move(counter), std::move(blobColumns), knownCount);
}

std::unique_ptr<SQLiteRows> keptRows(SQLiteCursor& cursor, const std::vector<bool>& blobColumns,
                                     const std::string& displayName) {
    std::vector<std::vector<Variant>> rows;
    for (bool more = cursor.first(); more; more = cursor.step()) {
        std::vector<Variant> row;
        row.reserve(blobColumns.size());
        for (std::size_t c = 0; c < blobColumns.size(); ++c) row.push_back(cursor.value(static_cast<int>(c), blobColumns[c]));
        rows.push_back(std::move(row));
    }
    return std::make_unique<KeptRows>(std::move(rows), displayName);
}

}  // namespace tabulix::data
