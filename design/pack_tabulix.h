#pragma once
// The design-time package PackTabulix (libPackTabulix.so): `Register` puts TTabulix on the palette
// page "Tabulix" and gives the `Formulas` property of type TFormulaTabulix its editor,
// TPropertyFormulaTabulix, which opens the formula list dialog on the component's records.
//
// The host loads the library with dlopen and looks up the two C entry points below. The
// component and framework code the package uses is the host's own (the host program links the
// component libraries and exports their symbols), so host and package share one class registry
// and one set of classes.

#include <string>
#include <vector>

#include "design/design_host.h"

namespace tabulix::design {

class TPropertyFormulaTabulix : public TClassProperty {
public:
    using TClassProperty::TClassProperty;

    static constexpr const char* kSinDatos = "No hay un fuente de datos asignada a DATOS.";
    static constexpr const char* kSinCampos = "Debe crear los campos en la fuente de informació DATOS.";

    // Checks the component's data set, runs the formula list dialog on a copy of the records
    // and stores the edited records back, marking the form modified.
    void Edit() override;
    // {dialog, read-only}: an ellipsis button, and a value text that cannot be typed over.
    TPropertyAttributes GetAttributes() const override;
    // Always "[TFormulaTabulix]".
    std::string GetValue() const override;
};

// The package information table and resources, as the host's package list shows them.
struct PackageVersion {
    int major, minor, release, build;
    std::string language;  // e.g. "Español (España)"
    unsigned languageId;   // 0x0C0A
    unsigned codePage;     // 1252
    std::string companyName, fileDescription, productName;
};

struct PackageInfo {
    std::string name;
    std::string description;           // one line, for the host's package list
    std::vector<std::string> contains;  // the units the package holds
    std::vector<std::string> requires_; // the libraries it needs from the host process
    bool designOnly = false;
    bool runOnly = false;
    PackageVersion version;
    // The palette pictures by resource name ("TTABULIX"): 24 x 24, 16 colours, as XPM text.
    std::vector<std::pair<std::string, const char* const*>> bitmaps;
};

}  // namespace tabulix::design

// The package's entry points, looked up by name.
extern "C" {
void Register(tabulix::design::DesignHost& host);
const tabulix::design::PackageInfo& GetPackageInfo();
}
