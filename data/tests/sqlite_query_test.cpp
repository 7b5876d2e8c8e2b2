#include <gtest/gtest.h>

#include <sqlite3.h>

#include <set>

#include "data/date_time.h"
#include "data/field_classes.h"
#include "data/sqlite_query.h"
#include "data/tests/dbf_fixture.h"
#include "data/tests/sqlite_test_support.h"

namespace tabulix::data {
namespace {

using automation::Variant;
using testing::TempFolder;
using testing::tryExecute;

void execute(const std::filesystem::path& file, const std::string& sql) {
    EXPECT_EQ(tryExecute(file, sql), SQLITE_OK) << sql;
}

// Whether this process holds `file` open.
bool isOpenHere(const std::filesystem::path& file) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        const std::filesystem::path target = std::filesystem::read_symlink(entry.path(), error);
        if (!error && std::filesystem::equivalent(target, file, error)) return true;
    }
    return false;
}

// The message of the EDatabaseError `action` raises ("(none)" when it raises nothing).
template <class Action> std::string errorOf(Action action) {
    try {
        action();
    } catch (const EDatabaseError& e) {
        return e.what();
    }
    return "(none)";
}

// Every behaviour holds in both modes: rows read as the cursor moves, and rows kept in memory.
class SQLiteQueryTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        query.SetKeepRowsInMemory(GetParam());
        execute(folder / "shop.sqlite",
                "CREATE TABLE articles (id INTEGER PRIMARY KEY, code VARCHAR(8), name TEXT, price REAL,"
                " amount DECIMAL(10,2), cost MONEY, active BOOLEAN, since DATE, stamp DATETIME, at TIME, photo BLOB);"
                "INSERT INTO articles VALUES (1, 'A1', 'Camión', 24.95, 10.5, 3.25, 1, '2024-03-15',"
                " '2024-03-15 10:30:00', '08:15:00', x'00FF');"
                "INSERT INTO articles VALUES (2, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);"
                "INSERT INTO articles VALUES (3, 'C3', 'Piñata', 12, 7, 1, 'false', 1710460800, 2460385.25, NULL, NULL);");
        query.SetName("Consulta");
        query.SetBaseFolder(folder.path());
        query.SetFileName("shop.sqlite");
    }

    // Table "numbers": n from 1 to `count`, word "n1", "n2"...
    void fillNumbers(int count) {
        execute(folder / "shop.sqlite",
                "CREATE TABLE numbers (n INTEGER, word TEXT);"
                "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < " + std::to_string(count) +
                    ") INSERT INTO numbers SELECT i, 'n' || i FROM c;");
    }

    TempFolder folder;
    TSQLiteQuery query;
};

INSTANTIATE_TEST_SUITE_P(BothModes, SQLiteQueryTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& mode) {
                             return mode.param ? "RowsKeptInMemory" : "RowsReadForward";
                         });

TEST_P(SQLiteQueryTest, FieldClassesFollowDeclaredTypesAndNullsStayNull) {
    query.SQL().Add("SELECT * FROM articles ORDER BY id");
    query.Open();
    ASSERT_EQ(query.FieldCount(), 11);
    EXPECT_NE(dynamic_cast<TLargeintField*>(query.FieldByName("id")), nullptr);
    auto* code = dynamic_cast<TStringField*>(query.FieldByName("code"));
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code->Size(), 8);
    EXPECT_NE(dynamic_cast<TStringField*>(query.FieldByName("name")), nullptr);
    EXPECT_NE(dynamic_cast<TFloatField*>(query.FieldByName("price")), nullptr);
    EXPECT_NE(dynamic_cast<TFloatField*>(query.FieldByName("amount")), nullptr);
    EXPECT_NE(dynamic_cast<TCurrencyField*>(query.FieldByName("cost")), nullptr);
    EXPECT_NE(dynamic_cast<TBooleanField*>(query.FieldByName("active")), nullptr);
    EXPECT_NE(dynamic_cast<TDateField*>(query.FieldByName("since")), nullptr);
    EXPECT_NE(dynamic_cast<TDateTimeField*>(query.FieldByName("stamp")), nullptr);
    EXPECT_NE(dynamic_cast<TTimeField*>(query.FieldByName("at")), nullptr);
    EXPECT_NE(dynamic_cast<TBlobField*>(query.FieldByName("photo")), nullptr);
    EXPECT_EQ(query.RecordCount(), 3);

    EXPECT_EQ(query.FieldByName("id")->Value(), Variant(std::int64_t{1}));
    EXPECT_EQ(query.FieldByName("name")->AsString(), "Camión");
    EXPECT_EQ(query.FieldByName("price")->Value(), Variant(24.95));
    EXPECT_EQ(query.FieldByName("active")->Value(), Variant(true));
    EXPECT_EQ(query.FieldByName("since")->AsString(), "2024-03-15");
    EXPECT_EQ(query.FieldByName("stamp")->AsString(), "2024-03-15 10:30:00");
    EXPECT_EQ(query.FieldByName("at")->AsString(), "08:15:00");
    EXPECT_EQ(query.FieldByName("photo")->Value(), Variant("(BLOB, 2 bytes)"));
    EXPECT_EQ(dynamic_cast<TBlobField*>(query.FieldByName("photo"))->AsBytes(), std::string("\x00\xFF", 2));

    query.Next();
    for (TField* field : query.FieldList())
        if (field->FieldName() != "id") {
            EXPECT_TRUE(field->IsNull()) << field->FieldName();
        }

    // Integers in REAL columns, text Booleans, Unix seconds and Julian days.
    query.Next();
    EXPECT_EQ(query.FieldByName("price")->Value(), Variant(12.0));
    EXPECT_EQ(query.FieldByName("active")->Value(), Variant(false));
    EXPECT_EQ(query.FieldByName("since")->AsString(), "2024-03-15");
    EXPECT_EQ(query.FieldByName("stamp")->AsString(), "2024-03-15 18:00:00");
}

TEST_P(SQLiteQueryTest, ExpressionsTakeTheirClassFromTheFirstValue) {
    query.SQL().SetText("SELECT id * 2 AS twice, price / 2 AS half, upper(name) AS loud, NULL AS empty\n"
                        "FROM articles WHERE id <> 2 ORDER BY id");
    query.Open();
    EXPECT_NE(dynamic_cast<TLargeintField*>(query.FieldByName("twice")), nullptr);
    EXPECT_NE(dynamic_cast<TFloatField*>(query.FieldByName("half")), nullptr);
    EXPECT_NE(dynamic_cast<TStringField*>(query.FieldByName("loud")), nullptr);
    EXPECT_NE(dynamic_cast<TStringField*>(query.FieldByName("empty")), nullptr);
    EXPECT_EQ(query.FieldByName("twice")->Value(), Variant(std::int64_t{2}));
    EXPECT_TRUE(query.FieldByName("empty")->IsNull());
}

TEST_P(SQLiteQueryTest, ParametersAndBookmarks) {
    query.SQL().SetText("SELECT id, code FROM articles WHERE id >= :first AND id <= ? ORDER BY id");
    query.SetParam(":FIRST", 2);
    EXPECT_THROW(query.Open(), EDatabaseError);  // the second parameter has no value
    EXPECT_FALSE(query.Active());
    query.SetParam(2, std::int64_t{3});
    query.Open();
    EXPECT_EQ(query.RecordCount(), 2);
    query.Next();
    TBookmark mark = query.GetBookmark();
    query.First();
    query.GotoBookmark(mark);
    EXPECT_EQ(query.FieldByName("code")->AsString(), "C3");
}

TEST_P(SQLiteQueryTest, ErrorsNameTheQueryAndTheProblem) {
    auto openError = [&](const std::string& sql) {
        query.Close();
        query.SQL().SetText(sql);
        try {
            query.Open();
        } catch (const EDatabaseError& e) {
            EXPECT_FALSE(query.Active());
            return std::string(e.what());
        }
        return std::string("(opened)");
    };
    EXPECT_NE(openError("SELEC nothing").find("Query Consulta on"), std::string::npos);
    EXPECT_NE(openError("SELECT * FROM nowhere").find("no such table"), std::string::npos);
    EXPECT_NE(openError("DELETE FROM articles").find("only statements that read"), std::string::npos);
    EXPECT_NE(openError("SELECT 1; SELECT 2").find("more than one statement"), std::string::npos);
    EXPECT_NE(openError("").find("no statement"), std::string::npos);

    // A value its declared type cannot hold raises when read, naming row and column.
    execute(folder / "shop.sqlite", "INSERT INTO articles (id, since, price) VALUES (4, 'pronto', 'caro')");
    EXPECT_EQ(openError("SELECT since, price FROM articles WHERE id = 4"), "(opened)");
    try {
        query.FieldByName("since")->Value();
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("row 1, column since"), std::string::npos) << e.what();
    }
    EXPECT_THROW(query.FieldByName("price")->Value(), EDatabaseError);

    query.Close();
    query.SetFileName("missing.sqlite");
    EXPECT_NE(openError("SELECT 1").find("does not exist"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "missing.sqlite"));  // opened read-only, never created
}

// Bytes that are not text never reach a field as text: bad UTF-8 is repaired, BLOB values are
// described, and a NUL inside a text is kept with what follows it.
TEST_P(SQLiteQueryTest, TextsAreValidUtf8AndBlobBytesAreNeverShown) {
    execute(folder / "shop.sqlite",
            "CREATE TABLE odd (t TEXT, b BLOB, u);"
            "INSERT INTO odd VALUES (CAST(x'41c328ff42' AS TEXT), x'00ff41', 'a' || char(0) || 'b');"
            "INSERT INTO odd VALUES ('ok', x'', x'c328');");
    query.SQL().Add("SELECT t, b, u, b AS raw, t || '' AS expr, 1 AS \"n\xFF\" FROM odd");
    query.Open();
    EXPECT_EQ(query.Fields(5)->FieldName(), "n\xEF\xBF\xBD");
    EXPECT_EQ(query.FieldByName("t")->AsString(), "A\xEF\xBF\xBD(\xEF\xBF\xBD" "B");
    EXPECT_EQ(query.FieldByName("expr")->AsString(), "A\xEF\xBF\xBD(\xEF\xBF\xBD" "B");
    EXPECT_EQ(query.FieldByName("b")->Value(), Variant("(BLOB, 3 bytes)"));
    EXPECT_NE(dynamic_cast<TBlobField*>(query.FieldByName("raw")), nullptr) << "an untyped column of BLOB values";
    EXPECT_EQ(query.FieldByName("u")->Value(), Variant(std::string("a\0b", 3)));
    query.Next();
    EXPECT_EQ(query.FieldByName("b")->Value(), Variant("(BLOB, 0 bytes)"));
    // An untyped column whose first value is text: its BLOB values are repaired text.
    EXPECT_EQ(query.FieldByName("u")->AsString(), "\xEF\xBF\xBD(");
}

TEST_P(SQLiteQueryTest, TextsOfADatabaseInUtf16AreReadAsUtf8) {
    execute(folder / "utf16.sqlite",
            "PRAGMA encoding = 'UTF-16le'; CREATE TABLE t (name TEXT, other); INSERT INTO t VALUES ('Camión', 'Piñata');");
    query.SetFileName("utf16.sqlite");
    query.SQL().Add("SELECT name, other, name || '!' AS loud FROM t");
    query.Open();
    EXPECT_EQ(query.FieldByName("name")->AsString(), "Camión");
    EXPECT_EQ(query.FieldByName("other")->AsString(), "Piñata");
    EXPECT_EQ(query.FieldByName("loud")->AsString(), "Camión!");
}

TEST_P(SQLiteQueryTest, ValuesInMessagesAreEscapedAndShortened) {
    execute(folder / "shop.sqlite",
            "CREATE TABLE bad (n INTEGER); INSERT INTO bad VALUES (x'ff00' || printf('%.5000c', 'x'));");
    query.SQL().Add("SELECT n FROM bad");
    query.Open();
    try {
        query.FieldByName("n")->Value();
        FAIL() << "a BLOB is no whole number";
    } catch (const EDatabaseError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("row 1, column n"), std::string::npos) << message;
        EXPECT_NE(message.find("\xEF\xBF\xBD\\x00xxx"), std::string::npos) << message;
        EXPECT_LT(message.size(), 300u) << message;
    }
}

TEST_P(SQLiteQueryTest, DatesOutsideTheCalendarAreRefused) {
    execute(folder / "shop.sqlite",
            "CREATE TABLE far (d DATE); INSERT INTO far VALUES (1.8e44), (-1e300), (253402300800), ('0099-12-31');");
    query.SQL().Add("SELECT d FROM far");
    query.Open();
    for (; !query.Eof(); query.Next())
        EXPECT_THROW(query.Fields(0)->AsString(), EDatabaseError) << query.RecNo();
    EXPECT_THROW(formatIsoDate(automation::Date{1.8e44}), EDatabaseError);
}

TEST_P(SQLiteQueryTest, SourceFilesNameTheDatabase) {
    query.SQL().Add("SELECT 1");
    EXPECT_TRUE(query.SourceFiles().empty());
    query.Open();
    ASSERT_EQ(query.SourceFiles().size(), 1u);
    EXPECT_TRUE(std::filesystem::equivalent(query.SourceFiles()[0], folder / "shop.sqlite"));
}

TEST_P(SQLiteQueryTest, WalksTheRowsAndGoesBackAndForwardToBookmarks) {
    fillNumbers(1000);
    query.SQL().Add("SELECT n, word FROM numbers ORDER BY n");
    query.Open();
    TField* n = query.FieldByName("n");
    TBookmark tenth;
    std::int64_t expected = 1;
    for (; !query.Eof(); query.Next(), ++expected) {
        ASSERT_EQ(query.RecNo(), expected);
        ASSERT_EQ(n->Value(), Variant(expected));
        if (expected == 10) tenth = query.GetBookmark();
    }
    EXPECT_EQ(expected, 1001);
    // Past the last row the cursor stays on it.
    EXPECT_EQ(query.RecNo(), 1000);
    EXPECT_EQ(query.FieldByName("word")->AsString(), "n1000");
    const TBookmark last = query.GetBookmark();

    query.GotoBookmark(tenth);
    EXPECT_EQ(query.RecNo(), 10);
    EXPECT_EQ(n->Value(), Variant(std::int64_t{10}));
    query.Next();
    EXPECT_EQ(n->Value(), Variant(std::int64_t{11})) << "the walk goes on from the bookmark";
    query.GotoBookmark(last);
    EXPECT_EQ(n->Value(), Variant(std::int64_t{1000}));
    EXPECT_EQ(query.FieldByName("word")->AsString(), "n1000");
    query.GotoBookmark(tenth);
    query.GotoBookmark(tenth);
    EXPECT_EQ(query.FieldByName("word")->AsString(), "n10");

    query.First();
    EXPECT_TRUE(query.Bof());
    EXPECT_EQ(n->Value(), Variant(std::int64_t{1}));
    query.Next();
    EXPECT_EQ(query.RecordCount(), 1000);
    EXPECT_EQ(n->Value(), Variant(std::int64_t{2})) << "counting does not move the cursor";
}

TEST_P(SQLiteQueryTest, RecordCountHonoursParametersAndAnyKindOfStatement) {
    fillNumbers(1000);
    auto count = [&](const std::string& sql) {
        query.Close();
        query.SQL().SetText(sql);
        query.Open();
        return query.RecordCount();
    };
    query.SetParam("low", 100);
    query.SetParam(2, std::int64_t{250});
    EXPECT_EQ(count("SELECT n FROM numbers WHERE n > :low AND n <= ? ORDER BY n DESC -- the window\n;"), 150);
    EXPECT_EQ(query.Fields(0)->Value(), Variant(std::int64_t{250}));
    query.SetParam(":LOW", 240);
    query.Close();
    query.Open();
    EXPECT_EQ(query.RecordCount(), 10);
    query.ClearParams();

    EXPECT_EQ(count("WITH t(x) AS (VALUES (1), (2), (3)) SELECT x FROM t"), 3);
    EXPECT_EQ(count("SELECT n FROM numbers WHERE n < 0"), 0);
    EXPECT_TRUE(query.Eof());
    EXPECT_TRUE(query.IsEmpty());
    EXPECT_EQ(count("SELECT n FROM numbers LIMIT 7 OFFSET 995"), 5);
    // A statement that cannot stand inside another is counted row by row.
    EXPECT_EQ(count("PRAGMA table_info(articles)"), 11);
    EXPECT_EQ(query.FieldByName("name")->AsString(), "id");
}

TEST_P(SQLiteQueryTest, UntypedColumnsLookAheadForTheirFirstValue) {
    fillNumbers(1000);
    query.SQL().Add("SELECT CASE WHEN n >= 800 THEN n / 2.0 END AS late, CASE WHEN n = 7 THEN 'siete' ELSE n END AS d,"
                    " n FROM numbers ORDER BY n");
    query.Open();
    EXPECT_NE(dynamic_cast<TFloatField*>(query.FieldByName("late")), nullptr);
    EXPECT_NE(dynamic_cast<TLargeintField*>(query.FieldByName("d")), nullptr);
    EXPECT_EQ(query.RecNo(), 1);
    EXPECT_TRUE(query.FieldByName("late")->IsNull());
    EXPECT_EQ(query.FieldByName("n")->Value(), Variant(std::int64_t{1}));
    EXPECT_EQ(query.RecordCount(), 1000);
    while (query.RecNo() < 7) query.Next();
    EXPECT_EQ(errorOf([&] { query.FieldByName("d")->Value(); }).find("Query Consulta, row 7, column d: "), 0u);
    while (query.RecNo() < 800) query.Next();
    EXPECT_EQ(query.FieldByName("late")->Value(), Variant(400.0));

    // A column that is null in every row is text; finding that out took reading every row.
    query.Close();
    query.SQL().SetText("SELECT NULL AS never, n FROM numbers WHERE n <= 500");
    query.Open();
    EXPECT_NE(dynamic_cast<TStringField*>(query.FieldByName("never")), nullptr);
    EXPECT_EQ(query.RecNo(), 1);
    EXPECT_EQ(query.FieldByName("n")->Value(), Variant(std::int64_t{1}));
    EXPECT_EQ(query.RecordCount(), 500);
}

// One state of the database for as long as the query is open, in both journal modes: in WAL
// mode others commit and the query keeps reading the state it opened on (walks, counts and
// bookmarks alike); in rollback-journal mode others cannot commit until the query closes (rows
// kept in memory hold nothing after Open). The next Open sees what was committed.
TEST_P(SQLiteQueryTest, OneStateOfTheDatabaseForAsLongAsTheQueryIsOpen) {
    fillNumbers(20);
    const std::filesystem::path file = folder / "shop.sqlite";
    for (const bool wal : {false, true}) {
        SCOPED_TRACE(wal ? "WAL" : "rollback journal");
        query.Close();
        execute(file, wal ? "PRAGMA journal_mode = WAL" : "PRAGMA journal_mode = DELETE");
        query.SQL().SetText("SELECT n, word FROM numbers ORDER BY n");
        query.Open();
        TBookmark second;
        for (; !query.Eof(); query.Next())
            if (query.RecNo() == 2) second = query.GetBookmark();
        const bool writersGoOn = wal || GetParam();
        EXPECT_EQ(tryExecute(file, "BEGIN; DELETE FROM numbers WHERE n > 10; UPDATE numbers SET word = 'dos' WHERE n = 2;"
                                   " COMMIT"),
                  writersGoOn ? SQLITE_OK : SQLITE_BUSY);

        EXPECT_EQ(query.FieldByName("word")->AsString(), "n20") << "the last row read again";
        query.GotoBookmark(second);
        EXPECT_EQ(query.FieldByName("word")->AsString(), "n2");
        query.Next();
        EXPECT_EQ(query.FieldByName("word")->AsString(), "n3") << "the walk goes on from the bookmark";
        std::int64_t walked = 0;
        for (query.First(); !query.Eof(); query.Next()) ++walked;
        EXPECT_EQ(walked, 20);
        EXPECT_EQ(query.RecordCount(), 20);

        query.Close();
        EXPECT_EQ(tryExecute(file, "DELETE FROM numbers WHERE n > 10"), SQLITE_OK) << "nothing held once closed";
        query.Open();
        EXPECT_EQ(query.RecordCount(), 10);
        query.Close();
        execute(file, "DELETE FROM numbers; WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 20)"
                      " INSERT INTO numbers SELECT i, 'n' || i FROM c");
    }
}

// A count asked before the walk is taken on the same state as the rows, even when another
// connection commits between Open and the count.
TEST_P(SQLiteQueryTest, TheCountReadsTheStateTheRowsAreReadFrom) {
    fillNumbers(30);
    const std::filesystem::path file = folder / "shop.sqlite";
    execute(file, "PRAGMA journal_mode = WAL");
    query.SQL().Add("SELECT n FROM numbers");
    query.Open();
    EXPECT_EQ(tryExecute(file, "INSERT INTO numbers SELECT n + 30, word FROM numbers"), SQLITE_OK);
    EXPECT_EQ(query.RecordCount(), 30);
    std::int64_t walked = 0;
    for (; !query.Eof(); query.Next()) ++walked;
    EXPECT_EQ(walked, 30);
}

TEST_P(SQLiteQueryTest, ClosingReleasesTheFile) {
    fillNumbers(10);
    const std::filesystem::path file = folder / "shop.sqlite";
    query.SQL().Add("SELECT n FROM numbers");
    query.Open();
    query.Next();
    EXPECT_THROW(query.SetKeepRowsInMemory(!GetParam()), EDatabaseError);
    // Read forward, the file is open; kept in memory, nothing is held after Open.
    EXPECT_EQ(isOpenHere(file), !GetParam());
    query.Close();
    EXPECT_FALSE(isOpenHere(file));
    EXPECT_TRUE(std::filesystem::remove(file));
}

// The statement runs once per walk: Open stays on the first row, the walk goes on from there,
// a bookmark taken at the start is gone back to without a run, and the count comes from the
// walk. Only a count asked before the walk reached the end runs a count of its own.
TEST_P(SQLiteQueryTest, TheStatementRunsOncePerWalk) {
    fillNumbers(500);
    testing::SqlCallCounter counter;
    query.SQL().Add("SELECT n, word FROM numbers WHERE tick() ORDER BY n");
    query.Open();
    const std::int64_t atOpen = counter.calls();
    EXPECT_EQ(query.KnownRecordCount().has_value(), GetParam()) << "only kept rows are counted at Open";
    const TBookmark start = query.GetBookmark();
    std::int64_t walked = 0;
    for (query.First(); !query.Eof(); query.Next()) ++walked;
    query.GotoBookmark(start);
    query.FreeBookmark(start);
    EXPECT_EQ(query.FieldByName("n")->Value(), Variant(std::int64_t{1}));
    EXPECT_EQ(query.KnownRecordCount(), std::optional<std::int64_t>(500));
    EXPECT_EQ(query.RecordCount(), 500);
    EXPECT_EQ(walked, 500);
    EXPECT_EQ(counter.calls(), 500) << "one run of 500 rows (" << atOpen << " of them at Open)";

    query.Close();
    query.Open();
    EXPECT_EQ(query.RecordCount(), 500);
    EXPECT_EQ(query.RecordCount(), 500);
    EXPECT_EQ(counter.calls(), GetParam() ? 1000 : 1500) << "the open's run, and one count when read forward";
}

// Statements whose rows differ from run to run walk once without failing, and the bookmark the
// walk started from shows the row it was taken on. Reading a row that would take a new run
// raises instead of showing a row of another run.
TEST_P(SQLiteQueryTest, VaryingStatementsWalkOnceAndKeepTheirBookmarkedRow) {
    fillNumbers(300);
    const std::vector<std::string> statements{
        "SELECT n, word FROM numbers ORDER BY random()",
        "SELECT n, random() AS r FROM numbers",
        "SELECT n, word FROM numbers WHERE abs(random()) % 2 = 0",
        "SELECT n, randomblob(8) AS b FROM numbers",
        "SELECT n, julianday('now') AS j FROM numbers",
        "SELECT n, strftime('%f', 'now') AS s FROM numbers",
        "SELECT n, word FROM numbers ORDER BY random() LIMIT abs(random()) % 50 + 1",
    };
    for (const std::string& sql : statements) {
        SCOPED_TRACE(sql);
        query.Close();
        query.SQL().SetText(sql);
        query.Open();
        const std::string firstRow = query.Fields(0)->AsString() + "|" + query.Fields(1)->AsString();
        const TBookmark start = query.GetBookmark();
        std::set<std::string> seen;
        std::int64_t walked = 0;
        for (query.First(); !query.Eof(); query.Next(), ++walked)
            EXPECT_TRUE(seen.insert(query.Fields(0)->AsString()).second) << "a row of another run";
        EXPECT_EQ(query.RecordCount(), walked);
        ASSERT_NO_THROW(query.GotoBookmark(start));
        query.FreeBookmark(start);
        EXPECT_EQ(query.Fields(0)->AsString() + "|" + query.Fields(1)->AsString(), firstRow);
        EXPECT_EQ(query.RecNo(), 1);
    }

    query.Close();
    query.SQL().SetText("SELECT n, random() AS r FROM numbers");
    query.Open();
    const TBookmark start = query.GetBookmark();
    while (!query.Eof()) query.Next();
    query.GotoBookmark(start);
    if (GetParam()) {
        query.Next();
        EXPECT_EQ(query.Fields(0)->Value(), Variant(std::int64_t{2}));
        return;
    }
    EXPECT_EQ(errorOf([&] { query.Next(); }),
              "Query Consulta on " + (folder / "shop.sqlite").string() +
                  ": row 1 cannot be read again: the statement gives other rows each time it runs (random values or "
                  "the current time); going to the first record reads the rows again");
    EXPECT_EQ(query.RecNo(), 1);
    query.First();
    query.Next();
    EXPECT_EQ(query.Fields(0)->Value(), Variant(std::int64_t{2}));
}

// What SQLite says comes into messages escaped: control bytes and bad UTF-8 of a table name or
// a path never reach a terminal raw.
TEST_P(SQLiteQueryTest, SQLiteMessagesAndPathsAreEscaped) {
    query.SQL().SetText("SELECT * FROM \"\xFF\xFE\x1B[31m\"");
    const std::string message = errorOf([&] { query.Open(); });
    EXPECT_NE(message.find("no such table: \\xFF\\xFE\\x1B[31m"), std::string::npos) << message;

    const std::filesystem::path odd = folder / "a\x1B[2Jb.sqlite";
    std::filesystem::copy_file(folder / "shop.sqlite", odd);
    query.SetFileName(odd.filename().string());
    const std::string named = errorOf([&] { query.Open(); });
    EXPECT_NE(named.find("a\\x1B[2Jb.sqlite"), std::string::npos) << named;
    EXPECT_EQ(named.find('\x1B'), std::string::npos) << named;
}
}  // namespace
}  // namespace tabulix::data
