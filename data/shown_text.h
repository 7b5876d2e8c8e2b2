#pragma once
// How the data layer's messages echo what came from outside (a path, a name from a form file,
// a value read from a file or a database, another library's message): escaped and shortened by
// the project's one function for that, paths and whole messages given more room. Not part of the
// library's interface.

#include <filesystem>
#include <string>
#include <string_view>

#include "framework/printable.h"

namespace tabulix::data {

inline std::string shown(std::string_view text) { return framework::printable(text); }

inline std::string shownPath(const std::filesystem::path& path) {
    return framework::printable(path.string(), framework::kPrintablePathLength);
}

inline std::string shownMessage(std::string_view text) { return framework::printable(text, framework::kPrintableMessageLength); }

}  // namespace tabulix::data
