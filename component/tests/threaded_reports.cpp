// A program as a user writes it: several threads, each with its own SQLite query and TTabulix,
// transfer the same large table at once and save a workbook each. scripts/threaded_runs.sh runs
// it again and again and counts how each run ended; a race shows there as a crash or a failure.
//
//   threaded_reports FOLDER [--threads N] [--rows N]
// Makes FOLDER/ventas.sqlite (when it lacks the rows asked for) and FOLDER/thread<i>.xlsx.
// Exit status 0 when every thread saved its workbook with every row, 1 otherwise.

#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "automation/application_provider.h"
#include "component/tabulix.h"
#include "data/sqlite_query.h"
#include "spreadsheet/embedded_spreadsheet.h"

namespace fs = std::filesystem;
using namespace tabulix;

namespace {

void exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("SQLite: ") + sqlite3_errmsg(db));
}

int storedRows(const fs::path& file) {
    if (!fs::exists(file)) return -1;
    sqlite3* db = nullptr;
    int rows = -1;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* count = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM ventas", -1, &count, nullptr) == SQLITE_OK &&
            sqlite3_step(count) == SQLITE_ROW)
            rows = sqlite3_column_int(count, 0);
        sqlite3_finalize(count);
    }
    sqlite3_close(db);
    return rows;
}

void makeDatabase(const fs::path& file, int rows) {
    fs::remove(file);
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create " + file.string());
    exec(db, "CREATE TABLE ventas(CODIGO TEXT, DESCRIPCION TEXT, UNIDADES INTEGER, PRECIO REAL, IMPORTE REAL, FECHA TEXT)");
    exec(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO ventas VALUES(?,?,?,?,?,?)", -1, &insert, nullptr);
    for (int i = 0; i < rows; ++i) {
        const std::string code = "A" + std::to_string(100000 + i);
        // Many distinct texts, so that each thread's text store grows as a real report's does.
        const std::string text = "Art\xC3\xAD" "culo " + std::to_string(i % 50021);
        const int units = i % 97 + 1;
        const double price = (i % 1300) / 100.0;
        sqlite3_bind_text(insert, 1, code.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, text.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 3, units);
        sqlite3_bind_double(insert, 4, price);
        sqlite3_bind_double(insert, 5, units * price);
        sqlite3_bind_text(insert, 6, i % 5 == 0 ? "" : "2026-03-14", -1, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

void report(const fs::path& database, const fs::path& out, int thread, int rows) {
    data::TSQLiteQuery query;
    query.SetFileName(database.string());
    query.SQL().SetText("SELECT * FROM ventas ORDER BY CODIGO");
    query.Open();
    component::TTabulix tabulix(nullptr);
    tabulix.SetDatos(&query);
    tabulix.Titulo = "VENTAS " + std::to_string(thread);
    tabulix.Formulas().Add("UNIDADES;0;C;1;TOTAL:;0;2;");
    tabulix.Formulas().Add("IMPORTE;0;E;1;;0;0;");
    tabulix.Formulas().Add("IMPORTE;4;E;2;MEDIA:;0;2;=#F02#/#F01#");
    tabulix.TraspasarNuevoLibro();
    if (tabulix.UltimaFilaDatos() - tabulix.PrimeraFilaDatos() + 1 != rows)
        throw std::runtime_error("wrote rows " + std::to_string(tabulix.PrimeraFilaDatos()) + " to " +
                                 std::to_string(tabulix.UltimaFilaDatos()) + ", not " + std::to_string(rows));
    tabulix.CrearGrafico("Grafico", tabulix.Casilla('C', tabulix.PrimeraFilaDatos()),
                         tabulix.Casilla('E', tabulix.PrimeraFilaDatos() + 30), component::TTipoGrafico::xlColumn,
                         component::TColumna_Fila::xlEnColumna, "Ventas", "", "", "", 0, 0, true);
    tabulix.GuardarLibro(out.string());
}

int argument(int argc, char** argv, const std::string& name, int fallback) {
    for (int i = 2; i + 1 < argc; ++i)
        if (argv[i] == name) return std::max(1, std::atoi(argv[i + 1]));
    return fallback;
}

}  // namespace

int main(int argc, char** argv) try {
    if (argc < 2) {
        std::fprintf(stderr, "usage: threaded_reports FOLDER [--threads N] [--rows N]\n");
        return 2;
    }
    const fs::path folder = argv[1];
    const int threads = argument(argc, argv, "--threads", 4);
    const int rows = argument(argc, argv, "--rows", 200000);
    fs::create_directories(folder);
    const fs::path database = folder / "ventas.sqlite";
    if (storedRows(database) != rows) makeDatabase(database, rows);

    spreadsheet::installEmbeddedSpreadsheet();
    std::atomic<int> failed = 0;
    {
        std::vector<std::jthread> workers;
        for (int t = 1; t <= threads; ++t)
            workers.emplace_back([&, t] {
                try {
                    report(database, folder / ("thread" + std::to_string(t) + ".xlsx"), t, rows);
                } catch (const std::exception& e) {
                    std::fprintf(stderr, "threaded_reports: thread %d: %s\n", t, e.what());
                    ++failed;
                }
            });
    }
    std::printf("%d threads x %d rows: %d failed\n", threads, rows, failed.load());
    return failed == 0 ? 0 : 1;
} catch (const std::exception& e) {
    std::fprintf(stderr, "threaded_reports: %s\n", e.what());
    return 1;
}
