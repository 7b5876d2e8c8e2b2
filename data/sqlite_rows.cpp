#include "data/sqlite_rows.h"

#include "data/data_error.h"

namespace tabulix::data {

using automation::Variant;

namespace {

class ForwardRows : public SQLiteRows {
public:
    ForwardRows(std::unique_ptr<SQLiteCursor> cursor, SQLiteRowCounter counter, std::vector<bool> blobColumns,
                std::optional<std::int64_t> knownCount)
        : cursor_(std::move(cursor)), counter_(std::move(counter)), blobColumns_(std::move(blobColumns)),
          count_(knownCount), countVersion_(cursor_->runVersion()) {}

    bool first() override {
        if (!cursor_->first()) {
            current_ = -1;
            return false;
        }
        current_ = 0;
        version_ = cursor_->runVersion();
        return true;
    }

    bool next() override {
        hold();
        if (!cursor_->step()) return false;
        ++current_;
        return true;
    }

    std::int64_t row() const override { return current_; }

    // A bookmark remembers its row by position and by content: going back runs the statement
    // again, and a row whose content differs is another row, not the one the bookmark was on.
    std::int64_t bookmark() override {
        hold();
        marks_.push_back(Mark{current_, cursor_->fingerprint()});
        return static_cast<std::int64_t>(marks_.size()) - 1;
    }

    void gotoBookmark(std::int64_t key) override {
        if (key < 0 || key >= static_cast<std::int64_t>(marks_.size()))
            throw EDatabaseError(cursor_->where() + ": no such bookmark");
        const Mark& mark = marks_[static_cast<std::size_t>(key)];
        if (!cursor_->seek(mark.row) || cursor_->fingerprint() != mark.fingerprint)
            throw EDatabaseError(cursor_->where() + ": the row of the bookmark (row " + std::to_string(mark.row + 1) +
                                 ") is no longer in the result: the database changed since the bookmark was set");
        current_ = mark.row;
        version_ = cursor_->runVersion();
    }

    // Counted again only when another connection committed since.
    std::int64_t count() override {
        const std::int64_t version = cursor_->dataVersion();
        if (!count_ || countVersion_ != version) {
            count_ = countRows();
            countVersion_ = version;
        }
        return *count_;
    }

    Variant value(int column) override {
        hold();
        return cursor_->value(column, blobColumns_.at(static_cast<std::size_t>(column)));
    }

private:
    struct Mark {
        std::int64_t row;
        std::uint64_t fingerprint;
    };

    // Makes the statement hold the current row again after a move past the last row or a failed
    // move to a bookmark. That means running it again, which is only sure to give the same row
    // when nothing was committed since the row was read.
    void hold() {
        if (current_ < 0 || cursor_->holds(current_)) return;
        if (cursor_->dataVersion() != version_ || !cursor_->seek(current_))
            throw EDatabaseError(cursor_->where() + ": row " + std::to_string(current_ + 1) +
                                 " can no longer be read: the database changed since it was read (going to the "
                                 "first record reads the rows again)");
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
            throw EDatabaseError(cursor_->where() + ": " + sqlite3_errmsg(cursor_->database()));
        return rows;
    }

    std::unique_ptr<SQLiteCursor> cursor_;
    SQLiteRowCounter counter_;
    std::vector<bool> blobColumns_;
    std::optional<std::int64_t> count_;
    std::int64_t countVersion_;
    std::int64_t current_ = -1;
    std::int64_t version_ = 0;  // the data version of the run that read the current row
    std::vector<Mark> marks_;
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

    void gotoBookmark(std::int64_t key) override {
        if (key < 0 || key >= count())
            throw EDatabaseError("Query " + displayName_ + " has no row " + std::to_string(key + 1));
        current_ = key;
    }

    std::int64_t count() override { return static_cast<std::int64_t>(rows_.size()); }

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
