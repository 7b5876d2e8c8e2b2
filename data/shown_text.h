#pragma once
// How the data layer's messages echo what came from outside (a path, a name from a form file,
// a value read from a file or a database): escaped and shortened by the project's one function
// for that, with paths kept whole up to a generous length. Not part of the library's interface.

#include <filesystem>
#include <string>
#include <string_view>

#include "framework/printable.h"

namespace tabulix::data {

inline std::string shown(std::string_view text) { return framework::printable(text); }

inline std::string shownPath(const std::filesystem::path& path) { return framework::printable(path.string(), 1024); }

}  // namespace tabulix::data
