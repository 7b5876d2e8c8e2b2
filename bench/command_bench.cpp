// Whole-command benchmark: an SQLite table of N records of nine kinds (code, description, three
// monthly sales, stock, price, an active flag and remarks, some NULL) turned into a workbook by
// the `tabulix` command, against libxlsxwriter writing the same records, read from the same
// table through SQLite, with a heading row, number formats and column widths, in its
// constant-memory mode (its fastest) and its default mode. Every run is a child process, so its
// processor time and peak memory come from wait4; the runs alternate and each figure is the best
// of the repeats (the peak memory the highest).
//
// With --csv, the same records written as a CSV file go through `tabulix --csv` too, against the
// `tabulix --sqlite` run of the same rows (target: wall within 1.3 times, peak <= 250 MiB).
//
// With --pg, the same records loaded into a PostgreSQL server go through `tabulix --pg` the same
// way; the server is the one with_postgres.sh starts (data/tests/with_postgres.sh command_bench
// --pg), found in TABULIX_PG_HOST, _PORT, _USER and _PASSWORD.
//
//   command_bench [--records N] [--million] [--repeat N] [--keep FOLDER] [--csv] [--pg]

#include <libpq-fe.h>
#include <sqlite3.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kQuery = "SELECT * FROM articulos";

void exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string why = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error(std::string("SQLite: ") + why + " in " + sql);
    }
}

void makeTable(const std::string& path, long long records) {
    fs::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create " + path);
    exec(db, "CREATE TABLE articulos(cod_arti TEXT, desc_arti TEXT, ventas_ene REAL, ventas_feb REAL, "
             "ventas_mar REAL, stoc_act REAL, pvp REAL, activo BOOLEAN, otros TEXT)");
    exec(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO articulos VALUES(?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
    std::uint64_t state = 0x2545F4914F6CDD1DULL;
    auto money = [&](double scale) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(static_cast<long long>(static_cast<double>(state >> 11) / 9007199254740992.0 *
                                                          scale * 100.0)) /
               100.0;
    };
    char text[32];
    for (long long i = 0; i < records; ++i) {
        std::snprintf(text, sizeof text, "A%07lld", i % 10'000'000);
        sqlite3_bind_text(insert, 1, text, -1, SQLITE_TRANSIENT);
        std::snprintf(text, sizeof text, "Articulo %lld", i);
        sqlite3_bind_text(insert, 2, text, -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 3, money(50000));
        sqlite3_bind_double(insert, 4, money(50000));
        sqlite3_bind_double(insert, 5, money(50000));
        sqlite3_bind_double(insert, 6, money(2000));
        sqlite3_bind_double(insert, 7, money(300));
        sqlite3_bind_int(insert, 8, i % 3 != 0);
        if (i % 5 == 0) {
            sqlite3_bind_null(insert, 9);
        } else {
            std::snprintf(text, sizeof text, "Lote %lld", i % 97);
            sqlite3_bind_text(insert, 9, text, -1, SQLITE_TRANSIENT);
        }
        if (sqlite3_step(insert) != SQLITE_DONE) throw std::runtime_error("SQLite: cannot insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

// The table's records as a CSV file with a header line (Booleans as true/false, NULL as nothing).
void exportCsv(const std::string& database, const std::string& file) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + database);
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db, kQuery, -1, &query, nullptr);
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) throw std::runtime_error("cannot write " + file);
    const int columns = sqlite3_column_count(query);
    for (int c = 0; c < columns; ++c) std::fprintf(out, "%s%s", c ? "," : "", sqlite3_column_name(query, c));
    std::fputs("\r\n", out);
    while (sqlite3_step(query) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            if (c) std::fputc(',', out);
            const bool flag = std::strcmp(sqlite3_column_decltype(query, c), "BOOLEAN") == 0;
            switch (sqlite3_column_type(query, c)) {
                case SQLITE_NULL: break;
                case SQLITE_INTEGER:
                    if (flag) std::fputs(sqlite3_column_int(query, c) ? "true" : "false", out);
                    else std::fprintf(out, "%lld", sqlite3_column_int64(query, c));
                    break;
                case SQLITE_FLOAT: std::fprintf(out, "%.15g", sqlite3_column_double(query, c)); break;
                default: {
                    std::fputc('"', out);
                    for (const char* t = reinterpret_cast<const char*>(sqlite3_column_text(query, c)); *t; ++t) {
                        if (*t == '"') std::fputc('"', out);
                        std::fputc(*t, out);
                    }
                    std::fputc('"', out);
                }
            }
        }
        std::fputs("\r\n", out);
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
    if (std::fclose(out) != 0) throw std::runtime_error("cannot write " + file);
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) throw std::runtime_error(std::string(name) + " is not set: run through with_postgres.sh");
    return value;
}

// host, port, user and database of the server, without the password (PGPASSWORD gives it).
std::string pgServer() {
    return "host=" + environment("TABULIX_PG_HOST") + " port=" + environment("TABULIX_PG_PORT") +
           " user=" + environment("TABULIX_PG_USER") + " dbname=postgres";
}

// Copies the CSV file's records into a new table articulos of the server.
void loadIntoPostgres(const std::string& csvFile) {
    setenv("PGPASSWORD", environment("TABULIX_PG_PASSWORD").c_str(), 1);
    PGconn* db = PQconnectdb(pgServer().c_str());
    auto run = [&](const char* sql, ExecStatusType expected) {
        PGresult* result = PQexec(db, sql);
        const bool ok = PQresultStatus(result) == expected;
        PQclear(result);
        if (!ok) throw std::runtime_error(std::string("PostgreSQL: ") + PQerrorMessage(db));
    };
    if (PQstatus(db) != CONNECTION_OK) throw std::runtime_error(std::string("PostgreSQL: ") + PQerrorMessage(db));
    run("DROP TABLE IF EXISTS articulos", PGRES_COMMAND_OK);
    run("CREATE TABLE articulos(cod_arti text, desc_arti text, ventas_ene float8, ventas_feb float8, "
        "ventas_mar float8, stoc_act float8, pvp float8, activo boolean, otros text)",
        PGRES_COMMAND_OK);
    run("COPY articulos FROM STDIN (FORMAT csv, HEADER true)", PGRES_COPY_IN);
    std::FILE* in = std::fopen(csvFile.c_str(), "rb");
    if (!in) throw std::runtime_error("cannot read " + csvFile);
    std::vector<char> buffer(1 << 16);
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0;)
        if (PQputCopyData(db, buffer.data(), static_cast<int>(n)) != 1)
            throw std::runtime_error(std::string("PostgreSQL: ") + PQerrorMessage(db));
    std::fclose(in);
    PQputCopyEnd(db, nullptr);
    PGresult* result = PQgetResult(db);
    const bool copied = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    while ((result = PQgetResult(db))) PQclear(result);
    if (!copied) throw std::runtime_error(std::string("PostgreSQL: ") + PQerrorMessage(db));
    run("VACUUM ANALYZE articulos", PGRES_COMMAND_OK);
    PQfinish(db);
}

// The reference: the query's records written by libxlsxwriter.
int writeWithLibxlsxwriter(const std::string& database, const std::string& file, bool constantMemory) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return 1;
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(db, kQuery, -1, &query, nullptr) != SQLITE_OK) return 1;
    lxw_workbook_options options{};
    options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* book = workbook_new_opt(file.c_str(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Hoja1");
    lxw_format* heading = workbook_add_format(book);
    format_set_bold(heading);
    lxw_format* amount = workbook_add_format(book);
    format_set_num_format(amount, "#,##0.00");
    const int columns = sqlite3_column_count(query);
    std::vector<double> widths(static_cast<std::size_t>(columns), 8.43);
    for (int c = 0; c < columns; ++c) {
        const char* name = sqlite3_column_name(query, c);
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), name, heading);
        widths[static_cast<std::size_t>(c)] = std::max(widths[static_cast<std::size_t>(c)], std::strlen(name) * 1.2);
    }
    lxw_row_t row = 1;
    while (sqlite3_step(query) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            const auto col = static_cast<lxw_col_t>(c);
            double& width = widths[static_cast<std::size_t>(c)];
            switch (sqlite3_column_type(query, c)) {
                case SQLITE_NULL: break;
                case SQLITE_INTEGER:
                    worksheet_write_boolean(sheet, row, col, sqlite3_column_int(query, c), nullptr);
                    width = std::max(width, 6.0);
                    break;
                case SQLITE_FLOAT: {
                    const double value = sqlite3_column_double(query, c);
                    worksheet_write_number(sheet, row, col, value, amount);
                    char shown[48];
                    width = std::max(width, std::snprintf(shown, sizeof shown, "%'.2f", value) * 1.1 + 1);
                    break;
                }
                default: {
                    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(query, c));
                    worksheet_write_string(sheet, row, col, text, nullptr);
                    width = std::max(width, std::strlen(text) * 1.1 + 1);
                }
            }
        }
        ++row;
    }
    for (int c = 0; c < columns; ++c)
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             widths[static_cast<std::size_t>(c)], nullptr);
    sqlite3_finalize(query);
    sqlite3_close(db);
    return workbook_close(book) == LXW_NO_ERROR ? 0 : 1;
}

struct Run {
    bool ok = false;
    double wall = 0, cpu = 0;
    long peakKiB = 0;
    std::uintmax_t fileBytes = 0;
};

double seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

// Runs `child` (returning an exit status) in a forked process.
Run runChild(const std::function<int()>& child, const std::string& file) {
    fs::remove(file);
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) std::_Exit(child());
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) throw std::runtime_error("wait4 failed");
    Run run;
    run.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    run.peakKiB = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::error_code error;
    run.fileBytes = fs::file_size(file, error);
    if (error) run.ok = false;
    return run;
}

void keepBest(std::optional<Run>& best, const Run& run) {
    if (!best || (best->ok && (!run.ok || run.cpu < best->cpu))) {
        const long peak = best ? std::max(best->peakKiB, run.peakKiB) : run.peakKiB;
        best = run;
        best->peakKiB = peak;
    } else {
        best->peakKiB = std::max(best->peakKiB, run.peakKiB);
    }
}

void report(const char* name, const std::optional<Run>& r, long long records) {
    if (!r || !r->ok) {
        std::printf("%-28s FAILED\n", name);
        return;
    }
    std::printf("%-28s %7.2f s wall %7.2f s cpu %8.1f MiB peak (%5.0f bytes/record) %7.1f MiB file\n", name, r->wall,
                r->cpu, r->peakKiB / 1024.0, r->peakKiB * 1024.0 / static_cast<double>(records),
                static_cast<double>(r->fileBytes) / (1024.0 * 1024.0));
}

// A source's run of the command against the SQLite run of the same rows.
void compareSource(const char* name, const std::optional<Run>& source, const std::optional<Run>& sqlite) {
    if (!source || !sqlite || !source->ok || !sqlite->ok) return;
    std::printf("tabulix %-6s / tabulix --sqlite   wall %.2f  cpu %.2f  peak %.1f MiB   (targets: wall <= 1.30, "
                "peak <= 250 MiB)\n",
                name, source->wall / sqlite->wall, source->cpu / sqlite->cpu, source->peakKiB / 1024.0);
}

void compare(const char* name, const std::optional<Run>& tabulix, const std::optional<Run>& reference,
             const char* targets) {
    if (!tabulix || !reference || !tabulix->ok || !reference->ok) return;
    std::printf("tabulix / libxlsxwriter %-13s cpu %.2f  wall %.2f  file %.2f  peak memory %.2f   %s\n", name,
                tabulix->cpu / reference->cpu, tabulix->wall / reference->wall,
                static_cast<double>(tabulix->fileBytes) / static_cast<double>(reference->fileBytes),
                static_cast<double>(tabulix->peakKiB) / static_cast<double>(reference->peakKiB), targets);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        long long records = 100'000;
        int repeat = 3;
        std::string keep;
        bool csv = false, pg = false;
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            auto value = [&]() -> std::string {
                if (i + 1 >= argc) throw std::runtime_error(arg + " needs a value");
                return argv[++i];
            };
            if (arg == "--records") records = std::stoll(value());
            else if (arg == "--million") records = 1'000'000;
            else if (arg == "--repeat") repeat = std::stoi(value());
            else if (arg == "--keep") keep = value();
            else if (arg == "--csv") csv = true;
            else if (arg == "--pg") pg = true;
            else throw std::runtime_error("unknown argument " + arg +
                                          " (usage: command_bench [--records N] [--million] [--repeat N] [--keep FOLDER] "
                                          "[--csv] [--pg])");
        }
        if (records < 1 || repeat < 1) throw std::runtime_error("--records and --repeat must be at least 1");
        fs::path folder = keep;
        std::string scratch;
        if (folder.empty()) {
            scratch = (fs::temp_directory_path() / "command_bench.XXXXXX").string();
            if (!mkdtemp(scratch.data())) throw std::runtime_error("cannot make a temporary folder");
            folder = scratch;
        } else {
            fs::create_directories(folder);
        }
        const std::string database = (folder / "articulos.sqlite").string();
        const std::string tabulixFile = (folder / "tabulix.xlsx").string();
        const std::string streamedFile = (folder / "libxlsxwriter-constant-memory.xlsx").string();
        const std::string defaultFile = (folder / "libxlsxwriter-default.xlsx").string();
        makeTable(database, records);
        const std::string csvFile = (folder / "articulos.csv").string();
        const std::string csvWorkbook = (folder / "tabulix-csv.xlsx").string();
        const std::string pgWorkbook = (folder / "tabulix-pg.xlsx").string();
        if (csv || pg) exportCsv(database, csvFile);
        if (pg) loadIntoPostgres(csvFile);
        std::printf("tabulix --sqlite over %lld records of 9 fields (best of %d; %s)\n", records, repeat, TABULIX_COMMAND);

        std::optional<Run> tabulix, streamed, whole, fromCsv, fromPg;
        auto command = [](std::vector<std::string> args) {
            const int devNull = ::open("/dev/null", O_WRONLY);
            if (devNull >= 0) ::dup2(devNull, STDOUT_FILENO);
            std::vector<char*> argv{const_cast<char*>("tabulix")};
            for (std::string& arg : args) argv.push_back(arg.data());
            argv.push_back(nullptr);
            execv(TABULIX_COMMAND, argv.data());
            return 127;
        };
        for (int round = 0; round < repeat; ++round) {
            if (csv)
                keepBest(fromCsv, runChild([&] { return command({"--csv", csvFile, "-o", csvWorkbook}); }, csvWorkbook));
            if (pg)
                keepBest(fromPg, runChild([&] { return command({"--pg", pgServer(), "--sql", kQuery, "-o", pgWorkbook}); },
                                          pgWorkbook));
            keepBest(tabulix, runChild([&] {
                const int devNull = ::open("/dev/null", O_WRONLY);
                if (devNull >= 0) ::dup2(devNull, STDOUT_FILENO);
                execl(TABULIX_COMMAND, "tabulix", "--sqlite", database.c_str(), "--sql", kQuery, "-o",
                      tabulixFile.c_str(), static_cast<char*>(nullptr));
                return 127;
            }, tabulixFile));
            keepBest(streamed, runChild([&] { return writeWithLibxlsxwriter(database, streamedFile, true); }, streamedFile));
            keepBest(whole, runChild([&] { return writeWithLibxlsxwriter(database, defaultFile, false); }, defaultFile));
        }
        report("tabulix command", tabulix, records);
        report("libxlsxwriter constant mem", streamed, records);
        report("libxlsxwriter default", whole, records);
        if (csv) report("tabulix --csv", fromCsv, records);
        if (pg) report("tabulix --pg", fromPg, records);
        compare("constant mem", tabulix, streamed, "(targets: cpu <= 0.70, wall <= 0.50, file <= 1.00)");
        compare("default", tabulix, whole, "(target: file <= 1.00)");
        if (csv) compareSource("--csv", fromCsv, tabulix);
        if (pg) compareSource("--pg", fromPg, tabulix);
        if (!scratch.empty()) fs::remove_all(scratch);
        else std::printf("files kept in %s\n", folder.string().c_str());
        const bool failed = !tabulix->ok || !streamed->ok || !whole->ok || (csv && !fromCsv->ok) || (pg && !fromPg->ok);
        return failed ? 1 : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "command_bench: %s\n", e.what());
        return 2;
    }
}
