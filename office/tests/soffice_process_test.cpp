// Ending the suite's process: it is given time to leave, terminated and killed only after that,
// and the pipes it leaves behind can be found.

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "office/soffice_process.h"

namespace tabulix::office {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

class ScratchFolder {
public:
    ScratchFolder() : path_(fs::temp_directory_path() / ("soffice-process-test-" + std::to_string(getpid()))) {
        fs::create_directories(path_);
    }
    ~ScratchFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

SofficeProcess shell(const std::string& script, const fs::path& log) {
    return SofficeProcess("/bin/sh", {"-c", script}, {"PATH=/usr/bin:/bin"}, log);
}

TEST(SofficeProcess, AProcessThatLeavesInTimeIsNeitherTerminatedNorKilled) {
    ScratchFolder folder;
    SofficeProcess process = shell("trap 'exit 7' TERM; sleep 0.3; exit 0", folder.path() / "log");
    process.end(milliseconds(5000), milliseconds(1000));
    EXPECT_EQ(process.status(), "exited with code 0");
}

TEST(SofficeProcess, TerminatedAfterTheWaitThenKilledAfterTheGrace) {
    ScratchFolder folder;
    SofficeProcess polite = shell("trap 'exit 7' TERM; while :; do sleep 0.05; done", folder.path() / "log");
    polite.end(milliseconds(200), milliseconds(5000));
    EXPECT_EQ(polite.status(), "exited with code 7");

    SofficeProcess stubborn = shell("trap '' TERM; while :; do sleep 0.05; done", folder.path() / "log");
    const auto start = std::chrono::steady_clock::now();
    stubborn.end(milliseconds(200), milliseconds(300));
    EXPECT_EQ(stubborn.status(), "was killed by signal 9");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(SofficeProcess, ThePipesItListensOnAreFound) {
    ScratchFolder folder;
    const fs::path socket = folder.path() / "OSL_PIPE_test";
    SofficeProcess process("/usr/bin/python3",
                           {"-c", "import socket, sys, time\n"
                                  "s = socket.socket(socket.AF_UNIX)\n"
                                  "s.bind(sys.argv[1]); s.listen()\n"
                                  "time.sleep(60)\n",
                            socket.string()},
                           {"PATH=/usr/bin:/bin"}, folder.path() / "log");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<fs::path> found;
    while (found.empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(milliseconds(50));
        found = process.socketFilesUnder(folder.path());
    }
    EXPECT_EQ(found, std::vector<fs::path>{socket});
    EXPECT_TRUE(process.socketFilesUnder("/nonexistent").empty());
    process.end(milliseconds(0), milliseconds(1000));
    EXPECT_TRUE(fs::exists(socket)) << "a killed process leaves its socket file, which the session removes";
}

}  // namespace
}  // namespace tabulix::office
