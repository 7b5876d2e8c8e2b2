#pragma once
// The form designer's side of the design-time interface: the palette and the property editors
// that packages register, the packages it has loaded, error boxes through the current UI
// services and dialogs shown with exec(). One DesignerHost serves one designer window.

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "design/design_host.h"
#include "design/pack_tabulix.h"
#include "framework/property_list.h"

namespace tabulix::design {

// A package that cannot be loaded or that fails while registering. The message names the
// library and what went wrong.
class PackageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class DesignerHost : public DesignHost {
public:
    struct PaletteEntry {
        std::string className;
        const char* const* picture = nullptr;  // XPM from the registering package, or none
    };
    struct PalettePage {
        std::string name;
        std::vector<PaletteEntry> entries;
    };
    struct LoadedPackage {
        std::filesystem::path path;
        const PackageInfo* info = nullptr;  // null when the package offers none
    };

    DesignerHost() = default;
    DesignerHost(const DesignerHost&) = delete;
    DesignerHost& operator=(const DesignerHost&) = delete;

    void RegisterComponents(const std::string& page, const std::vector<ComponentClass>& classes) override;
    void RegisterPropertyEditor(const std::string& propertyType, const std::string& componentClass,
                                const std::string& propertyName, PropertyEditorFactory factory) override;
    void ErrorBox(const std::string& text) override;
    int ShowModal(QDialog& dialog) override;
    void Modified() override;

    // Told whenever the designed form changes through an editor.
    std::function<void()> OnModified;

    // Loads a package with dlopen and calls its Register. The library stays loaded for the
    // life of the process (the classes and editors it registered live in it). Raises
    // PackageError, and the host goes on as before, when the library cannot be loaded, has no
    // Register, or Register fails.
    const LoadedPackage& LoadPackage(const std::filesystem::path& library);
    const std::vector<LoadedPackage>& Packages() const { return packages_; }

    const std::vector<PalettePage>& Pages() const { return pages_; }

    // A new editor for `property` of `component` when a package registered one that fits
    // (the property's object class, its name, the component's class), else null.
    std::unique_ptr<TPropertyEditor> EditorFor(framework::TComponent& component, const framework::Property& property);

private:
    struct EditorRegistration {
        std::string propertyType, componentClass, propertyName;
        PropertyEditorFactory factory;
    };

    std::vector<PalettePage> pages_;
    std::vector<EditorRegistration> editors_;
    std::vector<LoadedPackage> packages_;
    const PackageInfo* registering_ = nullptr;  // the package whose Register is running
};

}  // namespace tabulix::design
