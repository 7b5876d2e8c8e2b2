#pragma once
// TPersistent: an object whose published properties a form file can store and restore.
//
// Thread rule: a persistent object (and so every component) is used by one thread at a time;
// objects on different threads share nothing.

#include <string>

namespace tabulix::framework {

class PropertyList;

class TPersistent {
public:
    virtual ~TPersistent() = default;
    TPersistent() = default;
    TPersistent(const TPersistent&) = delete;
    TPersistent& operator=(const TPersistent&) = delete;

    virtual std::string ClassName() const = 0;

    // Describes the published properties, in the order a form file stores them. Classes add
    // their own after their base's.
    virtual void DefineProperties(PropertyList& /*properties*/) {}
};

}  // namespace tabulix::framework
