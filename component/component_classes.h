#pragma once
// Registers the component layer's stored classes (TTabulix) in the class registry, so that form
// files can create them. Programs call it once at start-up, before reading a form file.
//
// Thread rule: registering is safe on any thread (the registry is guarded); call it before
// other threads read form files.

namespace tabulix::component {

void RegisterComponentClasses();

}  // namespace tabulix::component
