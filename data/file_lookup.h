#pragma once
// Finding data files the way users name them: dBASE files often come from systems that ignore
// letter case ("DEMO.DBF" asked for as "Demo.dbf"), so a name that does not exist as written is
// looked up in its folder ignoring ASCII letter case.

#include <filesystem>

namespace tabulix::data {

// The existing file of that name, or of the same name in another letter case; the path as
// given when there is neither.
std::filesystem::path findFileIgnoringCase(const std::filesystem::path& path);

}  // namespace tabulix::data
