// A transfer from an SQLite query read forward: the statement runs once however the transfer
// walks, counts and goes back, and another connection writing meanwhile changes nothing on the
// sheet, in either journal mode.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "component/tabulix.h"
#include "component/tests/spreadsheet_fixture.h"
#include "data/sqlite_query.h"
#include "data/tests/dbf_fixture.h"
#include "data/tests/sqlite_test_support.h"

namespace tabulix::component::testing {
namespace {

using data::testing::tryExecute;

class QueryTransferTest : public EmbeddedSpreadsheetTest {
protected:
    void SetUp() override {
        EmbeddedSpreadsheetTest::SetUp();
        query.SetName("Consulta");
        query.SQL().SetText("SELECT n, word FROM numbers WHERE tick()");
        useDatabase("numbers.sqlite", "DELETE");
        tabulix.SetDatos(&query);
        tabulix.OnProgreso = [this](std::int64_t done, std::int64_t total) {
            progress.emplace_back(done, total);
            if (duringTransfer) duringTransfer();
        };
    }

    // A new database in `journalMode` with table "numbers": n from 1 to kRows, word "n1", "n2"...
    void useDatabase(const std::string& name, const std::string& journalMode) {
        database = folder / name;
        ASSERT_EQ(tryExecute(database, "PRAGMA journal_mode = " + journalMode +
                                        "; CREATE TABLE numbers (n INTEGER, word TEXT);"
                                        "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < " +
                                        std::to_string(kRows) + ") INSERT INTO numbers SELECT i, 'n' || i FROM c;"),
                  SQLITE_OK);
        query.SetFileName(database.string());
    }

    spreadsheet::Worksheet& sheet() {
        auto* ws = dynamic_cast<spreadsheet::Worksheet*>(tabulix.ExcelWorksheet()->Object().get());
        if (!ws) throw std::runtime_error("the component has no embedded worksheet");
        return *ws;
    }
    std::string text(const std::string& name) { return sheet().value(cell(name)).toText(); }

    static constexpr int kRows = 5000;
    data::testing::TempFolder folder;
    std::filesystem::path database;
    data::testing::SqlCallCounter calls;
    data::TSQLiteQuery query;
    TTabulix tabulix{nullptr};
    std::vector<std::pair<std::int64_t, std::int64_t>> progress;
    std::function<void()> duringTransfer;
};

TEST_F(QueryTransferTest, TheStatementRunsOncePerTransferAndProgressHasNoTotalToRunItForAgain) {
    query.Open();
    tabulix.TraspasarNuevoLibro();

    EXPECT_EQ(calls.calls(), kRows) << "one run of the statement";
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), std::make_pair(std::int64_t{kRows}, std::int64_t{-1}));
    EXPECT_EQ(tabulix.UltimaFilaDatos() - tabulix.PrimeraFilaDatos() + 1, kRows);
    EXPECT_EQ(text("B2"), "n1");
    EXPECT_EQ(text("B" + std::to_string(kRows + 1)), "n" + std::to_string(kRows));
    EXPECT_EQ(query.RecNo(), 1) << "back on the bookmarked record";
    EXPECT_EQ(query.FieldByName("word")->AsString(), "n1");
    EXPECT_EQ(query.RecordCount(), kRows) << "known from the walk";
    EXPECT_EQ(calls.calls(), kRows);

    // Rows kept in memory know their count: the progress has its total.
    query.Close();
    query.SetKeepRowsInMemory(true);
    query.Open();
    progress.clear();
    tabulix.TraspasarNuevoLibro();
    EXPECT_EQ(calls.calls(), 2 * kRows);
    EXPECT_EQ(progress.back(), std::make_pair(std::int64_t{kRows}, std::int64_t{kRows}));
}

// Another connection changes the first row, deletes the last and adds one while the transfer
// is under way: in WAL mode it commits and the sheet still shows the state the query opened on;
// in rollback-journal mode it cannot commit until the query closes.
TEST_F(QueryTransferTest, AWriterDuringTheTransferChangesNothingOnTheSheet) {
    for (const std::string mode : {"WAL", "DELETE"}) {
        SCOPED_TRACE(mode);
        useDatabase(mode + ".sqlite", mode);
        int written = -1;
        duringTransfer = [&] {
            if (written == -1)
                written = tryExecute(database, "BEGIN; UPDATE numbers SET word = 'changed' WHERE n = 1;"
                                            "DELETE FROM numbers WHERE n = " + std::to_string(kRows) + ";"
                                            "INSERT INTO numbers VALUES (-1, 'new'); COMMIT");
        };
        query.Open();
        tabulix.TraspasarNuevoLibro();
        query.Close();

        EXPECT_EQ(written, mode == "WAL" ? SQLITE_OK : SQLITE_BUSY);
        EXPECT_EQ(tabulix.UltimaFilaDatos() - tabulix.PrimeraFilaDatos() + 1, kRows);
        EXPECT_EQ(text("B2"), "n1");
        EXPECT_EQ(text("B" + std::to_string(kRows + 1)), "n" + std::to_string(kRows));
    }
}

}  // namespace
}  // namespace tabulix::component::testing
