// Saves that a user can interrupt or limit without losing the previous workbook: Ctrl-C or a
// kill in the middle of a large save, a file size limit, and the order of the calls that make a
// save survive a power cut (the data flushed before the rename, the folder after it).

#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "cli/tests/cli_test_support.h"

namespace tabulix::cli {
namespace {

using testing::DemoDbf;
using testing::FilesIn;
using testing::ReadFile;
using testing::RunShell;
using testing::ScratchFolder;
using testing::TabulixCommand;

// An SQLite database file and a query of `rows` numbered rows that needs no table.
std::string numbersQuery(const ScratchFolder& folder, int rows) {
    sqlite3* handle = nullptr;
    sqlite3_open((folder / "vacia.sqlite").c_str(), &handle);
    sqlite3_exec(handle, "CREATE TABLE t (a)", nullptr, nullptr, nullptr);
    sqlite3_close(handle);
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rows) +
           ") SELECT i, i * 2 AS doble FROM n";
}

bool hasTemporaryFile(const std::filesystem::path& folder) {
    for (const std::string& name : FilesIn(folder))
        if (name.starts_with(".~")) return true;
    return false;
}

// Starts tabulix saving `rows` rows over salida.xlsx and sends `signal` once the save has begun.
// Returns the wait status.
int interruptSave(const ScratchFolder& folder, int rows, int signal) {
    const std::string sql = numbersQuery(folder, rows);
    const pid_t child = ::fork();
    if (child == 0) {
        ::chdir(folder.path().c_str());
        ::freopen("/dev/null", "w", stdout);
        ::freopen("/dev/null", "w", stderr);
        ::execl(TABULIX_CLI_BINARY, "tabulix", "--sqlite", "vacia.sqlite", "--sql", sql.c_str(), "-o", "salida.xlsx",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    for (;;) {
        if (hasTemporaryFile(folder.path())) {
            ::kill(child, signal);
            break;
        }
        if (::waitpid(child, &status, WNOHANG) == child) return status;  // done before the save was seen
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ::waitpid(child, &status, 0);
    return status;
}

TEST(ProgramSave, StoppedInTheMiddleOfASaveItLeavesTheOldFileAndNoTemporaryOne) {
    struct Case {
        int signal;
        int rows;
    };
    for (const Case c : {Case{SIGINT, 1'000'000}, Case{SIGTERM, 300'000}}) {
        ScratchFolder folder;
        const auto old = folder.Write("salida.xlsx", "el informe de ayer");
        const int status = interruptSave(folder, c.rows, c.signal);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save ended before it could be stopped, status " << status;
        EXPECT_EQ(WTERMSIG(status), c.signal);  // a shell reports 128 + the signal: 130, 143
        EXPECT_EQ(ReadFile(old), "el informe de ayer");
        EXPECT_EQ(FilesIn(folder.path()), (std::vector<std::string>{"salida.xlsx", "vacia.sqlite"}));
    }
}

TEST(ProgramSave, AFileSizeLimitFailsTheSaveLikeAFullDisk) {
    ScratchFolder folder;
    const std::string sql = numbersQuery(folder, 100'000);
    const auto old = folder.Write("grande.xlsx", "anterior");
    // 64 blocks: far below the workbook of 100,000 rows.
    const auto run = RunShell("ulimit -f 64; " + TabulixCommand({"--sqlite", "vacia.sqlite", "--sql", sql, "-o",
                                                                  "grande.xlsx"}),
                              folder.path());
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("Cannot save \"grande.xlsx\": "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(old), "anterior");
    EXPECT_EQ(FilesIn(folder.path()), (std::vector<std::string>{"grande.xlsx", "vacia.sqlite"}));
}

// The system calls of a save as strace shows them, with each descriptor's file (-y). The leak
// checker of a sanitized build cannot stop a traced process, so it is off for this one run.
TEST(ProgramSave, TheDataIsFlushedBeforeTheRenameAndTheFolderAfterIt) {
    if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
    ScratchFolder folder;
    const auto run = RunShell("ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" "
                              "strace -f -y -qq -e trace=fsync,fdatasync,rename,renameat,renameat2 -o calls.txt " +
                                  TabulixCommand({"--dbf", DemoDbf().string(), "-o", "libro.xlsx"}),
                              folder.path());
    if (run.exitCode != 0 && run.err.find("ptrace") != std::string::npos) GTEST_SKIP() << run.err;
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> calls;
    std::istringstream lines(ReadFile(folder / "calls.txt"));
    for (std::string line; std::getline(lines, line);) calls.push_back(line);

    const auto renamed = std::find_if(calls.begin(), calls.end(), [](const std::string& call) {
        return call.find("rename") != std::string::npos && call.find("\"libro.xlsx\"") != std::string::npos;
    });
    ASSERT_NE(renamed, calls.end()) << ReadFile(folder / "calls.txt");
    const auto dataFlushed = std::find_if(calls.begin(), renamed, [](const std::string& call) {
        return call.find("fsync(") != std::string::npos && call.find("/.~libro.xlsx.") != std::string::npos;
    });
    EXPECT_NE(dataFlushed, renamed) << "no fsync of the temporary file before the rename\n"
                                    << ReadFile(folder / "calls.txt");
    const std::string folderName = std::filesystem::canonical(folder.path()).string();
    const auto folderFlushed = std::find_if(renamed, calls.end(), [&](const std::string& call) {
        return call.find("fsync(") != std::string::npos && call.find("<" + folderName + ">") != std::string::npos;
    });
    EXPECT_NE(folderFlushed, calls.end()) << "no fsync of the folder after the rename\n"
                                          << ReadFile(folder / "calls.txt");
}

}  // namespace
}  // namespace tabulix::cli
