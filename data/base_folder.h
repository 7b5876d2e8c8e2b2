#pragma once
/// @file
/// Relative file names in a form (a database's PATH, a query's FileName) are meant relative to
/// the form file. A program that reads a form file calls SetBaseFolders on its root right after
/// reading it, before connecting, with the form file's folder.

#include <filesystem>

#include "framework/component.h"
#include "framework/export.h"

namespace tabulix::data {

/// Sets the base folder of every TDatabase, TSQLiteQuery and TCsvTable owned, directly or not,
/// by `root` (and of `root` itself when it is one).
TABULIX_API void SetBaseFolders(framework::TComponent& root, const std::filesystem::path& folder);

}  // namespace tabulix::data
