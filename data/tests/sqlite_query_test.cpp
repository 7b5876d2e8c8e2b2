#include <gtest/gtest.h>

#include <sqlite3.h>

#include "data/date_time.h"
#include "data/field_classes.h"
#include "data/sqlite_query.h"
#include "data/tests/dbf_fixture.h"

namespace tabulix::data {
namespace {

using automation::Variant;
using testing::TempFolder;

void execute(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    const int result = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(result, SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

class SQLiteQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
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

    TempFolder folder;
    TSQLiteQuery query;
};

TEST_F(SQLiteQueryTest, FieldClassesFollowDeclaredTypesAndNullsStayNull) {
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

TEST_F(SQLiteQueryTest, ExpressionsTakeTheirClassFromTheFirstValue) {
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

TEST_F(SQLiteQueryTest, ParametersAndBookmarks) {
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

TEST_F(SQLiteQueryTest, ErrorsNameTheQueryAndTheProblem) {
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
TEST_F(SQLiteQueryTest, TextsAreValidUtf8AndBlobBytesAreNeverShown) {
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

TEST_F(SQLiteQueryTest, ValuesInMessagesAreEscapedAndShortened) {
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

TEST_F(SQLiteQueryTest, DatesOutsideTheCalendarAreRefused) {
    execute(folder / "shop.sqlite",
            "CREATE TABLE far (d DATE); INSERT INTO far VALUES (1.8e44), (-1e300), (253402300800), ('0099-12-31');");
    query.SQL().Add("SELECT d FROM far");
    query.Open();
    for (; !query.Eof(); query.Next())
        EXPECT_THROW(query.Fields(0)->AsString(), EDatabaseError) << query.RecNo();
    EXPECT_THROW(formatIsoDate(automation::Date{1.8e44}), EDatabaseError);
}

TEST_F(SQLiteQueryTest, SourceFilesNameTheDatabase) {
    query.SQL().Add("SELECT 1");
    EXPECT_TRUE(query.SourceFiles().empty());
    query.Open();
    ASSERT_EQ(query.SourceFiles().size(), 1u);
    EXPECT_TRUE(std::filesystem::equivalent(query.SourceFiles()[0], folder / "shop.sqlite"));
}

}  // namespace
}  // namespace tabulix::data
