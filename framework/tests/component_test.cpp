#include "framework/component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fw = tabulix::framework;
using fw::TComponent;
using fw::TOperation;

namespace {

// Logs its notifications and its destruction into a shared journal.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string name, std::vector<std::string>& log) : TComponent(owner), log_(log) {
        SetName(name);
    }
    ~Probe() override { log_.push_back("~" + Name()); }
    std::string ClassName() const override { return "TProbe"; }

    // Holds a reference to another component and forgets it when that one goes.
    TComponent* watched = nullptr;
    void Watch(TComponent* other) {
        watched = other;
        FreeNotification(other);
    }
    int loadedCalls = 0;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        log_.push_back(Name() + (operation == TOperation::opInsert ? " +" : " -") + component->Name());
        if (operation == TOperation::opRemove && component == watched) watched = nullptr;
    }
    void Loaded() override { ++loadedCalls; }

private:
    std::vector<std::string>& log_;
};

}  // namespace

TEST(Component, OwnedComponentsAreFreedWithTheirOwnerLastCreatedFirst) {
    std::vector<std::string> log;
    auto* owner = new Probe(nullptr, "owner", log);
    auto* a = new Probe(owner, "a", log);
    new Probe(a, "a1", log);
    new Probe(owner, "b", log);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(0), a);
    EXPECT_EQ(a->Owner(), owner);
    log.clear();
    delete owner;
    EXPECT_EQ(log, (std::vector<std::string>{"~owner", "~b", "a -b", "~a", "~a1"}));
}

TEST(Component, SiblingsAndOwnerHearOfInsertionAndRemoval) {
    std::vector<std::string> log;
    Probe owner(nullptr, "owner", log);
    auto* a = new Probe(&owner, "a", log);
    auto* b = new Probe(&owner, "b", log);
    // Insertion is told from the base constructor, before the newcomer has its name.
    EXPECT_EQ(log, (std::vector<std::string>{"owner +", "a +", "owner +"}));
    log.clear();
    delete a;
    EXPECT_EQ(log, (std::vector<std::string>{"~a", "b -a", "owner -a"}));
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
}

TEST(Component, FreeNotificationWorksBothWaysAndCanBeWithdrawn) {
    std::vector<std::string> log;
    auto* table = new Probe(nullptr, "table", log);
    auto* user = new Probe(nullptr, "user", log);
    user->Watch(table);
    delete table;
    EXPECT_EQ(user->watched, nullptr);

    auto* other = new Probe(nullptr, "other", log);
    user->Watch(other);
    delete user;  // the other side must not keep a dangling entry
    log.clear();
    delete other;
    EXPECT_EQ(log, (std::vector<std::string>{"~other"}));

    Probe x(nullptr, "x", log), y(nullptr, "y", log);
    x.Watch(&y);
    x.RemoveFreeNotification(&y);
    x.FreeNotification(nullptr);
    x.FreeNotification(&x);
    log.clear();
    {
        Probe z(nullptr, "z", log);
        x.Watch(&z);
        x.RemoveFreeNotification(&z);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"~z"}));
}

TEST(Component, FindComponentIgnoresLetterCaseAndLooksOnlyAtOwnedComponents) {
    std::vector<std::string> log;
    Probe form(nullptr, "Form1", log);
    auto* table = new Probe(&form, "Taula", log);
    new Probe(table, "TaulaCOD_ARTI", log);
    EXPECT_EQ(form.FindComponent("taula"), table);
    EXPECT_EQ(form.FindComponent("TAULA"), table);
    EXPECT_EQ(form.FindComponent("TaulaCOD_ARTI"), nullptr);
    EXPECT_EQ(form.FindComponent(""), nullptr);
    EXPECT_EQ(form.FindComponent("Taul"), nullptr);
}

TEST(Component, OwnershipMovesAndCannotLoop) {
    std::vector<std::string> log;
    Probe first(nullptr, "first", log), second(nullptr, "second", log);
    auto* moving = new Probe(&first, "moving", log);
    log.clear();
    second.InsertComponent(first.RemoveComponent(moving));
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(moving->Owner(), &second);
    EXPECT_EQ(log, (std::vector<std::string>{"first -moving", "second +moving"}));
    EXPECT_EQ(first.RemoveComponent(moving), nullptr);

    auto* inner = new Probe(moving, "inner", log);
    std::unique_ptr<TComponent> mine(second.RemoveComponent(moving));
    EXPECT_THROW(inner->InsertComponent(std::move(mine)), std::invalid_argument);
    EXPECT_EQ(moving->Owner(), nullptr);
    delete moving;  // still the caller's after the refusal
}

TEST(Component, DesigningPassesToOwnedComponentsAndLoadingEndsWithLoaded) {
    std::vector<std::string> log;
    Probe form(nullptr, "form", log);
    auto* before = new Probe(&form, "before", log);
    form.SetDesigning(true);
    auto* after = new Probe(&form, "after", log);
    EXPECT_TRUE(before->IsDesigning());
    EXPECT_TRUE(after->IsDesigning());

    after->BeginLoading();
    EXPECT_TRUE(after->IsLoading());
    after->EndLoading();
    EXPECT_FALSE(after->IsLoading());
    EXPECT_EQ(after->loadedCalls, 1);
    before->BeginLoading();
    before->CancelLoading();
    EXPECT_FALSE(before->IsLoading());
    EXPECT_EQ(before->loadedCalls, 0);
}
