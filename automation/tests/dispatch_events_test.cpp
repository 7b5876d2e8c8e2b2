#include <gtest/gtest.h>

#include <map>

#include "automation/application_provider.h"
#include "automation/automation_error.h"
#include "automation/call_journal.h"
#include "automation/dispatch.h"
#include "automation/events.h"

using namespace tabulix::automation;

namespace {

// A two-member object: "Value" (get/put, id 6) and "Ping" (method, id 9).
class Cell : public Dispatch {
public:
    explicit Cell(CallJournal* log) : log_(log) {}
    std::string_view typeName() const override { return "Cell"; }
    DispId idOfName(std::string_view m) const override {
        if (m == "Value" || m == "value") return 6;
        if (m == "Ping") return 9;
        throw AutomationError("Unknown name: " + std::string(m), AutomationError::kUnknownName);
    }
    std::string_view nameOfId(DispId id) const override { return id == 6 ? "Value" : id == 9 ? "Ping" : ""; }
    Variant value;

protected:
    Variant doInvoke(DispId id, InvokeKind kind, std::span<const Variant> args, Lcid) override {
        if (id == 6 && kind == InvokeKind::PropertyPut) value = args.back();
        if (id == 6 && kind == InvokeKind::PropertyGet) return value;
        return {};
    }
    CallJournal* journal() const override { return log_; }

private:
    CallJournal* log_;
};

struct Counter : EventSink {
    int calls = 0;
    std::function<void()> action;
    void onEvent(DispId, std::span<Variant> args) override {
        ++calls;
        if (!args.empty()) args[0] = Variant(true);
        if (action) action();
    }
};

}  // namespace

TEST(Dispatch, ByNameAndByIdReachTheSameMemberAndAreJournalled) {
    CallJournal log;
    auto cell = std::make_shared<Cell>(&log);
    cell->put("Value", Variant("a"), kLcidSpanishSpain);
    EXPECT_EQ(cell->get(6).toText(), "a");
    EXPECT_THROW(cell->get("Nope"), AutomationError);
    ASSERT_EQ(log.entries().size(), 2u);
    EXPECT_EQ(log.entries()[0].describe(), "Cell.Value put [Text(\"a\")] lcid=0x0C0A");
    EXPECT_EQ(log.entries()[1].describe(), "Cell.Value get []");
}

TEST(Events, HandlersMayChangeArgumentsAndUnadviseDuringDelivery) {
    EventSource source;
    Counter first, second;
    EventSource::Cookie secondCookie = 0;
    first.action = [&] { source.unadvise(secondCookie); };
    source.advise(first);
    secondCookie = source.advise(second);
    Variant cancel(false);
    source.raise(1, std::span<Variant>(&cancel, 1));
    EXPECT_EQ(first.calls, 1);
    EXPECT_EQ(second.calls, 0);  // removed before its turn
    EXPECT_TRUE(cancel.toBool());
    EXPECT_EQ(source.sinkCount(), 1u);
}

TEST(ApplicationProvider, StartsOnceThenAttachesToTheRunningApplication) {
    struct Provider : ApplicationProvider {
        int *starts;
        explicit Provider(int* s) : starts(s) {}
        DispatchPtr startApplication() override { ++*starts; return std::make_shared<Cell>(nullptr); }
    };
    shutDownRunningApplication();
    setApplicationProvider(nullptr);
    EXPECT_THROW(attachOrStartApplication(), AutomationError);
    int starts = 0;
    setApplicationProvider(std::make_unique<Provider>(&starts));
    DispatchPtr a = attachOrStartApplication();
    DispatchPtr b = attachOrStartApplication();
    EXPECT_EQ(a, b);
    EXPECT_EQ(starts, 1);
    shutDownRunningApplication();
    EXPECT_NE(attachOrStartApplication(), a);
    EXPECT_EQ(starts, 2);
    shutDownRunningApplication();
    setApplicationProvider(nullptr);
}
