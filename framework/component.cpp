#include "framework/component.h"

#include <algorithm>

#include "framework/text_compare.h"

namespace tabulix::framework {

TComponent::TComponent(TComponent* owner) { attachTo(owner); }

void TComponent::attachTo(TComponent* owner) {
    owner_ = owner;
    if (!owner) return;
    designing_ = owner->designing_;
    for (TComponent* sibling : owner->components_) sibling->Notification(this, TOperation::opInsert);
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
        for (TComponent* sibling : owner_->components_) sibling->Notification(this, TOperation::opRemove);
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
    TComponent* c = component.release();
    if (c->owner_) std::erase(c->owner_->components_, c);
    c->attachTo(this);
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent* component) {
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it == components_.end()) return nullptr;
    components_.erase(it);
    component->owner_ = nullptr;
    return std::unique_ptr<TComponent>(component);
}

void TComponent::Notification(TComponent* /*component*/, TOperation /*operation*/) {}

}  // namespace tabulix::framework
