#include "automation/workbook_file_name.h"

#include <climits>

#include "automation/automation_error.h"
#include "framework/printable.h"

namespace tabulix::automation {

namespace {

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

std::string WorkbookFileName(const std::string& path) {
    if (path.empty()) throw AutomationError("Cannot save: the file name is empty");
    const std::size_t slash = path.find_last_of('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty())
        throw AutomationError("Cannot save " + framework::quotedPath(path) + ": the path names a folder, not a file");
    std::string target = path;
    const std::size_t dot = base.find_last_of('.');
    if (dot == std::string::npos || dot == 0) {
        target += ".xlsx";
        base += ".xlsx";
    } else if (lowerAscii(base.substr(dot)) != ".xlsx") {
        throw AutomationError("Cannot save " + framework::quotedPath(path) + ": only .xlsx workbooks can be written");
    }
    if (base.size() > NAME_MAX || target.size() >= PATH_MAX)
        throw AutomationError("Cannot save " + framework::quotedPath(target) + ": the file name is too long (" +
                              std::to_string(base.size()) + " bytes, " + std::to_string(target.size()) +
                              " with its folder; at most " + std::to_string(NAME_MAX) + " and " +
                              std::to_string(PATH_MAX - 1) + ")");
    return target;
}

}  // namespace tabulix::automation
