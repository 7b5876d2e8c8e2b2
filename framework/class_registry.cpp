#include "framework/class_registry.h"

#include <mutex>
#include <stdexcept>

#include "framework/dialogs.h"
#include "framework/form.h"
#include "framework/text_compare.h"

namespace tabulix::framework {

namespace {
std::string key(const std::string& className) {
    std::string k = className;
    for (char& c : k) c = upperAscii(c);
    return k;
}
}  // namespace

ClassRegistry::ClassRegistry() {
    Register("TForm", [](TComponent* owner) -> TComponent* { return new TForm(owner); });
    Register("TDataModule", [](TComponent* owner) -> TComponent* { return new TDataModule(owner); });
    Register("TFontDialog", [](TComponent* owner) -> TComponent* { return new TFontDialog(owner); });
    Register("TColorDialog", [](TComponent* owner) -> TComponent* { return new TColorDialog(owner); });
}

ClassRegistry& ClassRegistry::Instance() {
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::Register(const std::string& className, Factory factory) {
    if (className.empty() || !factory) throw std::invalid_argument("a class needs a name and a factory");
    const std::unique_lock hold(lock_);
    classes_[key(className)] = {className, std::move(factory)};
}

void ClassRegistry::Unregister(const std::string& className) {
    const std::unique_lock hold(lock_);
    classes_.erase(key(className));
}

bool ClassRegistry::IsRegistered(const std::string& className) const {
    const std::shared_lock hold(lock_);
    return classes_.contains(key(className));
}

std::vector<std::string> ClassRegistry::ClassNames() const {
    std::vector<std::string> names;
    const std::shared_lock hold(lock_);
    for (const auto& [k, entry] : classes_) names.push_back(entry.first);
    return names;
}

ClassRegistry::Factory ClassRegistry::find(const std::string& className) const {
    const std::shared_lock hold(lock_);
    auto it = classes_.find(key(className));
    if (it == classes_.end()) throw std::invalid_argument("unknown class '" + className + "'");
    return it->second.second;
}

TComponent* ClassRegistry::Create(const std::string& className, TComponent& owner) const {
    TComponent* made = find(className)(&owner);
    if (!made) throw std::runtime_error("the factory of class '" + className + "' made no object");
    return made;
}

std::unique_ptr<TComponent> ClassRegistry::CreateRoot(const std::string& className) const {
    std::unique_ptr<TComponent> made(find(className)(nullptr));
    if (!made) throw std::runtime_error("the factory of class '" + className + "' made no object");
    return made;
}

}  // namespace tabulix::framework
