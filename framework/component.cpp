#include "framework/component.h"

#include <algorithm>
#include <stdexcept>

#include "framework/property_list.h"
#include "framework/text_compare.h"

namespace tabulix::framework {

TComponent::TComponent(TComponent* owner) { attachTo(owner); }

void TComponent::attachTo(TComponent* owner) {
    owner_ = owner;
    if (!owner) return;
    designing_ = owner->designing_;
    // Copies: a notified component may add or free components.
    const std::vector<TComponent*> siblings = owner->components_;
    for (TComponent* sibling : siblings) sibling->Notification(this, TOperation::opInsert);
    owner->components_.push_back(this);
    owner->Notification(this, TOperation::opInsert);
}

TComponent::~TComponent() {
    destroying_ = true;
    // Tell everyone who asked, then the siblings and the owner.
    std::vector<TComponent*> notifies;
    notifies.swap(freeNotifies_);
    for (TComponent* other : notifies) {
        std::erase(other->freeNotifies_, this);
        other->Notification(this, TOperation::opRemove);
    }
    if (owner_) {
        std::erase(owner_->components_, this);
        const std::vector<TComponent*> siblings = owner_->components_;
        for (TComponent* sibling : siblings) sibling->Notification(this, TOperation::opRemove);
        if (!owner_->destroying_) owner_->Notification(this, TOperation::opRemove);
    }
    // Free what we own, last created first.
    while (!components_.empty()) {
        TComponent* child = components_.back();
        delete child;  // its destructor removes it from components_
    }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (sameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::SetDesigning(bool value) {
    designing_ = value;
    for (TComponent* c : components_) c->SetDesigning(value);
}

void TComponent::EndLoading() {
    loading_ = false;
    Loaded();
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    // Notification goes both ways: whichever of the two dies first tells the other.
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) == other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    std::erase(freeNotifies_, other);
    std::erase(other->freeNotifies_, this);
}

void TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
    if (!component) return;
    for (const TComponent* o = this; o; o = o->owner_)
        if (o == component.get()) {
            component.release();  // still owned where it was
            throw std::invalid_argument("a component cannot own itself or its own owner");
        }
    TComponent* c = component.release();
    if (c->owner_) c->owner_->RemoveComponent(c).release();
    c->attachTo(this);
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent* component) {
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it == components_.end()) return nullptr;
    components_.erase(it);
    component->owner_ = nullptr;
    const std::vector<TComponent*> siblings = components_;
    for (TComponent* sibling : siblings) sibling->Notification(component, TOperation::opRemove);
    Notification(component, TOperation::opRemove);
    return std::unique_ptr<TComponent>(component);
}

void TComponent::DefineProperties(PropertyList& properties) {
    properties.Integer("Tag", tag_).Default(0);
}

void TComponent::AdoptChild(TComponent* /*child*/) {}

std::vector<TComponent*> TComponent::GetChildren() const { return components_; }

void TComponent::Notification(TComponent* /*component*/, TOperation /*operation*/) {}

}  // namespace tabulix::framework
