// Reports made on several threads at once: each thread's workbooks equal, part by part, those of
// the same transfers made one after another on one thread; and a component used from a thread
// other than the one that connected it is refused with an error that says so.

#include <gtest/gtest.h>
#include <pthread.h>
#include <sqlite3.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <latch>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "automation/application_provider.h"
#include "automation/automation_error.h"
#include "automation/dispids.h"
#include "component/tabulix.h"
#include "data/sqlite_query.h"
#include "data/table.h"
#include "spreadsheet/embedded_spreadsheet.h"

namespace fs = std::filesystem;
using namespace tabulix;
using automation::AutomationError;
using automation::Variant;
using component::TTabulix;

namespace {

fs::path demoTable() {
    const char* source = std::getenv("TABULIX_SOURCE_DIR");
    return fs::path(source ? source : ".") / "demo" / "Demo.DBF";
}

// A sales table of `rows` rows in a new SQLite database.
void writeSalesDatabase(const fs::path& file, int rows) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    std::string sql =
        "CREATE TABLE ventas (CODIGO TEXT, DESCRIPCION TEXT, UNIDADES INTEGER, PRECIO REAL, IMPORTE REAL);"
        "BEGIN;";
    for (int i = 1; i <= rows; ++i) {
        const std::string units = std::to_string(i % 97 + 1);
        const std::string price = std::to_string(i % 13) + "." + std::to_string(i % 100);
        sql += "INSERT INTO ventas VALUES ('A" + std::to_string(10000 + i) + "', 'Art\xC3\xAD" "culo " +
               std::to_string(i % 211) + "', " + units + ", " + price + ", " + units + " * " + price + ");";
    }
    sql += "COMMIT;";
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// One report: where its rows come from, its formula records and its chart.
struct Report {
    bool fromDbf;
    std::string title;
    std::int32_t firstRow;
    component::TTipoGrafico chart;
};

const Report kReports[] = {
    {true, "VENTAS 1", 1, component::TTipoGrafico::xlColumn},
    {false, "IMPORTES 1", 2, component::TTipoGrafico::xlLine},
    {true, "", 3, component::TTipoGrafico::xlBar},
    {false, "IMPORTES 2", 1, component::TTipoGrafico::xl3DColumn},
    {true, "VENTAS 2", 4, component::TTipoGrafico::xlPie},
    {false, "", 1, component::TTipoGrafico::xlColumn},
    {true, "VENTAS 3", 2, component::TTipoGrafico::xlLine},
    {false, "IMPORTES 3", 5, component::TTipoGrafico::xlBar},
    {true, "VENTAS 4", 1, component::TTipoGrafico::xl3DColumn},
    {false, "IMPORTES 4", 3, component::TTipoGrafico::xlColumn},
    {true, "", 1, component::TTipoGrafico::xlLine},
    {false, "IMPORTES 5", 2, component::TTipoGrafico::xlPie},
};

const char* const kDbfRecords[] = {
    "VENTAS_ENE;0;C;1;TOTAL VENTAS MENSUALES:;0;2;",
    "VENTAS_FEB;0;D;1;;0;0;",
    "VENTAS_MAR;0;E;1;;0;0;",
    "VENTAS_MAR;4;E;3;TOTAL VENTAS:;0;2;=(#F01#+#F02#+#F03#)",
    "VENTAS_MAR;4;E;4;Desviaci\xC3\xB3n Estandard Ventas Enero:;0;2;=STDEV(#T_VENTAS_ENE#)",
};
const char* const kSqliteRecords[] = {
    "UNIDADES;0;C;1;TOTAL:;0;2;",
    "PRECIO;1;D;1;;0;0;",
    "IMPORTE;2;E;1;;0;0;",
    "IMPORTE;4;E;3;MEDIA POR UNIDAD:;0;2;=#F03#/#F01#",
};

// Transfers one report into a new workbook, adds its chart, saves it to `file` and closes it.
void makeReport(const Report& report, const fs::path& database, const fs::path& file) {
    std::unique_ptr<data::TDataSet> rows;
    if (report.fromDbf) {
        auto table = std::make_unique<data::TTable>();
        table->SetDatabaseName(demoTable().parent_path().string());
        table->SetTableName(demoTable().filename().string());
        rows = std::move(table);
    } else {
        auto query = std::make_unique<data::TSQLiteQuery>();
        query->SetFileName(database.string());
        query->SQL().SetText("SELECT * FROM ventas ORDER BY CODIGO");
        rows = std::move(query);
    }
    rows->Open();
    TTabulix tabulix(nullptr);
    tabulix.SetDatos(rows.get());
    for (const char* record : report.fromDbf ? std::span<const char* const>(kDbfRecords)
                                                     : std::span<const char* const>(kSqliteRecords))
        tabulix.Formulas().Add(record);
    tabulix.Titulo = report.title;
    tabulix.FilaInicial = report.firstRow;
    tabulix.TraspasarNuevoLibro();
    const std::int32_t last = std::min(tabulix.PrimeraFilaDatos() + 20, tabulix.UltimaFilaDatos());
    tabulix.CrearGrafico("Gr\xC3\xA1" "fico", tabulix.Casilla('C', tabulix.PrimeraFilaDatos()), tabulix.Casilla('E', last),
                         report.chart, component::TColumna_Fila::xlEnColumna, report.title, "Art\xC3\xAD" "culos",
                         "Importe", "", 0, 0, true);
    automation::DispatchPtr book = tabulix.ExcelWorkbook()->Object();
    book->call(automation::dispid::SaveAs, {Variant(file.string())});
    book->call(automation::dispid::Close, {Variant(false)});
}

std::map<std::string, std::string> zipParts(const fs::path& file) {
    std::map<std::string, std::string> parts;
    int code = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_RDONLY, &code);
    if (!archive) {
        ADD_FAILURE() << "cannot open " << file << " (libzip error " << code << ")";
        return parts;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
        std::string content(stat.size, '\0');
        zip_file_t* part = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        EXPECT_EQ(zip_fread(part, content.data(), stat.size), static_cast<zip_int64_t>(stat.size)) << stat.name;
        zip_fclose(part);
        parts[stat.name] = std::move(content);
    }
    zip_discard(archive);
    return parts;
}

class ParallelTransfers : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("tabulix_parallel_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "one_by_one");
        fs::create_directories(folder / "at_once");
        writeSalesDatabase(folder / "ventas.sqlite", 3000);
        spreadsheet::installEmbeddedSpreadsheet();
    }
    void TearDown() override {
        automation::shutDownRunningApplication();
        fs::remove_all(folder);
    }

    fs::path folder;
};

}  // namespace

TEST_F(ParallelTransfers, FourThreadsOfThreeReportsSaveWhatOneThreadSavesOneAfterAnother) {
    constexpr std::size_t kThreads = 4;
    constexpr std::size_t kEach = std::size(kReports) / kThreads;
    const fs::path database = folder / "ventas.sqlite";
    auto name = [](std::size_t i) { return "report" + std::to_string(i) + ".xlsx"; };

    for (std::size_t i = 0; i < std::size(kReports); ++i) makeReport(kReports[i], database, folder / "one_by_one" / name(i));

    std::latch start(kThreads);
    std::vector<std::string> failures(kThreads);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            start.arrive_and_wait();  // all four transfer at the same time
            try {
                for (std::size_t i = t * kEach; i < (t + 1) * kEach; ++i)
                    makeReport(kReports[i], database, folder / "at_once" / name(i));
            } catch (const std::exception& e) {
                failures[t] = e.what();
            }
        });
    for (auto& thread : threads) thread.join();
    for (std::size_t t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], "") << "thread " << t;

    for (std::size_t i = 0; i < std::size(kReports); ++i) {
        const auto expected = zipParts(folder / "one_by_one" / name(i));
        const auto got = zipParts(folder / "at_once" / name(i));
        // What the reports hold: rows, formula results and a chart, so the comparison means something.
        ASSERT_TRUE(expected.contains("xl/charts/chart1.xml")) << name(i);
        EXPECT_NE(expected.at("xl/worksheets/sheet1.xml").find("<f>"), std::string::npos) << name(i);
        ASSERT_EQ(expected.size(), got.size()) << name(i);
        for (const auto& [part, content] : expected) {
            ASSERT_TRUE(got.contains(part)) << name(i) << " lacks " << part;
            EXPECT_TRUE(got.at(part) == content) << "part " << part << " of " << name(i) << " differs";
        }
    }
}

TEST_F(ParallelTransfers, AComponentUsedFromAnotherThreadIsRefusedAndKeepsWorkingOnItsOwn) {
    pthread_setname_np(pthread_self(), "report-owner");
    data::TTable table;
    table.SetDatabaseName(demoTable().parent_path().string());
    table.SetTableName(demoTable().filename().string());
    table.Open();
    TTabulix tabulix(nullptr);
    tabulix.SetDatos(&table);
    tabulix.TraspasarNuevoLibro();
    const std::string firstCode = tabulix.ExcelWorksheet()->Object()->get("Range", {Variant("A2")}).toObject()->get("Value").toText();

    std::vector<std::pair<std::string, std::string>> refused;  // operation, message
    std::thread other([&] {
        pthread_setname_np(pthread_self(), "report-other");
        auto attempt = [&](const char* operation, auto call) {
            try {
                call();
                refused.emplace_back(operation, "(accepted)");
            } catch (const AutomationError& e) {
                refused.emplace_back(operation, e.scode() == AutomationError::kWrongThread ? e.what() : "(other error)");
            }
        };
        attempt("ValorCasilla", [&] { tabulix.ValorCasilla("A2", Variant("from elsewhere")); });
        attempt("Traspasar", [&] { tabulix.Traspasar(); });
        attempt("CrearHoja", [&] { tabulix.CrearHoja(); });
        attempt("Libros", [&] { tabulix.Libros(); });
        // Its automation objects handed over are refused in the same way.
        attempt("Worksheet", [&] { tabulix.ExcelWorksheet()->Object()->get("Name"); });
    });
    other.join();

    ASSERT_EQ(refused.size(), 5u);
    for (const auto& [operation, message] : refused) {
        const std::string member = operation == "Worksheet" ? "Worksheet.Name" : "TTabulix." + operation;
        EXPECT_EQ(message.rfind(member + ": called from thread ", 0), 0u) << message;
        EXPECT_NE(message.find("(report-other), but "), std::string::npos) << message;
        EXPECT_NE(message.find("(report-owner)"), std::string::npos) << message;
    }
    // Nothing changed, and the owning thread carries on.
    automation::DispatchPtr sheet = tabulix.ExcelWorksheet()->Object();
    EXPECT_EQ(sheet->get("Range", {Variant("A2")}).toObject()->get("Value").toText(), firstCode);
    EXPECT_EQ(tabulix.Libros()->Count(), 1);
    tabulix.ValorCasilla("A2", Variant("here"));
    EXPECT_EQ(sheet->get("Range", {Variant("A2")}).toObject()->get("Value").toText(), "here");
}
