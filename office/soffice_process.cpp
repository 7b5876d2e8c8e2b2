#include "office/soffice_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace tabulix::office {

SofficeProcess::SofficeProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                               const std::vector<std::string>& environment, const std::filesystem::path& logFile) {
    // Everything the child needs is prepared before fork: after it only async-signal-safe calls.
    std::vector<std::string> all;
    all.push_back(program.string());
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = environment;
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string log = logFile.string();
    const pid_t parent = getpid();

    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error(std::string("cannot start soffice: ") + std::strerror(errno));
    if (pid_ == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);  // the parent died before the signal was armed
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (out >= 0) {
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
        }
        const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (in >= 0) dup2(in, STDIN_FILENO);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    setpgid(pid_, pid_);  // also from here, so the group exists whichever side runs first
}

SofficeProcess::~SofficeProcess() { end(std::chrono::milliseconds(3000)); }

bool SofficeProcess::running() {
    if (reaped_) return false;
    int status = 0;
    const pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == 0) return true;
    reaped_ = true;
    if (r == pid_) {
        if (WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) signal_ = WTERMSIG(status);
    }
    return false;
}

std::string SofficeProcess::status() {
    if (running()) return "is running";
    if (signal_ != 0) return "was killed by signal " + std::to_string(signal_);
    return "exited with code " + std::to_string(exitCode_);
}

void SofficeProcess::end(std::chrono::milliseconds grace) {
    if (!running()) return;
    kill(-pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + grace;
    while (running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    kill(-pid_, SIGKILL);
    if (!reaped_) {
        int status = 0;
        waitpid(pid_, &status, 0);
        reaped_ = true;
        if (WIFSIGNALED(status)) signal_ = WTERMSIG(status);
        if (WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
    }
}

}  // namespace tabulix::office
