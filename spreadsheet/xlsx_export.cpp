#include "spreadsheet/xlsx_export.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
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

}  // namespace

std::string writeXlsx(const Workbook& book, const std::string& path) {
    const std::string target = targetPath(path);
    const std::size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

    std::string temporary = folder + "/.~" + base + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0 && errno == ENAMETOOLONG)
        throw AutomationError("Cannot save \"" + framework::printable(target) +
                              "\": the file name is too long to save through a temporary file beside it");
    if (fd < 0)
        throw AutomationError("Cannot save \"" + target + "\": the folder \"" + folder +
                              "\" cannot be written: " + std::strerror(errno));
    // mkstemp makes the file private; the saved workbook gets the permissions of any new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
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
