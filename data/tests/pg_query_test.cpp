// TPgQuery against a real PostgreSQL server (started by with_postgres.sh, which gives it in the
// TABULIX_PG_* variables; every test is skipped without it): the field classes and values of
// every type, NULLs, 100,000 rows equal to the same rows through SQLite, the snapshot and
// bookmarks, errors that name server, database and place in the SQL, and passwords never shown
// nor stored.

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdlib>
#include <fstream>

#include "data/data_classes.h"
#include "data/date_time.h"
#include "data/field_classes.h"
#include "data/pg_query.h"
#include "data/sqlite_query.h"
#include "data/tests/dbf_fixture.h"
#include "framework/form_reader.h"
#include "framework/form_writer.h"

namespace tabulix::data {
namespace {

using automation::Variant;

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// host, port and user of the test server, without the password.
std::string serverText(const std::string& database = "postgres") {
    return "host=" + env("TABULIX_PG_HOST") + " port=" + env("TABULIX_PG_PORT") + " user=" + env("TABULIX_PG_USER") +
           " dbname=" + database;
}

// Runs statements as the server's owner, outside any query under test.
void admin(const std::string& sql, const std::string& database = "tabulix_test") {
    PGconn* connection = PQconnectdb((serverText(database) + " password=" + env("TABULIX_PG_PASSWORD")).c_str());
    ASSERT_EQ(PQstatus(connection), CONNECTION_OK) << PQerrorMessage(connection);
    PGresult* result = PQexec(connection, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    EXPECT_TRUE(status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) << PQresultErrorMessage(result) << sql;
    PQclear(result);
    PQfinish(connection);
}

template <class Action> std::string errorOf(Action action) {
    try {
        action();
    } catch (const EDatabaseError& e) {
        return e.what();
    }
    return "(none)";
}

class PgQueryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (env("TABULIX_PG_PORT").empty()) return;
        admin("DROP DATABASE IF EXISTS tabulix_test", "postgres");
        admin("CREATE DATABASE tabulix_test", "postgres");
        admin("CREATE TABLE tipos (s smallint, i integer, b bigint, r real, d double precision, n numeric(12,2),"
              " nu numeric, nw numeric(30,10), m money, f boolean, dt date, t time, tz time with time zone,"
              " ts timestamp, tsz timestamp with time zone, by bytea, c char(5), v varchar(10), tx text, j json,"
              " jb jsonb, u uuid, a integer[], iv interval);"
              "INSERT INTO tipos VALUES (-2, 40000, 9000000000, 1.5, 2.25, 1234.56, 3.14159, 12.5, 1234.5, true,"
              " '2024-03-15', '08:15:30', '10:30:00+02', '2024-03-15 10:30:00.25', '2024-03-15 10:30:00+00',"
              " '\\x00ff10', 'ab', 'Camión', 'line 1\nline 2', '{\"a\": 1}', '{\"b\": [1, 2]}',"
              " 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11', '{1,2,3}', '1 day 02:00:00');"
              "INSERT INTO tipos (s) VALUES (NULL);");
    }
    void SetUp() override {
        if (env("TABULIX_PG_PORT").empty()) GTEST_SKIP() << "no test server (run through with_postgres.sh)";
        query.SetName("Consulta");
        query.SetConnectionString(serverText("tabulix_test"));
        query.SetPassword(env("TABULIX_PG_PASSWORD"));
    }

    TPgQuery query;
};

TEST_F(PgQueryTest, EveryTypeHasItsFieldClassValueAndFormat) {
    query.SQL().SetText("SELECT * FROM tipos ORDER BY s NULLS LAST");
    query.Open();
    const auto field = [&](const char* name) { return query.FieldByName(name); };
    const auto cls = [&](const char* name) { return field(name)->ClassName(); };
    EXPECT_EQ(cls("s"), "TSmallintField");
    EXPECT_EQ(cls("i"), "TIntegerField");
    EXPECT_EQ(cls("b"), "TLargeintField");
    EXPECT_EQ(cls("r"), "TFloatField");
    EXPECT_EQ(cls("n"), "TBCDField");
    EXPECT_EQ(cls("nu"), "TFloatField");
    EXPECT_EQ(cls("nw"), "TFloatField");  // more than four decimals: not exact as currency
    EXPECT_EQ(cls("m"), "TCurrencyField");
    EXPECT_EQ(cls("f"), "TBooleanField");
    EXPECT_EQ(cls("dt"), "TDateField");
    EXPECT_EQ(cls("t"), "TTimeField");
    EXPECT_EQ(cls("tsz"), "TDateTimeField");
    EXPECT_EQ(cls("by"), "TBlobField");
    for (const char* text : {"c", "v", "tx", "j", "jb", "u", "a", "iv"}) EXPECT_EQ(cls(text), "TStringField") << text;
    EXPECT_EQ(field("v")->Size(), 10);
    EXPECT_EQ(dynamic_cast<TNumericField*>(field("n"))->DisplayFormat(), "###,##0.00");

    EXPECT_EQ(field("s")->Value(), Variant(std::int32_t{-2}));
    EXPECT_EQ(field("b")->Value(), Variant(std::int64_t{9000000000}));
    EXPECT_EQ(field("d")->Value(), Variant(2.25));
    EXPECT_EQ(field("n")->Value().toCurrency().scaled, 12345600);
    EXPECT_EQ(field("nu")->Value(), Variant(3.14159));
    EXPECT_EQ(field("m")->Value().toDouble(), 1234.5);
    EXPECT_EQ(field("f")->Value(), Variant(true));
    EXPECT_EQ(formatIsoDate(field("dt")->Value().toDate()), "2024-03-15");
    EXPECT_EQ(formatIsoTime(field("t")->Value().toDate()), "08:15:30");
    EXPECT_EQ(formatIsoTime(field("tz")->Value().toDate()), "10:30:00");
    EXPECT_EQ(formatIsoDateTime(field("ts")->Value().toDate()), "2024-03-15 10:30:00");
    EXPECT_EQ(field("by")->Value(), Variant("(BLOB, 3 bytes)"));
    EXPECT_EQ(dynamic_cast<TBlobField*>(field("by"))->AsBytes(), std::string("\x00\xff\x10", 3));
    EXPECT_EQ(field("c")->Value(), Variant("ab   "));
    EXPECT_EQ(field("v")->Value(), Variant("Camión"));
    EXPECT_EQ(field("tx")->Value(), Variant("line 1\nline 2"));
    EXPECT_EQ(field("jb")->Value(), Variant("{\"b\": [1, 2]}"));
    EXPECT_EQ(field("a")->Value(), Variant("{1,2,3}"));

    query.Next();
    for (int f = 0; f < query.FieldCount(); ++f) EXPECT_TRUE(query.Fields(f)->IsNull()) << query.Fields(f)->FieldName();
    EXPECT_EQ(query.RecordCount(), 2);
}

TEST_F(PgQueryTest, AHundredThousandRowsEqualTheSameRowsThroughSqlite) {
    constexpr int kRows = 100'000;
    const char* rows =
        "SELECT g AS id, 'Artículo ' || g AS nombre, (g % 1000) * 0.25 AS importe, g % 3 = 0 AS activo,"
        " CASE WHEN g % 7 = 0 THEN NULL ELSE 'lote ' || (g % 97) END AS lote FROM generate_series(1, 100000) g";
    admin(std::string("CREATE TABLE filas AS ") + rows);
    testing::TempFolder folder;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((folder / "filas.sqlite").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE filas (id INTEGER, nombre TEXT, importe REAL, activo BOOLEAN, lote TEXT);"
                           "WITH RECURSIVE s(g) AS (SELECT 1 UNION ALL SELECT g + 1 FROM s WHERE g < 100000)"
                           " INSERT INTO filas SELECT g, 'Artículo ' || g, (g % 1000) * 0.25, g % 3 = 0,"
                           " CASE WHEN g % 7 = 0 THEN NULL ELSE 'lote ' || (g % 97) END FROM s",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    TSQLiteQuery lite;
    lite.SetFileName((folder / "filas.sqlite").string());
    lite.SQL().SetText("SELECT * FROM filas ORDER BY id");
    lite.Open();
    query.SQL().SetText("SELECT id, nombre, importe::float8 AS importe, activo, lote FROM filas ORDER BY id");
    query.Open();
    ASSERT_EQ(query.FieldCount(), lite.FieldCount());
    int n = 0;
    for (; !query.Eof() && !lite.Eof(); query.Next(), lite.Next(), ++n)
        for (int f = 0; f < query.FieldCount(); ++f)
            ASSERT_EQ(query.Fields(f)->AsString(), lite.Fields(f)->AsString())
                << "row " << n + 1 << ", " << query.Fields(f)->FieldName();
    EXPECT_EQ(n, kRows);
    EXPECT_TRUE(query.Eof() && lite.Eof());
    EXPECT_EQ(query.KnownRecordCount(), kRows);
}

TEST_F(PgQueryTest, OneSnapshotPerOpeningAndBookmarksThatKeepTheirRows) {
    admin("CREATE TABLE cuenta (n integer); INSERT INTO cuenta SELECT generate_series(1, 2500)");
    query.SQL().SetText("SELECT n FROM cuenta ORDER BY n");
    query.Open();
    EXPECT_EQ(query.KnownRecordCount(), std::nullopt);
    admin("INSERT INTO cuenta SELECT generate_series(2501, 2600)");
    EXPECT_EQ(query.RecordCount(), 2500);  // counted on the snapshot the query opened with
    for (int i = 1; i < 1500; ++i) query.Next();
    const TBookmark mark = query.GetBookmark();
    while (!query.Eof()) query.Next();
    EXPECT_EQ(query.Fields(0)->Value(), Variant(std::int32_t{2500}));
    query.GotoBookmark(mark);
    EXPECT_EQ(query.Fields(0)->Value(), Variant(std::int32_t{1500}));
    query.Next();
    EXPECT_EQ(query.Fields(0)->Value(), Variant(std::int32_t{1501}));
    query.Close();
    query.Open();
    EXPECT_EQ(query.RecordCount(), 2600);
    query.Close();

    // Rows that differ from run to run: going on from a bookmark raises instead of mixing runs.
    query.SQL().SetText("SELECT n, random() AS r FROM cuenta");
    query.Open();
    query.Next();
    const TBookmark second = query.GetBookmark();
    query.Next();
    query.GotoBookmark(second);
    EXPECT_NE(errorOf([&] { query.Next(); }).find("row 2: the row differs"), std::string::npos);
}

TEST_F(PgQueryTest, ErrorsNameServerDatabaseAndPlaceInTheSql) {
    query.SQL().SetText("SELECT n\nFROM no_such_table");
    std::string message = errorOf([&] { query.Open(); });
    EXPECT_NE(message.find("PostgreSQL query Consulta (host 127.0.0.1, port " + env("TABULIX_PG_PORT") +
                           ", database tabulix_test)"),
              std::string::npos)
        << message;
    EXPECT_NE(message.find("relation \"no_such_table\" does not exist (line 2, column 6 of the SQL"), std::string::npos)
        << message;

    query.SQL().SetText("SELECT 1; DROP TABLE tipos");
    EXPECT_NE(errorOf([&] { query.Open(); }).find("more than one statement"), std::string::npos);
    query.SQL().SetText("DELETE FROM tipos");
    EXPECT_NE(errorOf([&] { query.Open(); }).find("only statements that read"), std::string::npos);
    // A statement that writes inside one that reads is refused by the server.
    query.SQL().SetText("WITH x AS (DELETE FROM tipos RETURNING 1) SELECT * FROM x");
    EXPECT_NE(errorOf([&] { query.Open(); }), "(none)");
    query.SQL().SetText("SELECT s, nextval('serie') FROM tipos");
    admin("CREATE SEQUENCE serie");
    EXPECT_NE(errorOf([&] { query.Open(); }).find("read-only transaction"), std::string::npos);
    query.SQL().SetText("SELECT count(*) AS n FROM tipos");
    query.Open();
    EXPECT_EQ(query.Fields(0)->Value(), Variant(std::int64_t{2})) << "nothing was deleted";
    query.Close();
    query.SQL().SetText("SELECT ';' AS semicolon, $1::int AS p -- a comment; not a statement\n;");
    query.SetParam(1, Variant(std::int32_t{7}));
    query.Open();
    EXPECT_EQ(query.FieldByName("p")->Value(), Variant(std::int32_t{7}));
    query.Close();
    query.SetParam(3, Variant(1));
    EXPECT_NE(errorOf([&] { query.Open(); }).find("parameter $2 has no value"), std::string::npos);
}

TEST_F(PgQueryTest, PasswordsAreNeverShownNorStored) {
    const std::string password = env("TABULIX_PG_PASSWORD");
    TPgQuery wrong;
    wrong.SetConnectionString(serverText("tabulix_test") + " password='wrong-" + password + "'");
    EXPECT_EQ(wrong.ConnectionString().find("wrong-"), std::string::npos) << wrong.ConnectionString();
    wrong.SQL().SetText("SELECT 1");
    const std::string message = errorOf([&] { wrong.Open(); });
    EXPECT_NE(message.find("password authentication failed"), std::string::npos) << message;
    EXPECT_NE(message.find("database tabulix_test"), std::string::npos) << message;
    EXPECT_EQ(message.find(password), std::string::npos) << message;

    // A password libpq cannot read the text around is not echoed either.
    EXPECT_EQ(errorOf([&] { wrong.SetConnectionString("host=x password " + password); }).find(password),
              std::string::npos);

    // The form file written from a query holds no password, whichever way it was given.
    RegisterDataClasses();
    const std::string form = "object Datos: TDataModule\n  object Consulta: TPgQuery\n    ConnectionString = '" +
                             serverText("tabulix_test") + " password=" + password +
                             "'\n    SQL.Strings = (\n      'SELECT * FROM tipos')\n  end\nend\n";
    std::unique_ptr<framework::TComponent> root = framework::ReadForm(form, "Datos.form");
    auto* read = dynamic_cast<TPgQuery*>(root->FindComponent("Consulta"));
    ASSERT_NE(read, nullptr);
    read->Open();  // the password read from the form still connects
    EXPECT_EQ(read->FieldCount(), 24);
    read->Close();
    const std::string written = framework::WriteForm(*root);
    EXPECT_EQ(written.find(password), std::string::npos) << written;
    EXPECT_NE(read->ConnectionString().find("dbname=tabulix_test"), std::string::npos) << read->ConnectionString();

    // From the environment and from the password file.
    TPgQuery fromEnvironment;
    fromEnvironment.SetConnectionString(serverText("tabulix_test"));
    fromEnvironment.SQL().SetText("SELECT nonsense");
    setenv("PGPASSWORD", password.c_str(), 1);
    const std::string environmentError = errorOf([&] { fromEnvironment.Open(); });
    unsetenv("PGPASSWORD");
    EXPECT_NE(environmentError.find("column \"nonsense\" does not exist"), std::string::npos) << environmentError;
    testing::TempFolder folder;
    std::ofstream(folder / "pgpass") << "127.0.0.1:" << env("TABULIX_PG_PORT") << ":*:tabulix:" << password << "\n";
    std::filesystem::permissions(folder / "pgpass", std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    setenv("PGPASSFILE", (folder / "pgpass").c_str(), 1);
    fromEnvironment.SQL().SetText("SELECT 1 AS uno");
    fromEnvironment.Open();
    unsetenv("PGPASSFILE");
    EXPECT_EQ(fromEnvironment.Fields(0)->Value(), Variant(std::int32_t{1}));
    EXPECT_EQ(fromEnvironment.ServerDescription().find(password), std::string::npos);
}

TEST_F(PgQueryTest, AConnectionKilledDuringAWalkRaisesNamingTheServer) {
    query.SQL().SetText("SELECT g FROM generate_series(1, 5000) g");
    query.Open();
    admin("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = 'tabulix'");
    const std::string message = errorOf([&] {
        while (!query.Eof()) query.Next();
    });
    EXPECT_NE(message.find("PostgreSQL query Consulta (host 127.0.0.1"), std::string::npos) << message;
    EXPECT_NE(message.find("reading the rows"), std::string::npos) << message;
}

}  // namespace
}  // namespace tabulix::data
