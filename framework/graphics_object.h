#pragma once
/// @file
/// TGraphicsObject: base of the toolkit's persistent drawing attributes (fonts, attribute sets).
/// It tells whoever listens through OnChange when one of its attributes changes.

#include <functional>
#include <string>

#include "framework/export.h"
#include "framework/persistent.h"

namespace tabulix::framework {

class TABULIX_API TGraphicsObject : public TPersistent {
public:
    std::string ClassName() const override { return "TGraphicsObject"; }

    std::function<void()> OnChange;

protected:
    void Changed() {
        if (OnChange) OnChange();
    }
};

}  // namespace tabulix::framework
