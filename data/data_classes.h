#pragma once
// Registers the data layer's stored classes (databases, data sets and every field class) in the
// framework's class registry, so that form files can create them by class name. Call once at
// start-up, before the first form file is read; calling again does no harm.
//
// Thread rule: registering is safe on any thread (the registry is guarded); call it before
// other threads read form files.

namespace tabulix::data {

void RegisterDataClasses();

}  // namespace tabulix::data
