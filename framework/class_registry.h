#pragma once
/// @file
/// The class registry: how the form reader creates an object from the class name written in a
/// form file ("object Taula: TTable"). Each layer registers its stored classes once, early in
/// the program (data::RegisterDataClasses(), ...), before any form file is read; registering
/// from static initialisers is avoided because a static library may drop them. The framework's
/// own classes TForm, TDataModule, TFontDialog and TColorDialog are always registered.
///
///     framework::RegisterClass<TTable>("TTable");
///     framework::ClassRegistry::Instance().Register("TForm1",
///         [](TComponent* owner) { return new TForm(owner, "TForm1"); });
///
/// Thread rule: the registry is process-wide and guarded: any thread may register and create, so
/// several threads can read form files at once; a factory runs outside the guard.

#include <functional>
#include <map>
#include <memory>
#include <shared_mutex>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/export.h"

namespace tabulix::framework {

/// @brief The class names a form file may name, each with the factory that makes its objects.
/// @threads Guarded: any thread may register and create, several at once.
class TABULIX_API ClassRegistry {
public:
    /// Creates a new object with `owner` as its owner (null for a form's root, which the caller
    /// then owns). The object's ClassName() should be the registered name, so that a form file
    /// written from it reads back.
    using Factory = std::function<TComponent*(TComponent* owner)>;

    /// The registry of the process.
    static ClassRegistry& Instance();

    /// Registers the factory of a class name, replacing any earlier one.
    /// @param className the name as form files write it.
    /// @param factory makes a new object with the given owner.
    void Register(const std::string& className, Factory factory);
    /// Removes a class name; an unknown one does nothing.
    /// @param className the name, ASCII letter case ignored.
    void Unregister(const std::string& className);
    /// Whether a class name is registered.
    /// @param className the name, ASCII letter case ignored as the framework's names are.
    bool IsRegistered(const std::string& className) const;
    /// The registered class names, as registered, in alphabetical order.
    std::vector<std::string> ClassNames() const;

    /// A new object of a registered class.
    /// @param className the name, ASCII letter case ignored.
    /// @param owner owns and frees the new object.
    /// @throws std::invalid_argument "unknown class 'X'" when the name is not registered.
    TComponent* Create(const std::string& className, TComponent& owner) const;
    /// A new object without owner (a form's root).
    /// @param className the name, ASCII letter case ignored.
    /// @throws std::invalid_argument "unknown class 'X'" when the name is not registered.
    std::unique_ptr<TComponent> CreateRoot(const std::string& className) const;

private:
    ClassRegistry();
    Factory find(const std::string& className) const;

    mutable std::shared_mutex lock_;  // guards classes_
    std::map<std::string, std::pair<std::string, Factory>> classes_;  // upper-cased name -> (name, factory)
};

/// Registers T, constructed as T(owner), under `className`.
template <class T>
void RegisterClass(const std::string& className) {
    ClassRegistry::Instance().Register(className, [](TComponent* owner) -> TComponent* { return new T(owner); });
}

}  // namespace tabulix::framework
