#pragma once
// What tabulix-designer sets up before its window opens: the framework's data access classes
// on their own palette page, and where it looks for design-time packages.

#include <filesystem>
#include <vector>

namespace tabulix::design {

class DesignerHost;

// The palette page "Data Access": TDatabase, TTable, TSQLiteQuery, TCsvTable, TPgQuery and
// TOdbcQuery.
void RegisterDataAccessPalette(DesignerHost& host);

// The package libraries to load when none is named on the command line: libPackTabulix.so
// beside the program, in ../lib, in the installed package folder (../lib/tabulix or the
// system's library folder's tabulix/), and in the build tree's package folder;
// the first that exists.
std::vector<std::filesystem::path> DefaultPackages(const std::filesystem::path& programFolder);

// Brings the running embedded spreadsheet's window to the front (after a preview); nothing when
// no spreadsheet is running.
void ShowRunningSpreadsheetWindow();

}  // namespace tabulix::design
