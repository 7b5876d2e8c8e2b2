// The thread rule of the automation layer: objects of an application answer only the thread that
// started it, each thread connects to an application of its own, and connections may be freed
// on any thread.

#include <gtest/gtest.h>
#include <pthread.h>

#include <memory>
#include <thread>
#include <vector>

#include "automation/application_provider.h"
#include "automation/automation_error.h"
#include "automation/call_journal.h"
#include "automation/connection.h"
#include "automation/thread_owner.h"

using namespace tabulix::automation;

namespace {

// An object of the calling thread that counts the calls it answers and journals them.
class OwnedObject : public Dispatch {
public:
    explicit OwnedObject(std::string type = "Application") : type_(std::move(type)) {}
    std::string_view typeName() const override { return type_; }
    DispId idOfName(std::string_view) const override { return 7; }
    std::string_view nameOfId(DispId id) const override { return id == 7 ? "Visible" : ""; }
    EventSource* events() override { return &events_; }
    const ThreadOwner* threadOwner() const override { return &owner_; }

    int answered = 0;
    mutable CallJournal log;
    EventSource events_;

protected:
    Variant doInvoke(DispId, InvokeKind, std::span<const Variant>, Lcid) override {
        ++answered;
        return Variant(true);
    }
    CallJournal* journal() const override { return &log; }

private:
    std::string type_;
    ThreadOwner owner_;
};

// Runs fn on a thread of its own, named `name`, and waits for it.
template <class Fn>
void onThread(const char* name, Fn fn) {
    std::thread worker([&] {
        pthread_setname_np(pthread_self(), name);
        fn();
    });
    worker.join();
}

struct CountingProvider : ApplicationProvider {
    std::atomic<int> starts = 0;
    DispatchPtr startApplication() override {
        ++starts;
        return std::make_shared<OwnedObject>();
    }
};

}  // namespace

TEST(ThreadOwner, ACallFromAnotherThreadIsRefusedBeforeTheObjectOrItsJournalSeesIt) {
    pthread_setname_np(pthread_self(), "owner");
    auto object = std::make_shared<OwnedObject>();
    EXPECT_TRUE(object->get(7).toBool());

    std::string message;
    std::int32_t scode = 0;
    onThread("intruder", [&] {
        try {
            object->get("Visible");
        } catch (const AutomationError& e) {
            message = e.what();
            scode = e.scode();
        }
    });
    EXPECT_EQ(scode, AutomationError::kWrongThread);
    EXPECT_NE(message.find("Application.Visible: called from thread "), std::string::npos) << message;
    EXPECT_NE(message.find("(intruder), but its application belongs to thread "), std::string::npos) << message;
    EXPECT_NE(message.find("(owner)"), std::string::npos) << message;
    EXPECT_EQ(object->answered, 1);
    EXPECT_EQ(object->log.entries().size(), 1u);
}

TEST(ThreadOwner, EachThreadConnectsToAnApplicationOfItsOwn) {
    auto provider = std::make_unique<CountingProvider>();
    CountingProvider& counting = *provider;
    setApplicationProvider(std::move(provider));
    shutDownRunningApplication();

    const DispatchPtr mine = attachOrStartApplication();
    EXPECT_EQ(attachOrStartApplication(), mine);
    std::vector<DispatchPtr> theirs(3);
    std::vector<std::thread> threads;
    for (auto& app : theirs)
        threads.emplace_back([&app] {
            EXPECT_EQ(runningApplication(), nullptr);
            app = attachOrStartApplication();
            EXPECT_EQ(runningApplication(), app);
            EXPECT_TRUE(app->get(7).toBool());  // its own thread's object answers it
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(counting.starts, 4);
    for (const DispatchPtr& app : theirs) {
        EXPECT_NE(app, mine);
        EXPECT_EQ(app.use_count(), 1) << "a thread's application goes with the thread";
    }
    EXPECT_EQ(runningApplication(), mine);

    shutDownRunningApplication();
    setApplicationProvider(nullptr);
}

TEST(ThreadOwner, AConnectionRefusesAnObjectOfAnotherThreadAndMayBeFreedOnAny) {
    auto workbook = std::make_shared<OwnedObject>("Workbook");
    std::int32_t scode = 0;
    onThread("other", [&] {
        WorkbookConnection connection(nullptr);
        try {
            connection.ConnectTo(workbook);
        } catch (const AutomationError& e) {
            scode = e.scode();
        }
        EXPECT_FALSE(connection.IsConnected());
    });
    EXPECT_EQ(scode, AutomationError::kWrongThread);
    EXPECT_EQ(workbook->events_.sinkCount(), 0u);

    // Connections of the owner thread freed on another while the owner connects and frees more.
    std::vector<std::unique_ptr<WorkbookConnection>> connections;
    for (int i = 0; i < 50; ++i) {
        connections.push_back(std::make_unique<WorkbookConnection>(nullptr));
        connections.back()->ConnectTo(workbook);
    }
    std::thread freeing([&] { connections.clear(); });
    for (int i = 0; i < 50; ++i) {
        WorkbookConnection passing(nullptr);
        passing.ConnectTo(workbook);
    }
    freeing.join();
    EXPECT_EQ(workbook->events_.sinkCount(), 0u);
}
