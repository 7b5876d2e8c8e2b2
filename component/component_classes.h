#pragma once
// Registers the component layer's stored classes (TTabulix) in the class registry, so that form
// files can create them. Programs call it once at start-up, before reading a form file.

namespace tabulix::component {

void RegisterComponentClasses();

}  // namespace tabulix::component
