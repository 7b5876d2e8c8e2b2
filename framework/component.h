#pragma once
// TComponent: the framework's base of everything that lives on a form. A component is owned by
// its owner and freed with it; components can ask to be told when another one is destroyed
// (free notification), so that nobody keeps a dangling reference.
//
// Thread rule: a component and everything it owns are used by one thread at a time; components
// with different owners may live on different threads.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/persistent.h"

namespace tabulix::framework {

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    std::string ClassName() const override { return "TComponent"; }

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    std::intptr_t Tag() const { return tag_; }
    void SetTag(std::intptr_t tag) { tag_ = tag; }

    // Owned components, in the order they were inserted.
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)); }
    TComponent* FindComponent(const std::string& name) const;  // letter case ignored, as forms do

    // Component state: designing (inside the form designer) and loading (a form file is being
    // read: the reader calls BeginLoading before setting a component's properties and
    // EndLoading once the whole file is read and its references are resolved).
    bool IsDesigning() const { return designing_; }
    void SetDesigning(bool value);  // also sets it on owned components
    bool IsLoading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    // Ends loading and calls Loaded(); the form reader calls it once every property is read.
    void EndLoading();

    // Free notification: `other` hears Notification(this, opRemove) when this component is
    // destroyed. Owned components are told of each other automatically.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Ends loading without calling Loaded(): the form reader's way out of a failed read.
    void CancelLoading() { loading_ = false; }

    // Takes ownership of a component created with no owner (or moves it from its owner).
    void InsertComponent(std::unique_ptr<TComponent> component);
    // Gives up ownership of an owned component without destroying it.
    std::unique_ptr<TComponent> RemoveComponent(TComponent* component);

    // Published properties: Tag (stored when not 0). Derived classes add theirs after calling
    // this one; see framework/property_list.h.
    void DefineProperties(PropertyList& properties) override;

    // --- Nested objects in form files -------------------------------------------------------
    // A form file nests an object inside another one (a table's persistent fields inside the
    // table). The reader creates the nested object with the enclosing one as its owner, then
    // calls AdoptChild(child) on the enclosing one, before the child's properties are read
    // (the child then has its name but still its defaults). The default accepts any child as
    // a plain owned component; a class overrides it to take the child into its own structure
    // (a data set makes it a persistent field) or to refuse it by throwing, which the reader
    // reports with the file name and line. Mind the order of destruction: owned components
    // are freed by ~TComponent, after the derived destructor has run, so a class that keeps
    // its children in its own members detaches them in its own destructor (or learns of their
    // removal through Notification, which owners hear until ~TComponent begins).
    virtual void AdoptChild(TComponent* child);
    // The objects the form writer nests inside this one, in order. The default is every owned
    // component; the writer skips those whose class is not in the class registry (helper
    // objects such as connections are never stored).
    virtual std::vector<TComponent*> GetChildren() const;

protected:
    virtual void Loaded() {}
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
