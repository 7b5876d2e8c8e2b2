#pragma once
#include "framework/export.h"
// Registers the component layer's stored classes (TTabulix) in the class registry, so that form
// files can create them. Programs call it once at start-up, before reading a form file.

namespace tabulix::component {

TABULIX_API void RegisterComponentClasses();

}  // namespace tabulix::component
