#include "spreadsheet/xlsx_export.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "automation/automation_error.h"
#include "framework/printable.h"
#include "spreadsheet/xlsx_package.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;

namespace {

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The name the file gets: ".xlsx" is added to a name without extension; other extensions
// would promise a format this writer does not produce.
std::string targetPath(const std::string& path) {
    if (path.empty()) throw AutomationError("Cannot save: the file name is empty");
    const std::size_t slash = path.find_last_of('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty()) throw AutomationError("Cannot save \"" + path + "\": the path names a folder, not a file");
    if (base.size() > NAME_MAX || path.size() >= PATH_MAX)
        throw AutomationError("Cannot save \"" + framework::printable(path) + "\": the file name is too long (" +
                              std::to_string(base.size()) + " bytes, " + std::to_string(path.size()) +
                              " with its folder; at most " + std::to_string(NAME_MAX) + " and " +
                              std::to_string(PATH_MAX - 1) + ")");
    const std::size_t dot = base.find_last_of('.');
    if (dot == std::string::npos || dot == 0) return path + ".xlsx";
    if (lowerAscii(base.substr(dot)) != ".xlsx")
        throw AutomationError("Cannot save \"" + path + "\": only .xlsx workbooks can be written");
    return path;
}

// The temporary file of a save is named after the target and the saving process,
// ".~NAME.PID.XXXXXX": a process killed in the middle of a save leaves it behind, and the next
// save to the same name removes those of processes that no longer exist.
std::string temporaryPrefix(const std::string& folder, const std::string& base, pid_t pid) {
    return folder + "/.~" + base + "." + std::to_string(pid) + ".";
}

bool processExists(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

void removeStaleTemporaries(const std::string& folder, const std::string& base) {
    const std::string prefix = ".~" + base + ".";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix)) continue;
        // The process id, then mkstemp's ".XXXXXX".
        const std::string rest = name.substr(prefix.size());
        const std::size_t dot = rest.find('.');
        if (dot == 0 || dot > 9 || rest.find_first_not_of("0123456789") != dot || rest.size() != dot + 7) continue;
        const auto pid = static_cast<pid_t>(std::stol(rest.substr(0, dot)));
        if (pid <= 0 || processExists(pid)) continue;
        std::error_code ignored;
        if (entry.is_regular_file(ignored) && !entry.is_symlink(ignored)) std::filesystem::remove(entry.path(), ignored);
    }
}

}  // namespace

std::string writeXlsx(const Workbook& book, const std::string& path) {
    const std::string target = targetPath(path);
    const std::size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

    removeStaleTemporaries(folder, base);
    std::string temporary = temporaryPrefix(folder, base, ::getpid()) + "XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0 && errno == ENAMETOOLONG)
        throw AutomationError("Cannot save \"" + framework::printable(target) +
                              "\": the file name is too long to save through a temporary file beside it");
    if (fd < 0)
        throw AutomationError("Cannot save \"" + target + "\": the folder \"" + folder +
                              "\" cannot be written: " + std::strerror(errno));
    // mkstemp makes the file private. A workbook that replaces another keeps that one's
    // permissions (a private file stays private); a new one gets those of any new file.
    struct stat replaced {};
    if (::stat(target.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode)) {
        ::fchmod(fd, replaced.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    try {
        writeXlsxPackage(book, fd);
    } catch (const std::exception& e) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw AutomationError("Cannot save \"" + target + "\": " + e.what());
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw AutomationError("Cannot save \"" + target + "\": " + std::strerror(error));
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw AutomationError("Cannot save \"" + target + "\": " + std::strerror(error));
    }
    return target;
}

}  // namespace tabulix::spreadsheet
