#include "data/sqlite_query.h"

#include <sqlite3.h>

#include <charconv>
#include <cctype>
#include <cmath>
#include <memory>
#include <optional>

#include "data/data_error.h"
#include "data/date_time.h"
#include "data/sqlite_cursor.h"
#include "data/sqlite_rows.h"
#include "data/shown_text.h"
#include "framework/property_list.h"
#include "framework/text_compare.h"
#include "framework/utf8_text.h"

namespace tabulix::data {

using automation::Variant;
using automation::VariantType;

namespace {

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = framework::upperAscii(c);
    return out;
}

bool contains(const std::string& text, std::string_view word) { return text.find(word) != std::string::npos; }


// The field type a declared column type asks for; ftUnknown when it says nothing usable.
TFieldDef typeFromDeclaration(const std::string& name, const char* declared) {
    TFieldDef def{name, TFieldType::ftUnknown, 0, 0, {}};
    if (!declared) return def;
    const std::string type = upper(declared);
    if (contains(type, "BOOL"))
        def.dataType = TFieldType::ftBoolean;
    else if (contains(type, "DATETIME") || contains(type, "TIMESTAMP"))
        def.dataType = TFieldType::ftDateTime;
    else if (contains(type, "DATE"))
        def.dataType = TFieldType::ftDate;
    else if (contains(type, "TIME"))
        def.dataType = TFieldType::ftTime;
    else if (contains(type, "INT"))
        def.dataType = TFieldType::ftLargeint;
    else if (contains(type, "CHAR") || contains(type, "CLOB") || contains(type, "TEXT")) {
        def.dataType = TFieldType::ftString;
        const auto open = type.find('(');
        if (open != std::string::npos) {
            int size = 0;
            const auto [ptr, error] = std::from_chars(type.data() + open + 1, type.data() + type.size(), size);
            if (error == std::errc() && *ptr == ')' && size > 0) def.size = size;
        }
    } else if (contains(type, "MONEY") || contains(type, "CURRENCY"))
        def.dataType = TFieldType::ftCurrency;
    else if (contains(type, "REAL") || contains(type, "FLOA") || contains(type, "DOUB") || contains(type, "NUMERIC") ||
             contains(type, "DECIMAL"))
        def.dataType = TFieldType::ftFloat;
    else if (contains(type, "BLOB"))
        def.dataType = TFieldType::ftBlob;
    return def;
}

TFieldType typeFromStorage(int storage) {
    switch (storage) {
        case SQLITE_INTEGER: return TFieldType::ftLargeint;
        case SQLITE_FLOAT: return TFieldType::ftFloat;
        case SQLITE_BLOB: return TFieldType::ftBlob;
        default: return TFieldType::ftString;
    }
}

void bind(sqlite3_stmt* statement, int index, const Variant& value) {
    switch (value.type()) {
        case VariantType::Empty:
        case VariantType::Null: sqlite3_bind_null(statement, index); break;
        case VariantType::Boolean: sqlite3_bind_int(statement, index, value.toBool() ? 1 : 0); break;
        case VariantType::Int32:
        case VariantType::Int64: sqlite3_bind_int64(statement, index, value.toInt64()); break;
        case VariantType::Double:
        case VariantType::Currency: sqlite3_bind_double(statement, index, value.toDouble()); break;
        case VariantType::Date: {
            const std::string text = formatIsoDateTime(value.toDate());
            sqlite3_bind_text(statement, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const std::string text = value.toText();
            sqlite3_bind_text(statement, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            break;
        }
    }
}

void bindParameters(sqlite3_stmt* statement, const std::map<std::string, Variant>& named,
                    const std::map<int, Variant>& positional, const std::string& where) {
    for (int i = 1; i <= sqlite3_bind_parameter_count(statement); ++i) {
        const char* name = sqlite3_bind_parameter_name(statement, i);
        const std::string key = name && name[0] != '?' ? upper(name + 1) : std::string();
        if (!key.empty() && named.contains(key))
            bind(statement, i, named.at(key));
        else if (positional.contains(i))
            bind(statement, i, positional.at(i));
        else
            throw EDatabaseError(where + ": parameter " + (name ? shown(name) : "?" + std::to_string(i)) +
                                 " has no value");
    }
}

// Null when SQLite refuses the text.
SQLiteStatement tryPrepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    return SQLiteStatement(statement);
}

// The count of `statement`'s rows comes from the same text inside "SELECT count(*)"; a statement
// that cannot stand inside another (a PRAGMA) is counted by stepping a copy of it.
SQLiteRowCounter prepareCounter(sqlite3* db, sqlite3_stmt* statement) {
    std::string text = sqlite3_sql(statement);
    while (!text.empty() && (text.back() == ';' || std::isspace(static_cast<unsigned char>(text.back()))))
        text.pop_back();
    SQLiteRowCounter counter{tryPrepare(db, "SELECT count(*) FROM (\n" + text + "\n)"), true};
    if (!counter.statement) counter = SQLiteRowCounter{tryPrepare(db, text), false};
    return counter;
}

// Columns without a usable declared type take their class from the storage class of their first
// non-null value, read ahead from the start; all-null ones are text. Returns the number of rows
// when that took reading them all.
std::optional<std::int64_t> typeUntypedColumns(SQLiteCursor& cursor, std::vector<TFieldDef>& columns) {
    std::vector<std::size_t> pending;
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (columns[c].dataType == TFieldType::ftUnknown) pending.push_back(c);
    if (pending.empty()) return std::nullopt;
    bool more = cursor.first();
    while (more) {
        std::erase_if(pending, [&](std::size_t c) {
            const int storage = sqlite3_column_type(cursor.statement(), static_cast<int>(c));
            if (storage == SQLITE_NULL) return false;
            columns[c].dataType = typeFromStorage(storage);
            return true;
        });
        if (pending.empty()) return std::nullopt;
        more = cursor.step();
    }
    for (std::size_t c : pending) columns[c].dataType = TFieldType::ftString;
    return cursor.row() + 1;
}

}  // namespace

TSQLiteQuery::TSQLiteQuery(framework::TComponent* owner) : TDataSet(owner) {}

TSQLiteQuery::~TSQLiteQuery() { Close(); }

void TSQLiteQuery::DefineProperties(framework::PropertyList& p) {
    TDataSet::DefineProperties(p);
    p.Text("FileName", [this] { return fileName_; }, [this](std::string v) { SetFileName(v); });
    p.StringList("SQL", sql_);
    p.Boolean("KeepRowsInMemory", [this] { return keepRowsInMemory_; }, [this](bool v) { SetKeepRowsInMemory(v); })
        .Default(false);
}

void TSQLiteQuery::SetKeepRowsInMemory(bool value) {
    if (Active()) throw EDatabaseError("Cannot change KeepRowsInMemory of query " + DisplayName() + " while it is open");
    keepRowsInMemory_ = value;
}

void TSQLiteQuery::SetFileName(const std::string& name) {
    if (Active()) throw EDatabaseError("Cannot change the file of query " + DisplayName() + " while it is open");
    fileName_ = name;
}

void TSQLiteQuery::SetParam(const std::string& name, const Variant& value) {
    std::string key = name;
    if (!key.empty() && (key[0] == ':' || key[0] == '@' || key[0] == '$')) key.erase(0, 1);
    namedParams_[upper(key)] = value;
}

void TSQLiteQuery::SetParam(int position, const Variant& value) {
    if (position < 1) throw EDatabaseError("Query " + DisplayName() + ": parameter positions start at 1");
    positionalParams_[position] = value;
}

void TSQLiteQuery::ClearParams() {
    namedParams_.clear();
    positionalParams_.clear();
}

std::filesystem::path TSQLiteQuery::resolvedPath() const {
    std::filesystem::path path(fileName_);
    if (path.is_relative()) path = (baseFolder_.empty() ? std::filesystem::current_path() : baseFolder_) / path;
    return path;
}

std::vector<std::filesystem::path> TSQLiteQuery::SourceFiles() const {
    if (!Active()) return {};
    return {resolvedPath()};
}

std::string TSQLiteQuery::SourceDescription() const {
    return "query " + DisplayName() + " on " + shownPath(resolvedPath());
}

std::vector<TFieldDef> TSQLiteQuery::InternalOpen() {
    if (fileName_.empty()) throw EDatabaseError("Query " + DisplayName() + " has no FileName");
    const std::filesystem::path path = resolvedPath();
    const std::string where = "Query " + DisplayName() + " on " + shownPath(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) throw EDatabaseError(where + ": the file does not exist");

    // The connection belongs to this query and is only used on its thread, so SQLite's own lock
    // around every call (two per value read) is left out.
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    SQLiteDatabase db(raw);
    if (opened != SQLITE_OK)
        throw EDatabaseError(where + ": " + (raw ? sqliteMessage(raw) : std::string(sqlite3_errstr(opened))));
    // The snapshot takes SQLite's read lock: wait a while for a writer to finish rather than
    // fail at once.
    sqlite3_busy_timeout(db.get(), 5000);
    beginSnapshot(db.get(), where);

    const std::string sql = sql_.Text();
    sqlite3_stmt* rawStatement = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), static_cast<int>(sql.size()), &rawStatement, &tail) != SQLITE_OK)
        throw EDatabaseError(where + ": " + sqliteMessage(db.get()));
    SQLiteStatement statement(rawStatement);
    if (!statement) throw EDatabaseError(where + ": the SQL text holds no statement");
    for (const char* p = tail; p && *p; ++p)
        if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n' && *p != ';')
            throw EDatabaseError(where + ": the SQL text holds more than one statement");
    if (!sqlite3_stmt_readonly(statement.get()))
        throw EDatabaseError(where + ": only statements that read (SELECT) can be opened");
    bindParameters(statement.get(), namedParams_, positionalParams_, where);

    const int columnCount = sqlite3_column_count(statement.get());
    if (columnCount == 0) throw EDatabaseError(where + ": the statement returns no columns");
    columns_.clear();
    for (int c = 0; c < columnCount; ++c) {
        const char* name = sqlite3_column_name(statement.get(), c);
        columns_.push_back(typeFromDeclaration(name ? framework::utf8::sanitize(name) : "COLUMN" + std::to_string(c + 1),
                                               sqlite3_column_decltype(statement.get(), c)));
    }

    SQLiteRowCounter counter;
    if (!keepRowsInMemory_) {
        counter = prepareCounter(db.get(), statement.get());
        if (!counter.statement) throw EDatabaseError(where + ": " + sqliteMessage(db.get()));
        bindParameters(counter.statement.get(), namedParams_, positionalParams_, where);
    }
    auto cursor = std::make_unique<SQLiteCursor>(std::move(db), std::move(statement), where);
    const std::optional<std::int64_t> knownCount = typeUntypedColumns(*cursor, columns_);
    // Texts are made valid UTF-8 as they are read; BLOB values keep their bytes only in BLOB
    // columns, whose fields never show them.
    std::vector<bool> blobColumns;
    for (const TFieldDef& column : columns_) blobColumns.push_back(column.dataType == TFieldType::ftBlob);
    if (keepRowsInMemory_)
        rows_ = keptRows(*cursor, blobColumns, DisplayName());
    else
        rows_ = forwardRows(std::move(cursor), std::move(counter), std::move(blobColumns), knownCount);
    return columns_;
}

void TSQLiteQuery::InternalClose() {
    rows_.reset();
    columns_.clear();
}

bool TSQLiteQuery::InternalFirst() { return rows_->first(); }

bool TSQLiteQuery::InternalNext() { return rows_->next(); }

std::int64_t TSQLiteQuery::InternalKey() const { return rows_->bookmark(); }

void TSQLiteQuery::InternalGotoKey(std::int64_t key) { rows_->gotoBookmark(key); }

void TSQLiteQuery::InternalFreeKey(std::int64_t key) { rows_->freeBookmark(key); }

std::int64_t TSQLiteQuery::InternalRecordCount() { return rows_->count(); }

std::optional<std::int64_t> TSQLiteQuery::InternalKnownRecordCount() { return rows_->knownCount(); }

void TSQLiteQuery::badValue(int column, const std::string& problem) const {
    throw EDatabaseError("Query " + DisplayName() + ", row " + std::to_string(rows_->row() + 1) + ", column " +
                         shown(columns_[static_cast<std::size_t>(column)].name) + ": " + problem);
}

Variant TSQLiteQuery::InternalValue(int column) const {
    const Variant raw = rows_->value(column);
    if (raw.isNull()) return raw;
    const TFieldType type = columns_[static_cast<std::size_t>(column)].dataType;
    const std::string* text = raw.getIf<std::string>();
    switch (type) {
        case TFieldType::ftLargeint:
            if (raw.type() == VariantType::Int64) return raw;
            if (const double* d = raw.getIf<double>(); d && *d == std::trunc(*d) && std::fabs(*d) < 9.2e18)
                return Variant(static_cast<std::int64_t>(*d));
            if (text) {
                std::int64_t value = 0;
                const auto [ptr, error] = std::from_chars(text->data(), text->data() + text->size(), value);
                if (error == std::errc() && ptr == text->data() + text->size()) return Variant(value);
            }
            badValue(column, raw.describe() + " is not a whole number");
        case TFieldType::ftFloat:
        case TFieldType::ftCurrency:
            if (!text) return Variant(raw.toDouble());
            {
                double value = 0;
                const auto [ptr, error] = std::from_chars(text->data(), text->data() + text->size(), value);
                if (error == std::errc() && ptr == text->data() + text->size()) return Variant(value);
            }
            badValue(column, raw.describe() + " is not a number");
        case TFieldType::ftBoolean:
            if (raw.type() == VariantType::Int64) {
                const std::int64_t v = *raw.getIf<std::int64_t>();
                if (v == 0 || v == 1) return Variant(v == 1);
            } else if (text) {
                const std::string word = upper(*text);
                if (word == "TRUE" || word == "T" || word == "YES" || word == "Y" || word == "1") return Variant(true);
                if (word == "FALSE" || word == "F" || word == "NO" || word == "N" || word == "0") return Variant(false);
            }
            badValue(column, raw.describe() + " is not a Boolean value");
        case TFieldType::ftDate:
        case TFieldType::ftTime:
        case TFieldType::ftDateTime:
            {
                std::optional<automation::Date> date;
                if (text)
                    date = parseIsoDateTime(*text);
                else if (raw.type() == VariantType::Int64)
                    date = automation::Date{static_cast<double>(*raw.getIf<std::int64_t>()) / 86400.0 + 25569.0};
                else if (const double* julian = raw.getIf<double>())
                    date = automation::Date{*julian - 2415018.5};
                if (date && isDateInRange(*date)) return Variant(*date);
            }
            badValue(column, raw.describe() + " is not a date of the years 100 to 9999");
        case TFieldType::ftString:
            if (text) return raw;
            return Variant(raw.toText());
        default: return raw;
    }
}

}  // namespace tabulix::data
