// Reports on several cores. First, many reports of an SQLite table made in this process by one
// job, then by two jobs at once (each job a thread with its own data set, component and
// application): the throughput ratio is what a second core brings. Then the `tabulix` command's
// batch run of many form files against as many single runs of the command one after another:
// the wall ratio is what a batch saves. The two sides of each comparison alternate in pairs, so
// that a change in the machine's load hits both; each figure is the sum (or median) over pairs.
//
//   parallel_bench [--reports N] [--records N] [--forms N] [--form-records N] [--pairs N]
//                  [--jobs N] [--keep FOLDER]
//   parallel_bench --setup FOLDER [--forms N] [--form-records N]
// --setup only writes the database and FOLDER/forms/informe<i>.form, for timing the command from
// outside with a whole-process timer.

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "automation/application_provider.h"
#include "automation/connection.h"
#include "automation/dispids.h"
#include "component/tabulix.h"
#include "data/sqlite_query.h"
#include "spreadsheet/embedded_spreadsheet.h"

namespace fs = std::filesystem;
using namespace tabulix;

namespace {

using Clock = std::chrono::steady_clock;

const char* const kRecords[] = {
    "VENTAS_ENE;0;C;1;TOTAL VENTAS:;0;2;",
    "VENTAS_FEB;0;D;1;;0;0;",
    "VENTAS_MAR;0;E;1;;0;0;",
    "VENTAS_MAR;4;E;3;TRIMESTRE:;0;2;=(#F01#+#F02#+#F03#)",
    "PVP;1;G;1;;0;0;",
};

void exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string why = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error("SQLite: " + why);
    }
}

void makeTable(const fs::path& path, int records) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create " + path.string());
    exec(db, "CREATE TABLE articulos(COD_ARTI TEXT, DESC_ARTI TEXT, VENTAS_ENE REAL, VENTAS_FEB REAL, "
             "VENTAS_MAR REAL, STOC_ACT REAL, PVP REAL, OTROS TEXT)");
    exec(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO articulos VALUES(?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
    std::uint64_t state = 0x2545F4914F6CDD1DULL;
    auto next = [&](int scale) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>((state >> 33) % static_cast<std::uint64_t>(scale * 100)) / 100.0;
    };
    for (int i = 0; i < records; ++i) {
        const std::string code = "A" + std::to_string(100000 + i);
        const std::string name = "Articulo " + std::to_string(i % 997);
        sqlite3_bind_text(insert, 1, code.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, name.c_str(), -1, SQLITE_TRANSIENT);
        for (int c = 3; c <= 7; ++c) sqlite3_bind_double(insert, c, next(c == 6 ? 500 : 9000));
        sqlite3_bind_text(insert, 8, i % 7 == 0 ? "oferta" : "", -1, SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

// One report: the table into a new workbook of this thread's application, saved and closed.
void makeReport(const fs::path& database, int records, const fs::path& out) {
    data::TSQLiteQuery query;
    query.SetFileName(database.string());
    query.SQL().SetText("SELECT * FROM articulos LIMIT " + std::to_string(records));
    query.Open();
    component::TTabulix tabulix(nullptr);
    tabulix.SetDatos(&query);
    for (const char* record : kRecords) tabulix.Formulas().Add(record);
    tabulix.Titulo = "VENTAS";
    tabulix.TraspasarNuevoLibro();
    automation::DispatchPtr book = tabulix.ExcelWorkbook()->Object();
    book->call(automation::dispid::SaveAs, {automation::Variant(out.string())});
    book->call(automation::dispid::Close, {automation::Variant(false)});
}

struct Figures {
    double wall = 0;
    double cpu = 0;
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// `reports` reports made by `jobs` threads, each taking the next report not yet made.
Figures reportsWithJobs(int reports, int jobs, const fs::path& database, int records, const fs::path& folder) {
    std::atomic<int> next = 0;
    std::atomic<bool> failed = false;
    const double cpuBefore = cpuSeconds();
    const auto start = Clock::now();
    {
        std::vector<std::jthread> threads;
        for (int j = 0; j < jobs; ++j)
            threads.emplace_back([&, j] {
                try {
                    for (int i = next++; i < reports; i = next++)
                        makeReport(database, records, folder / ("job" + std::to_string(j) + ".xlsx"));
                } catch (const std::exception& e) {
                    std::fprintf(stderr, "parallel_bench: a report failed: %s\n", e.what());
                    failed = true;
                }
            });
    }
    if (failed) throw std::runtime_error("reports failed");
    return {std::chrono::duration<double>(Clock::now() - start).count(), cpuSeconds() - cpuBefore};
}

// Runs argv as a child process and returns its wall time; its output goes to /dev/null.
double runCommand(const std::vector<std::string>& argv) {
    // What is buffered would otherwise be written again by the child.
    std::fflush(stdout);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            close(null);
        }
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("`" + argv[0] + " " + argv[1] + " ...` failed");
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void writeForms(const fs::path& folder, const fs::path& database, int forms, int records) {
    for (int i = 0; i < forms; ++i) {
        std::ofstream(folder / ("informe" + std::to_string(i) + ".form"))
            << "object F: TForm1\n"
               "  object Consulta: TSQLiteQuery\n"
               "    FileName = '" << database.string() << "'\n"
               "    SQL.Strings = (\n      'SELECT * FROM articulos LIMIT " << records << " OFFSET " << i * 7 << "')\n"
               "  end\n"
               "  object de: TTabulix\n    Datos = Consulta\n    Titulo = 'INFORME " << i << "'\n"
               "    Formulas.Strings = (\n      'VENTAS_ENE;0;C;1;TOTAL:;0;2;'\n      'VENTAS_FEB;0;D;1;;0;0;')\n"
               "  end\n"
               "end\n";
    }
}

int argument(int argc, char** argv, const std::string& name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (argv[i] == name) return std::max(1, std::atoi(argv[i + 1]));
    return fallback;
}

}  // namespace

int main(int argc, char** argv) try {
    const int reports = argument(argc, argv, "--reports", 200);
    const int records = argument(argc, argv, "--records", 10000);
    const int forms = argument(argc, argv, "--forms", 50);
    const int formRecords = argument(argc, argv, "--form-records", 2000);
    const int pairs = argument(argc, argv, "--pairs", 2);
    const int jobs = argument(argc, argv, "--jobs", 2);
    fs::path folder = fs::temp_directory_path() / ("parallel_bench_" + std::to_string(getpid()));
    bool setupOnly = false;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--keep") folder = argv[i + 1];
        if (std::string(argv[i]) == "--setup") folder = argv[i + 1], setupOnly = true;
    }
    fs::create_directories(folder / "reports");
    const fs::path database = folder / "ventas.sqlite";
    fs::remove(database);
    makeTable(database, std::max(records, formRecords + forms * 7));
    if (setupOnly) {
        fs::create_directories(folder / "forms");
        writeForms(folder / "forms", database, forms, formRecords);
        return 0;
    }

    double load[3] = {};
    getloadavg(load, 3);
    std::printf("machine: %u cores, load %.2f %.2f %.2f at the start\n", std::thread::hardware_concurrency(), load[0],
                load[1], load[2]);

    // 1. Reports in this process, 1 job against `jobs` jobs, in alternating slices.
    spreadsheet::installEmbeddedSpreadsheet();
    makeReport(database, 100, folder / "reports" / "warm.xlsx");  // fonts and caches, untimed
    Figures one, many;
    const int slice = std::max(1, reports / pairs);
    for (int p = 0; p < pairs; ++p) {
        const Figures a = reportsWithJobs(slice, 1, database, records, folder / "reports");
        const Figures b = reportsWithJobs(slice, jobs, database, records, folder / "reports");
        one.wall += a.wall, one.cpu += a.cpu, many.wall += b.wall, many.cpu += b.cpu;
        std::printf("  pair %d: 1 job %.2f s, %d jobs %.2f s\n", p + 1, a.wall, jobs, b.wall);
    }
    const int made = slice * pairs;
    std::printf("%d reports of %d records: 1 job %.2f s wall (%.1f reports/s, %.2f s cpu); %d jobs %.2f s wall "
                "(%.1f reports/s, %.2f s cpu)\n",
                made, records, one.wall, made / one.wall, one.cpu, jobs, many.wall, made / many.wall, many.cpu);
    std::printf("throughput ratio (%d jobs / 1 job): %.2f\n", jobs, one.wall / many.wall);

    // 2. The command: a batch of form files against single runs one after another.
    fs::create_directories(folder / "forms");
    fs::create_directories(folder / "single");
    writeForms(folder / "forms", database, forms, formRecords);
    std::vector<std::string> batch = {TABULIX_COMMAND};
    for (int i = 0; i < forms; ++i) batch.push_back((folder / "forms" / ("informe" + std::to_string(i) + ".form")).string());
    batch.insert(batch.end(), {"--output-dir", (folder / "batch").string(), "--jobs", std::to_string(jobs)});
    std::vector<double> batchTimes, singleTimes;
    for (int p = 0; p < pairs; ++p) {
        batchTimes.push_back(runCommand(batch));
        double singles = 0;
        for (int i = 0; i < forms; ++i) {
            const std::string name = "informe" + std::to_string(i);
            singles += runCommand({TABULIX_COMMAND, (folder / "forms" / (name + ".form")).string(), "-o",
                                   (folder / "single" / (name + ".xlsx")).string()});
        }
        singleTimes.push_back(singles);
        std::printf("  pair %d: batch %.2f s, %d single runs %.2f s\n", p + 1, batchTimes.back(), forms, singles);
    }
    std::sort(batchTimes.begin(), batchTimes.end());
    std::sort(singleTimes.begin(), singleTimes.end());
    const double batchWall = batchTimes[batchTimes.size() / 2], singleWall = singleTimes[singleTimes.size() / 2];
    std::printf("%d form files of %d records: batch (--jobs %d) %.2f s wall, single runs %.2f s wall (medians)\n",
                forms, formRecords, jobs, batchWall, singleWall);
    std::printf("wall ratio (batch / single runs): %.2f\n", batchWall / singleWall);

    getloadavg(load, 3);
    std::printf("load %.2f %.2f %.2f at the end\n", load[0], load[1], load[2]);
    bool keep = false;
    for (int i = 1; i < argc; ++i) keep = keep || std::string(argv[i]) == "--keep";
    if (!keep) fs::remove_all(folder);
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "parallel_bench: %s\n", e.what());
    return 1;
}
