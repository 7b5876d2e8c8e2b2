#pragma once
/// @file
/// TComponent: the framework's base of everything that lives on a form. A component is owned by
/// its owner and freed with it; components can ask to be told when another one is destroyed
/// (free notification), so that nobody keeps a dangling reference.
///
/// Thread rule: a component and everything it owns are used by one thread at a time; components
/// with different owners may live on different threads.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/export.h"
#include "framework/persistent.h"

namespace tabulix::framework {

/// What Notification reports: a component inserted into, or removed from, the program.
enum class TOperation { opInsert, opRemove };

/// @brief Base of everything that lives on a form: owned by its owner and freed with it, named,
/// and told when a component it refers to is destroyed (free notification).
/// @threads A component, its owner and the components it owns are used from one thread at a
/// time.
class TABULIX_API TComponent : public TPersistent {
public:
    /// Makes a component owned by `owner`.
    /// @param owner frees the component with itself; nullptr leaves that to the caller.
    explicit TComponent(TComponent* owner);
    /// Tells the components that asked (FreeNotification) and frees the owned components, the last
    /// inserted first.
    ~TComponent() override;

    std::string ClassName() const override { return "TComponent"; }

    /// The owner, or nullptr.
    TComponent* Owner() const { return owner_; }
    /// The component's name (a form file's `object Name: TClass`).
    const std::string& Name() const { return name_; }
    /// Sets the component's name.
    /// @param name the name.
    void SetName(const std::string& name) { name_ = name; }
    /// A number for the program's own use (published as `Tag`).
    std::intptr_t Tag() const { return tag_; }
    /// Sets Tag.
    /// @param tag the number.
    void SetTag(std::intptr_t tag) { tag_ = tag; }

    /// The number of owned components.
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    /// An owned component, in the order they were inserted.
    /// @param index from 0.
    /// @throws std::out_of_range for an index outside 0 to ComponentCount() - 1.
    TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)); }
    /// The owned component of that name, or nullptr.
    /// @param name the name, letter case ignored as form files do.
    TComponent* FindComponent(const std::string& name) const;

    /// Whether the component is inside the form designer.
    bool IsDesigning() const { return designing_; }
    /// Marks the component, and every component it owns, as inside the form designer or not.
    /// @param value true inside the designer.
    void SetDesigning(bool value);
    /// Whether a form file is being read into the component.
    bool IsLoading() const { return loading_; }
    /// Marks the component as loading; the form reader calls it before setting its properties.
    void BeginLoading() { loading_ = true; }
    /// Ends loading and calls Loaded(); the form reader calls it once every property is read and
    /// the references are resolved.
    void EndLoading();

    /// Asks that `other` hear Notification(this, opRemove) when this component is destroyed.
    /// Owned components are told of each other without asking.
    /// @param other the component to tell.
    void FreeNotification(TComponent* other);
    /// Withdraws a FreeNotification.
    /// @param other the component no longer to tell.
    void RemoveFreeNotification(TComponent* other);

    /// Ends loading without calling Loaded(): the form reader's way out of a failed read.
    void CancelLoading() { loading_ = false; }

    /// Takes ownership of a component created with no owner, or moves it from its owner.
    /// @param component the component.
    void InsertComponent(std::unique_ptr<TComponent> component);
    /// Gives up ownership of an owned component without destroying it.
    /// @param component an owned component.
    /// @return the component, now the caller's; empty when it was not owned.
    std::unique_ptr<TComponent> RemoveComponent(TComponent* component);

    /// Published properties: Tag (stored when not 0). Derived classes add theirs after calling this
    /// one; see framework/property_list.h.
    /// @param properties the list the properties are added to.
    void DefineProperties(PropertyList& properties) override;

    // --- Nested objects in form files -------------------------------------------------------
    // Mind the order of destruction: owned components are freed by ~TComponent, after the
    // derived destructor has run, so a class that keeps its children in its own members detaches
    // them in its own destructor (or learns of their removal through Notification, which owners
    // hear until ~TComponent begins).
    /// Takes a nested object of a form file: the reader creates it with this component as its
    /// owner and calls AdoptChild before reading the child's properties. The default keeps it as
    /// a plain owned component; a class overrides it to take the child into its own structure (a
    /// data set makes it a persistent field) or refuses it by throwing, which the reader reports
    /// with the file name and line.
    /// @param child the nested object, owned by this component.
    virtual void AdoptChild(TComponent* child);
    /// The objects the form writer nests inside this one, in order. The default is every owned
    /// component; the writer skips those whose class is not registered (connections and other
    /// helpers are never stored).
    virtual std::vector<TComponent*> GetChildren() const;

protected:
    /// Called by EndLoading once a form file has been read into the component.
    virtual void Loaded() {}
    /// Told when an owned component, or one this one asked FreeNotification of, is inserted or
    /// removed; a component that refers to another forgets it here.
    /// @param component the component concerned.
    /// @param operation opInsert or opRemove.
    virtual void Notification(TComponent* component, TOperation operation);

private:
    void attachTo(TComponent* owner);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::intptr_t tag_ = 0;
    bool designing_ = false;
    bool loading_ = false;
    bool destroying_ = false;
    std::vector<TComponent*> components_;     // owned; freed in reverse order by the destructor
    std::vector<TComponent*> freeNotifies_;   // told when this component goes away
};

}  // namespace tabulix::framework
