#pragma once
/// @file
/// Registers the data layer's stored classes (databases, data sets and every field class) in the
/// framework's class registry, so that form files can create them by class name. Call once at
/// start-up, before the first form file is read; calling again does no harm.
///
/// Thread rule: registering is safe on any thread (the registry is guarded); call it before
/// other threads read form files.

#include "framework/export.h"

namespace tabulix::data {

/// Registers TDatabase, TTable, TSQLiteQuery and every field class with
/// framework::ClassRegistry; call it once before reading a form file.
TABULIX_API void RegisterDataClasses();

}  // namespace tabulix::data
