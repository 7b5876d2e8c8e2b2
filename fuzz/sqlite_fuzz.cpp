// libFuzzer target for SQLite values through their field classes: the input becomes the values
// of one row of a table with a column of every declared type the query maps (and one without a
// type), stored with the storage class the input chooses; the row is read through TSQLiteQuery
// and every field's Value and AsString are taken, with the rows read forward and kept in memory.
// A value its column cannot hold raises EDatabaseError; anything else escaping, a crash or a
// sanitizer report is a bug, and so is a text that is not valid UTF-8, a BLOB field that shows
// bytes, or the two modes (or a bookmark's copy of the row) reading the row differently.
//
// Input: for each column in turn, one byte chooses the storage class (null, integer, real, text,
// BLOB), one byte gives the length n of the value, then n bytes (integers and reals take their
// bits from them).

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "data/data_error.h"
#include "data/field_classes.h"
#include "data/sqlite_query.h"
#include "framework/utf8_text.h"
#include "fuzz/scratch_folder.h"

using namespace tabulix;

namespace {

constexpr const char* kColumns[] = {"INTEGER", "VARCHAR(8)", "TEXT", "REAL", "NUMERIC(10,2)", "MONEY", "BOOLEAN",
                                    "DATE", "DATETIME", "TIME", "BLOB", ""};
constexpr int kColumnCount = sizeof kColumns / sizeof kColumns[0];

struct Database {
    Database() : folder("tabulix-sqlite-fuzz"), file(folder.path() / "values.sqlite") {
        if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) std::abort();
        std::string create = "CREATE TABLE v(";
        std::string insert = "INSERT INTO v VALUES(";
        for (int c = 0; c < kColumnCount; ++c) {
            create += (c ? ", c" : "c") + std::to_string(c) + " " + kColumns[c];
            insert += c ? ", ?" : "?";
        }
        exec(create + ")");
        exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
        if (sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &statement, nullptr) != SQLITE_OK) std::abort();
    }
    ~Database() {
        sqlite3_finalize(statement);
        sqlite3_close(db);
    }
    void exec(const std::string& sql) const {
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
    }

    fuzz::ScratchFolder folder;
    std::filesystem::path file;
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
};

void bindValue(sqlite3_stmt* statement, int index, const std::uint8_t*& data, std::size_t& size) {
    const std::uint8_t storage = size > 0 ? data[0] % 5 : 0;
    const std::size_t length = size > 1 ? std::min<std::size_t>(data[1], size - 2) : 0;
    const std::uint8_t* bytes = data + std::min<std::size_t>(size, 2);
    std::uint64_t bits = 0;
    std::memcpy(&bits, bytes, std::min<std::size_t>(length, sizeof bits));
    switch (storage) {
        case 0: sqlite3_bind_null(statement, index); break;
        case 1: sqlite3_bind_int64(statement, index, static_cast<sqlite3_int64>(bits)); break;
        case 2: {
            double real = 0;
            std::memcpy(&real, &bits, sizeof real);
            sqlite3_bind_double(statement, index, real);  // SQLite stores a NaN as NULL
            break;
        }
        case 3: sqlite3_bind_text(statement, index, reinterpret_cast<const char*>(bytes), static_cast<int>(length), SQLITE_TRANSIENT); break;
        default: sqlite3_bind_blob(statement, index, bytes, static_cast<int>(length), SQLITE_TRANSIENT); break;
    }
    const std::size_t used = std::min<std::size_t>(size, 2) + length;
    data += used;
    size -= used;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Database database;
    database.exec("DELETE FROM v");
    sqlite3_reset(database.statement);
    for (int c = 0; c < kColumnCount; ++c) bindValue(database.statement, c + 1, data, size);
    if (sqlite3_step(database.statement) != SQLITE_DONE) std::abort();

    // Both modes read the row alike: every value, or the error, the same; and so does the copy a
    // bookmark keeps of it, gone back to after the walk passed the end.
    std::string seen[3];
    auto readRow = [](data::TSQLiteQuery& query, std::string& into) {
        for (data::TField* field : query.FieldList()) {
            try {
                const automation::Variant value = field->Value();
                const std::string* text = value.getIf<std::string>();
                if (text && !framework::utf8::isValid(*text)) std::abort();
                if (dynamic_cast<data::TBlobField*>(field) && !value.isNull() && (!text || !text->starts_with("(BLOB, ")))
                    std::abort();
                into += field->AsString() + '\n';
            } catch (const data::EDatabaseError& error) {
                into += std::string(error.what()) + '\n';
            }
        }
    };
    for (const bool keepRows : {false, true}) {
        data::TSQLiteQuery query;
        query.SetKeepRowsInMemory(keepRows);
        query.SetFileName(database.file.string());
        query.SQL().Add("SELECT *, c2 || '' AS expression FROM v");
        query.Open();
        readRow(query, seen[keepRows]);
        if (keepRows) continue;
        const data::TBookmark mark = query.GetBookmark();
        query.Next();
        query.GotoBookmark(mark);
        query.FreeBookmark(mark);
        readRow(query, seen[2]);
    }
    if (seen[0] != seen[1] || seen[0] != seen[2]) std::abort();
    return 0;
}
