#pragma once
// The demonstration window's non-visual components: the database connection DB, the sample
// table Taula, the component de and the stored choices of the font and colour dialogs FDial and
// CDial, read from the form file (DemoTabulix.form) into a form root of class TForm1. The form's
// relative database path is taken from the form file's folder.

#include <filesystem>
#include <memory>
#include <string>

#include "framework/form.h"

namespace tabulix::data {
class TDatabase;
class TTable;
}  // namespace tabulix::data

namespace tabulix::component {
class TTabulix;
}

namespace tabulix::framework {
class TColorDialog;
class TFontDialog;
}  // namespace tabulix::framework

namespace tabulix::demo {

struct DemoComponents {
    std::unique_ptr<framework::TForm> root;  // owns the components
    data::TDatabase* DB = nullptr;
    data::TTable* Taula = nullptr;
    component::TTabulix* de = nullptr;     // never null
    framework::TFontDialog* FDial = nullptr;  // never null
    framework::TColorDialog* CDial = nullptr;  // never null
    // Empty when the form file was read whole; otherwise what went wrong, and the components
    // the file could not give are missing (de is then a component with its defaults).
    std::string loadError;
};

// Reads the form file. Never throws: a file that cannot be read leaves a bare component `de`
// (so the manual actions still work) and says why in loadError. Dialogs the file does not hold
// start with the toolkit's defaults, silently.
DemoComponents LoadDemoComponents(const std::filesystem::path& formFile);

// The form file the program reads: DemoTabulix.form next to the executable or in
// ../share/tabulix/demo/ from it (an installed program), else the one in the source tree the
// program was built from.
std::filesystem::path DefaultFormFile();

}  // namespace tabulix::demo
