#pragma once
/// @file
/// Registers the component layer's stored classes (TTabulix) in the class registry, so that form
/// files can create them. Programs call it once at start-up, before reading a form file.
///
/// Thread rule: registering is safe on any thread (the registry is guarded); call it before
/// other threads read form files.

#include "framework/export.h"

namespace tabulix::component {

/// Registers TTabulix with framework::ClassRegistry, so that form files can hold it; call it
/// once before reading a form file.
TABULIX_API void RegisterComponentClasses();

}  // namespace tabulix::component
