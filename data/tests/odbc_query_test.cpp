// TOdbcQuery through real drivers: the SQLite ODBC driver (libsqliteodbc) on a database file, and
// psqlODBC (odbc-postgresql) on the PostgreSQL server with_postgres.sh starts for this program.
// Each driver's rows equal the native query's rows (TSQLiteQuery, TPgQuery) cell by cell; each
// case is skipped where its driver is not installed.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>

#include "data/data_classes.h"
#include "data/field_classes.h"
#include "data/odbc_query.h"
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

// The driver library installed under /usr/lib/<arch>/odbc (or /usr/lib/odbc); empty when none.
std::string driverFile(const char* name) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib", error)) {
        const std::filesystem::path candidate = entry.path() / "odbc" / name;
        if (std::filesystem::exists(candidate, error)) return candidate.string();
    }
    const std::filesystem::path flat = std::filesystem::path("/usr/lib/odbc") / name;
    return std::filesystem::exists(flat, error) ? flat.string() : std::string();
}

template <class Action> std::string errorOf(Action action) {
    try {
        action();
    } catch (const EDatabaseError& e) {
        return e.what();
    }
    return "(none)";
}

// Walks both data sets to their ends, every field's text equal.
void expectSameRows(TDataSet& odbc, TDataSet& native, int rows) {
    ASSERT_EQ(odbc.FieldCount(), native.FieldCount());
    int n = 0;
    for (; !odbc.Eof() && !native.Eof(); odbc.Next(), native.Next(), ++n)
        for (int f = 0; f < odbc.FieldCount(); ++f)
            ASSERT_EQ(odbc.Fields(f)->AsString(), native.Fields(f)->AsString())
                << "row " << n + 1 << ", " << odbc.Fields(f)->FieldName();
    EXPECT_EQ(n, rows);
    EXPECT_TRUE(odbc.Eof() && native.Eof());
}

TEST(OdbcSqliteDriver, RowsTypesBookmarksAndErrorsAsTheNativeQuery) {
    const std::string driver = driverFile("libsqlite3odbc.so");
    if (driver.empty()) GTEST_SKIP() << "the SQLite ODBC driver is not installed (Debian: libsqliteodbc)";
    testing::TempFolder folder;
    const std::string file = (folder / "filas.sqlite").string();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE filas (id INTEGER, nombre TEXT, importe REAL, activo BOOLEAN, alta DATE,"
                           " foto BLOB);"
                           "WITH RECURSIVE s(g) AS (SELECT 1 UNION ALL SELECT g + 1 FROM s WHERE g < 3000)"
                           " INSERT INTO filas SELECT g, 'Artículo ' || g || ' ñ€😀', (g % 1000) * 0.25, g % 3 = 0,"
                           " date('2024-01-01', '+' || (g % 365) || ' days'),"
                           " CASE WHEN g % 7 = 0 THEN NULL ELSE x'00ff10' END FROM s",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    TOdbcQuery query;
    query.SetName("Consulta");
    query.SetConnectionString("DRIVER=" + driver + ";Database=" + file);
    query.SQL().SetText("SELECT * FROM filas ORDER BY id");
    query.Open();
    EXPECT_NE(query.ServerDescription().find("ODBC query Consulta (SQLite"), std::string::npos)
        << query.ServerDescription();
    EXPECT_EQ(query.FieldByName("foto")->ClassName(), "TBlobField");
    EXPECT_EQ(query.FieldByName("foto")->AsString(), "(BLOB, 3 bytes)");
    EXPECT_EQ(query.KnownRecordCount(), std::nullopt);
    EXPECT_EQ(query.RecordCount(), 3000);
    TSQLiteQuery native;
    native.SetFileName(file);
    native.SQL().SetText("SELECT * FROM filas ORDER BY id");
    native.Open();
    expectSameRows(query, native, 3000);

    // Back to a bookmark and on from it; the last row stays after Next passed it.
    query.First();
    for (int i = 1; i < 1200; ++i) query.Next();
    const TBookmark mark = query.GetBookmark();
    while (!query.Eof()) query.Next();
    EXPECT_EQ(query.FieldByName("id")->Value(), Variant(std::int32_t{3000}));
    query.GotoBookmark(mark);
    EXPECT_EQ(query.FieldByName("id")->Value(), Variant(std::int32_t{1200}));
    query.Next();
    EXPECT_EQ(query.FieldByName("id")->Value(), Variant(std::int32_t{1201}));
    query.Close();

    query.SQL().SetText("SELECT id, ? AS texto, ? AS nada FROM filas WHERE id = ?");
    query.SetParam(1, Variant("dicho"));
    query.SetParam(2, Variant::null());
    query.SetParam(3, Variant(std::int32_t{42}));
    query.Open();
    EXPECT_EQ(query.FieldByName("texto")->AsString(), "dicho");
    EXPECT_TRUE(query.FieldByName("nada")->IsNull());
    query.Close();

    query.SQL().SetText("DELETE FROM filas");
    EXPECT_NE(errorOf([&] { query.Open(); }).find("only statements that read"), std::string::npos);
    query.SQL().SetText("SELECT nada FROM filas");
    const std::string message = errorOf([&] { query.Open(); });
    EXPECT_NE(message.find("ODBC query Consulta (SQLite"), std::string::npos) << message;
    EXPECT_NE(message.find("no such column"), std::string::npos) << message;
}

// psqlODBC on the test server; skipped without it or without the server.
class OdbcPostgresTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (env("TABULIX_PG_PORT").empty()) GTEST_SKIP() << "no test server (run through with_postgres.sh)";
        driver = driverFile("psqlodbcw.so");
        if (driver.empty()) GTEST_SKIP() << "psqlODBC is not installed (Debian: odbc-postgresql)";
        server = "Server=" + env("TABULIX_PG_HOST") + ";Port=" + env("TABULIX_PG_PORT") + ";UID=" +
                 env("TABULIX_PG_USER") + ";Database=postgres";
    }
    std::string driver, server;
};

TEST_F(OdbcPostgresTest, RowsEqualThePostgresQueryAndThePasswordNeverShows) {
    const std::string password = env("TABULIX_PG_PASSWORD");
    const std::string rows =
        "SELECT g AS id, 'Artículo ' || g AS nombre, ((g % 1000) * 0.25)::numeric(10,2) AS importe,"
        " (g % 1000) * 0.5::float8 AS medio, g % 3 = 0 AS activo, date '2024-01-01' + g % 365 AS alta,"
        " timestamp '2024-01-01 10:30:00' + g * interval '1 minute' AS sello,"
        " CASE WHEN g % 7 = 0 THEN NULL ELSE 'lote ' || (g % 97) END AS lote FROM generate_series(1, 5000) g";
    TOdbcQuery query;
    query.SetName("Consulta");
    query.SetConnectionString("DRIVER=" + driver + ";" + server + ";PWD=" + password);
    EXPECT_EQ(query.ConnectionString().find(password), std::string::npos) << query.ConnectionString();
    query.SQL().SetText(rows);
    query.Open();
    EXPECT_NE(query.ServerDescription().find("PostgreSQL"), std::string::npos) << query.ServerDescription();
    EXPECT_EQ(query.FieldByName("importe")->ClassName(), "TBCDField");
    EXPECT_EQ(query.FieldByName("alta")->ClassName(), "TDateField");
    EXPECT_EQ(query.FieldByName("sello")->ClassName(), "TDateTimeField");
    EXPECT_EQ(query.FieldByName("activo")->ClassName(), "TBooleanField");
    TPgQuery native;
    native.SetConnectionString("host=" + env("TABULIX_PG_HOST") + " port=" + env("TABULIX_PG_PORT") +
                               " user=" + env("TABULIX_PG_USER") + " dbname=postgres");
    native.SetPassword(password);
    native.SQL().SetText(rows);
    native.Open();
    expectSameRows(query, native, 5000);
    query.Close();

    // Rows that differ from run to run: going on from a bookmark raises.
    query.SQL().SetText("SELECT g, random() AS r FROM generate_series(1, 10) g");
    query.Open();
    query.Next();
    const TBookmark second = query.GetBookmark();
    query.Next();
    query.GotoBookmark(second);
    EXPECT_NE(errorOf([&] { query.Next(); }).find("row 2: the row differs"), std::string::npos);
    query.Close();

    // A wrong password: a clear message without it; a form file written from the query holds none.
    TOdbcQuery wrong;
    wrong.SetName("Mala");
    wrong.SetConnectionString("DRIVER=" + driver + ";" + server + ";PWD={x" + password + "}");
    wrong.SQL().SetText("SELECT 1");
    const std::string message = errorOf([&] { wrong.Open(); });
    EXPECT_NE(message.find("ODBC query Mala"), std::string::npos) << message;
    EXPECT_NE(message.find("cannot connect"), std::string::npos) << message;
    EXPECT_EQ(message.find(password), std::string::npos) << message;

    RegisterDataClasses();
    const std::string form = "object Datos: TDataModule\n  object Consulta: TOdbcQuery\n    ConnectionString = 'DRIVER=" +
                             driver + ";" + server + ";PWD=" + password +
                             "'\n    SQL.Strings = (\n      'SELECT 1 AS uno')\n  end\nend\n";
    std::unique_ptr<framework::TComponent> root = framework::ReadForm(form, "Datos.form");
    auto* read = dynamic_cast<TOdbcQuery*>(root->FindComponent("Consulta"));
    ASSERT_NE(read, nullptr);
    read->Open();
    EXPECT_EQ(read->Fields(0)->AsString(), "1");
    read->Close();
    const std::string written = framework::WriteForm(*root);
    EXPECT_EQ(written.find(password), std::string::npos) << written;
}

}  // namespace
}  // namespace tabulix::data
