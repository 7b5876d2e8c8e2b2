#pragma once
// The soffice process: started in a process group of its own, with SIGKILL as its parent-death
// signal so that it never outlives the program that started it, even when that program crashes.

#include <sys/types.h>

#include <atomic>
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

    // Waits up to `leave` for the process to end by itself, then asks its group to terminate,
    // waits up to `grace`, then kills it; returns once it has been reaped. Idempotent.
    void end(std::chrono::milliseconds leave, std::chrono::milliseconds grace);
    // Kills the process group at once, without waiting for it: any thread.
    void killNow() const;

    // The socket files of the local sockets the process holds open that lie under `folder`: the
    // pipes it listens on, which it leaves behind when it does not end normally.
    std::vector<std::filesystem::path> socketFilesUnder(const std::filesystem::path& folder) const;

private:
    pid_t pid_ = 0;
    std::atomic<bool> reaped_ = false;  // read by killNow on any thread
    // Reaps the process if it ends within `limit`; whether it has ended.
    bool waitFor(std::chrono::milliseconds limit);
    int exitCode_ = -1;
    int signal_ = 0;
};

}  // namespace tabulix::office
