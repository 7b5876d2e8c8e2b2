#include "component/component_classes.h"

#include "component/tabulix.h"
#include "framework/class_registry.h"

namespace tabulix::component {

void RegisterComponentClasses() { framework::RegisterClass<TTabulix>("TTabulix"); }

}  // namespace tabulix::component
