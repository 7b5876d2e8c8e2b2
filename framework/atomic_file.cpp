#include "framework/atomic_file.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "framework/pending_files.h"
#include "framework/printable.h"

namespace tabulix::framework {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinks = 40;  // as the kernel follows them
constexpr std::size_t kRandomLength = 6;

std::string withReason(const std::string& what, int error) { return what + ": " + std::strerror(error); }

// The target with its symbolic links followed; the last one may point to a file not there yet.
fs::path followLinks(const fs::path& target) {
    fs::path at = target;
    for (int hops = 0;; ++hops) {
        struct stat status {};
        if (::lstat(at.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return at;
        if (hops == kMaxLinks) throw AtomicFileError(withReason("its symbolic links cannot be followed", ELOOP));
        std::error_code error;
        const fs::path link = fs::read_symlink(at, error);
        if (error) throw AtomicFileError("the symbolic link " + quotedPath(at) + " cannot be read: " + error.message());
        at = link.is_absolute() ? link : at.parent_path() / link;
    }
}

// The beginning of `text` that is at most `bytes` long and ends on a whole UTF-8 character.
std::string cutAt(const std::string& text, std::size_t bytes) {
    if (text.size() <= bytes) return text;
    std::size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

// ".~NAME.PID.": the temporary files of saves to NAME by process PID begin so. NAME is cut so that
// a whole temporary name fits in a folder entry whatever the target's own length.
std::string temporaryStem(const std::string& base, const std::string& pid) {
    const std::size_t fixed = 2 + 1 + pid.size() + 1 + kRandomLength;
    return ".~" + cutAt(base, NAME_MAX - fixed) + "." + pid + ".";
}

bool processExists(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

// Removes ".~NAME.PID.XXXXXX" files of processes that no longer run: a save killed outright
// (SIGKILL, a power cut) leaves its temporary file behind.
void removeStaleTemporaries(const std::string& folder, int folderFd, const std::string& base) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(".~") || name.size() < kRandomLength + 5) continue;
        // The PID and the random part follow the (possibly cut) name.
        const std::size_t randomDot = name.size() - kRandomLength - 1;
        const std::size_t pidDot = name.rfind('.', randomDot - 1);
        if (name[randomDot] != '.' || pidDot == std::string::npos || randomDot - pidDot < 2 || randomDot - pidDot > 11)
            continue;
        const std::string pid = name.substr(pidDot + 1, randomDot - pidDot - 1);
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string stem = temporaryStem(base, pid);
        if (stem.size() != randomDot + 1 || name.compare(0, stem.size(), stem) != 0) continue;
        const long number = std::stol(pid);
        if (number <= 0 || processExists(static_cast<pid_t>(number))) continue;
        struct stat status {};
        if (::fstatat(folderFd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode))
            ::unlinkat(folderFd, name.c_str(), 0);
    }
}

std::string randomPart() {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
    std::string part;
    for (std::size_t i = 0; i < kRandomLength; ++i) part += kLetters[generator() % (sizeof kLetters - 1)];
    return part;
}

// Holds back the signals that end a program while a file is created and listed, so that none
// falls between the two.
class TerminationSignalsHeld {
public:
    TerminationSignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &previous_);
    }
    ~TerminationSignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    TerminationSignalsHeld(const TerminationSignalsHeld&) = delete;
    TerminationSignalsHeld& operator=(const TerminationSignalsHeld&) = delete;

private:
    sigset_t previous_;
};

}  // namespace

AtomicFile::AtomicFile(const fs::path& target) : target_(followLinks(target)) {
    const std::string base = target_.filename().string();
    if (base.empty() || base == "." || base == "..") throw AtomicFileError("the path names a folder, not a file");
    if (base.size() > NAME_MAX)
        throw AtomicFileError(withReason("the file name is " + std::to_string(base.size()) + " bytes", ENAMETOOLONG));
    folderName_ = target_.has_parent_path() ? target_.parent_path().string() : ".";

    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) throw AtomicFileError("it is a folder");
        if (!S_ISREG(existing.st_mode))
            throw AtomicFileError("it is not a regular file (a device, a pipe or a socket)");
        mode_ = existing.st_mode & 07777;
    }

    folder_ = ::open(folderName_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0) {
        const int error = errno;
        if (error == ENOENT) throw AtomicFileError("the folder " + quotedPath(folderName_) + " does not exist");
        throw AtomicFileError(withReason("the folder " + quotedPath(folderName_) + " cannot be opened", error));
    }
    removeStaleTemporaries(folderName_, folder_, base);

    const std::string stem = temporaryStem(base, std::to_string(::getpid()));
    TerminationSignalsHeld held;
    for (int attempt = 0; fd_ < 0; ++attempt) {
        name_ = stem + randomPart();
        // 0666 lets the umask decide a new file's permissions; a replaced file's follow below.
        fd_ = ::openat(folder_, name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && (errno != EEXIST || attempt == 100)) {
            const int error = errno;
            name_.clear();
            discard();
            throw AtomicFileError(withReason("the folder " + quotedPath(folderName_) + " cannot be written", error));
        }
    }
    pending_ = std::make_unique<PendingFile>(folder_, name_);
    // A private file stays private: its replacement is never readable by others, not even
    // while it is written.
    if (mode_ != 0) ::fchmod(fd_, mode_);
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::discard() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!name_.empty()) ::unlinkat(folder_, name_.c_str(), 0);
    name_.clear();
    pending_.reset();
    if (folder_ >= 0) ::close(folder_);
    folder_ = -1;
}

void AtomicFile::Commit() {
    auto fail = [this](const std::string& what) {
        const int error = errno;
        discard();
        throw AtomicFileError(withReason(what, error));
    };
    if (::fsync(fd_) != 0) fail("it cannot be flushed to the disk");
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail("it cannot be written");
    if (::renameat(folder_, name_.c_str(), folder_, target_.filename().c_str()) != 0) fail("it cannot be replaced");
    name_.clear();
    // The rename is only durable once the folder is; a folder that cannot be flushed (some
    // file systems refuse) still holds the new file.
    ::fsync(folder_);
    discard();
}

}  // namespace tabulix::framework
