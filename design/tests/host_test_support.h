#pragma once
// The designer host as the tests use it: the real DesignerHost, whose modal dialogs run scripts
// instead of waiting for a user, with the built libPackTabulix.so loaded through its loader.

#include <deque>
#include <string>
#include <vector>

#include "design/host/designer_host.h"
#include "design/tests/dialog_driver.h"

namespace tabulix::design::testing {

class ScriptedDesignerHost : public DesignerHost {
public:
    int ShowModal(QDialog& dialog) override { return RunNextScript(scripts, shownDialogs, dialog); }

    std::deque<DialogScript> scripts;
    std::vector<std::string> shownDialogs;
};

inline const char* PackageLibrary() { return TABULIX_PACKAGE_LIBRARY; }

}  // namespace tabulix::design::testing
