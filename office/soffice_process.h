#pragma once
// The soffice process: started in a process group of its own, with SIGKILL as its parent-death
// signal so that it never outlives the program that started it, even when that program crashes.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tabulix::office {

class SofficeProcess {
public:
    // Starts `program` with `args` and the environment `environment` ("NAME=value" each); its
    // output goes to `logFile`. Raises std::runtime_error when the process cannot be created.
    SofficeProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& environment, const std::filesystem::path& logFile);
    ~SofficeProcess();
    SofficeProcess(const SofficeProcess&) = delete;
    SofficeProcess& operator=(const SofficeProcess&) = delete;

    pid_t pid() const { return pid_; }
    // Whether the process still runs (reaps it once it has ended).
    bool running();
    // The exit code once ended normally, -1 otherwise.
    int exitCode() const { return exitCode_; }
    // "exited with code 81", "was killed by signal 9", "is running".
    std::string status();

    // Asks the process group to terminate, waits up to `grace`, then kills it. Idempotent.
    void end(std::chrono::milliseconds grace);

private:
    pid_t pid_ = 0;
    bool reaped_ = false;
    int exitCode_ = -1;
    int signal_ = 0;
};

}  // namespace tabulix::office
