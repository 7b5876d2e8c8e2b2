#pragma once
/// @file
/// TPersistent: an object whose published properties a form file can store and restore.
///
/// Thread rule: a persistent object (and so every component) is used by one thread at a time;
/// objects on different threads share nothing.

#include <string>

#include "framework/export.h"

namespace tabulix::framework {

class PropertyList;

/// @brief An object whose published properties a form file can store and restore.
/// @threads An object is used from one thread at a time.
class TABULIX_API TPersistent {
public:
    /// Frees the object.
    virtual ~TPersistent() = default;
    /// Makes an object.
    TPersistent() = default;
    /// Objects are not copied: Assign copies their properties where a class offers it.
    TPersistent(const TPersistent&) = delete;
    /// Objects are not assigned.
    TPersistent& operator=(const TPersistent&) = delete;

    /// The class's name as form files write it ("TTabulix").
    virtual std::string ClassName() const = 0;

    /// Describes the published properties, in the order a form file stores them, by adding them to
    /// the list given. Classes add their own after their base's.
    virtual void DefineProperties(PropertyList& /*properties*/) {}
};

}  // namespace tabulix::framework
