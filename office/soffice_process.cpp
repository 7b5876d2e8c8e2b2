#include "office/soffice_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
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

SofficeProcess::~SofficeProcess() { end(std::chrono::milliseconds(0), std::chrono::milliseconds(3000)); }

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

bool SofficeProcess::waitFor(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (running()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void SofficeProcess::end(std::chrono::milliseconds leave, std::chrono::milliseconds grace) {
    if (waitFor(leave)) return;
    kill(-pid_, SIGTERM);
    if (waitFor(grace)) return;
    killNow();
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    reaped_ = true;
    if (WIFSIGNALED(status)) signal_ = WTERMSIG(status);
    if (WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
}

std::vector<std::filesystem::path> SofficeProcess::socketFilesUnder(const std::filesystem::path& folder) const {
    namespace fs = std::filesystem;
    std::set<std::string> inodes;  // "socket:[N]" links of the process's descriptors
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", error)) {
        const std::string target = fs::read_symlink(entry.path(), error).string();
        if (!error && target.rfind("socket:[", 0) == 0) inodes.insert(target.substr(8, target.size() - 9));
    }
    std::vector<fs::path> result;
    if (inodes.empty()) return result;
    // Num RefCount Protocol Flags Type St Inode Path
    std::ifstream table("/proc/net/unix");
    const std::string prefix = folder.string() + "/";
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::string skip, inode, path;
        for (int i = 0; i < 6; ++i) fields >> skip;
        fields >> inode >> path;
        if (!path.empty() && inodes.count(inode) && path.rfind(prefix, 0) == 0) result.emplace_back(path);
    }
    return result;
}

void SofficeProcess::killNow() const {
    if (!reaped_) kill(-pid_, SIGKILL);
}

}  // namespace tabulix::office
