// Starting and losing the suite: clear errors, and no soffice left running.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "automation/automation_error.h"
#include "office/calc_session.h"
#include "office/tests/calc_test_support.h"

namespace tabulix::office {
namespace {

namespace fs = std::filesystem;
using namespace automation;

std::string startError(const CalcOptions& options) {
    try {
        CalcSession::start(options)->end();
    } catch (const AutomationError& e) {
        return e.what();
    }
    return "";
}

// Whether the process has ended (gone, or a zombie waiting for its parent).
bool ended(pid_t pid) {
    if (kill(pid, 0) != 0) return true;
    std::ifstream status("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(status, text);
    const auto close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() && text[close + 2] == 'Z';
}

bool endsWithin(pid_t pid, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!ended(pid)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

class FakeSoffice {
public:
    explicit FakeSoffice(const std::string& body) {
        folder_ = fs::temp_directory_path() / ("tabulix-fake-soffice-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        std::ofstream(path()) << "#!/bin/sh\necho $$ > " << pidFile() << "\n" << body << "\n";
        fs::permissions(path(), fs::perms::owner_all);
    }
    ~FakeSoffice() { fs::remove_all(folder_); }
    fs::path path() const { return folder_ / "soffice"; }
    fs::path pidFile() const { return folder_ / "pid"; }
    pid_t pid() const {
        pid_t pid = 0;
        std::ifstream(pidFile()) >> pid;
        return pid;
    }

private:
    fs::path folder_;
};

TEST(CalcStart, AMissingSofficeIsNamed) {
    CalcOptions options;
    options.soffice = "/nonexistent/soffice";
    EXPECT_EQ(startError(options),
              "LibreOffice Calc is not available: soffice was not found at \"/nonexistent/soffice\" (Debian package "
              "libreoffice-calc-nogui)");
}

TEST(CalcStart, ASuiteThatDoesNotAnswerIsEndedAfterTheTimeLimit) {
    FakeSoffice fake("exec sleep 60");
    CalcOptions options;
    options.soffice = fake.path();
    options.startTimeout = std::chrono::milliseconds(1500);
    const std::string error = startError(options);
    EXPECT_NE(error.find("LibreOffice Calc did not start within 1.5 s"), std::string::npos) << error;
    ASSERT_GT(fake.pid(), 0);
    EXPECT_TRUE(ended(fake.pid()));
}

TEST(CalcStart, ASuiteThatEndsDuringStartUpSaysHow) {
    FakeSoffice fake("echo 'no display here' >&2; exit 3");
    CalcOptions options;
    options.soffice = fake.path();
    const std::string error = startError(options);
    EXPECT_NE(error.find("exited with code 3 during start-up; it said: no display here"), std::string::npos) << error;
}

// Runs the exit helper; its soffice's process id and its exit status. A sanitized build's own
// signal handler would turn the helper's crash into an exit with a report, so it is off there.
std::pair<pid_t, int> runExitHelper(const std::string& mode) {
    const std::string command =
        "ASAN_OPTIONS=\"$ASAN_OPTIONS:handle_segv=0\" " TABULIX_OFFICE_EXIT_HELPER " " + mode + " 2>&1";
    FILE* helper = popen(command.c_str(), "r");
    if (!helper) return {0, -1};
    int pid = 0;
    if (std::fscanf(helper, "%d", &pid) != 1) pid = 0;
    for (int c; (c = std::fgetc(helper)) != EOF;) {
    }
    return {pid, pclose(helper)};
}

TEST(CalcStart, TheSuiteDoesNotOutliveAProgramThatCrashes) {
    const auto [pid, status] = runExitHelper("crash");
    ASSERT_GT(pid, 0) << "the helper printed no process id";
    // The shell that popen runs reports the helper's death as 128 + the signal.
    EXPECT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGSEGV)) << status;
    EXPECT_TRUE(endsWithin(pid, std::chrono::seconds(10))) << "soffice " << pid << " still runs";
}

// Calc is ended at exit the same way as by ShutDownCalc: the program exits normally, and
// soffice has left before it did.
TEST(CalcStart, AProgramThatReturnsWithoutShuttingCalcDownExitsCleanly) {
    const auto [pid, status] = runExitHelper("return");
    ASSERT_GT(pid, 0) << "the helper printed no process id";
    ASSERT_TRUE(WIFEXITED(status)) << "the helper was killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(ended(pid)) << "soffice " << pid << " still runs after the program ended";
}

// Last: it ends the test program's shared suite.
TEST(CalcStart, ALostConnectionIsReportedAtTheNextCall) {
    const DispatchPtr sheet = testing::FirstSheet(testing::NewWorkbook());
    const pid_t pid = CalcProcessId();
    ASSERT_GT(pid, 0);
    kill(pid, SIGKILL);
    ASSERT_TRUE(endsWithin(pid, std::chrono::seconds(10)));
    try {
        // The value waits to be written with others; the next call that reaches the suite fails.
        testing::Cell(sheet, "A1")->put(dispid::Value, Variant(1.0));
        testing::Cell(sheet, "A1")->get(dispid::Value);
        ADD_FAILURE() << "the call after soffice died did not fail";
    } catch (const AutomationError& e) {
        EXPECT_NE(std::string(e.what()).find("the connection to LibreOffice Calc was lost (soffice was killed by signal 9)"),
                  std::string::npos)
            << e.what();
    }
    ShutDownCalc();
    EXPECT_EQ(CalcProcessId(), 0);
}

}  // namespace
}  // namespace tabulix::office
