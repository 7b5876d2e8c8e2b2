#include "design/host/designer_host.h"

#include <dlfcn.h>

#include <QDialog>
#include <algorithm>

#include "framework/class_registry.h"
#include "framework/string_list.h"
#include "framework/text_compare.h"
#include "framework/ui_services.h"

namespace tabulix::design {

namespace {

std::string upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

const char* const* pictureOf(const PackageInfo* info, const std::string& className) {
    if (!info) return nullptr;
    for (const auto& [name, picture] : info->bitmaps)
        if (name == upper(className)) return picture;
    return nullptr;
}

}  // namespace

void DesignerHost::RegisterComponents(const std::string& page, const std::vector<ComponentClass>& classes) {
    auto found = std::find_if(pages_.begin(), pages_.end(), [&](const PalettePage& p) { return p.name == page; });
    if (found == pages_.end()) found = pages_.insert(pages_.end(), PalettePage{page, {}});
    for (const ComponentClass& c : classes) {
        framework::ClassRegistry::Instance().Register(c.className, c.factory);
        std::erase_if(found->entries, [&](const PaletteEntry& e) { return e.className == c.className; });
        found->entries.push_back({c.className, pictureOf(registering_, c.className)});
    }
}

void DesignerHost::RegisterPropertyEditor(const std::string& propertyType, const std::string& componentClass,
                                          const std::string& propertyName, PropertyEditorFactory factory) {
    editors_.push_back({propertyType, componentClass, propertyName, std::move(factory)});
}

void DesignerHost::ErrorBox(const std::string& text) {
    framework::CurrentUi().MessageDlg(text, "", framework::TMsgDlgType::mtError, framework::mbOKOnly);
}

int DesignerHost::ShowModal(QDialog& dialog) { return dialog.exec(); }

void DesignerHost::Modified() {
    if (OnModified) OnModified();
}

std::unique_ptr<TPropertyEditor> DesignerHost::EditorFor(framework::TComponent& component,
                                                         const framework::Property& property) {
    const framework::TPersistent* value = nullptr;
    if (property.Kind() == framework::PropertyKind::StringList) value = property.List();
    if (property.Kind() == framework::PropertyKind::Object) value = property.Object();
    if (!value) return nullptr;
    // The last registration wins, as a package loaded later overrides an earlier one.
    for (auto e = editors_.rbegin(); e != editors_.rend(); ++e) {
        if (!framework::sameText(e->propertyType, value->ClassName())) continue;
        if (!framework::sameText(e->propertyName, property.Name())) continue;
        if (!e->componentClass.empty() && !framework::sameText(e->componentClass, component.ClassName())) continue;
        return e->factory(*this, {&component}, property.Name());
    }
    return nullptr;
}

const DesignerHost::LoadedPackage& DesignerHost::LoadPackage(const std::filesystem::path& library) {
    const std::string name = library.string();
    // RTLD_NOW: a symbol the package needs and the host lacks is reported here, not at the
    // first call that reaches it.
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) throw PackageError("cannot load the package " + name + ": " + dlerror());
    using RegisterEntry = void (*)(DesignHost&);
    using InfoEntry = const PackageInfo& (*)();
    auto registerEntry = reinterpret_cast<RegisterEntry>(dlsym(handle, "Register"));
    if (!registerEntry) {
        dlclose(handle);
        throw PackageError("the library " + name + " is not a design-time package: it has no Register entry point");
    }
    auto infoEntry = reinterpret_cast<InfoEntry>(dlsym(handle, "GetPackageInfo"));
    registering_ = infoEntry ? &infoEntry() : nullptr;
    try {
        registerEntry(*this);
    } catch (const std::exception& e) {
        registering_ = nullptr;
        throw PackageError("the package " + name + " failed to register: " + e.what());
    }
    packages_.push_back({library, registering_});
    registering_ = nullptr;
    return packages_.back();
}

}  // namespace tabulix::design
