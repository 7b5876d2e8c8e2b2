#pragma once
/// @file
/// TGraphicsObject: base of the toolkit's persistent drawing attributes (fonts, attribute sets).
/// It tells whoever listens through OnChange when one of its attributes changes.

#include <functional>
#include <string>

#include "framework/export.h"
#include "framework/persistent.h"

namespace tabulix::framework {

/// @brief Base of the persistent drawing attributes (fonts, attribute sets), which tell
/// whoever listens through OnChange when one of their attributes changes.
/// @threads As TPersistent.
class TABULIX_API TGraphicsObject : public TPersistent {
public:
    std::string ClassName() const override { return "TGraphicsObject"; }

    /// Called after an attribute changed; empty for none.
    std::function<void()> OnChange;

protected:
    /// Calls OnChange; derived classes call it after changing an attribute.
    void Changed() {
        if (OnChange) OnChange();
    }
};

}  // namespace tabulix::framework
