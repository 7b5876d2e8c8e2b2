#include <gtest/gtest.h>

#include <memory>

#include "automation/application_provider.h"
#include "automation/automation_error.h"
#include "automation/connection.h"
#include "automation/dispids.h"

using namespace tabulix::automation;
using tabulix::framework::TComponent;

namespace {

// An object of a given type name that raises events on demand.
class FakeObject : public Dispatch {
public:
    explicit FakeObject(std::string type) : type_(std::move(type)) {}
    std::string_view typeName() const override { return type_; }
    DispId idOfName(std::string_view) const override { throw AutomationError("unknown"); }
    std::string_view nameOfId(DispId) const override { return {}; }
    EventSource* events() override { return &events_; }
    void raise(DispId id, Variant& arg) { events_.raise(id, std::span<Variant>(&arg, 1)); }
    std::size_t sinks() const { return events_.sinkCount(); }

protected:
    Variant doInvoke(DispId, InvokeKind, std::span<const Variant>, Lcid) override { return {}; }

private:
    std::string type_;
    EventSource events_;
};

struct Provider : ApplicationProvider {
    std::shared_ptr<FakeObject> app = std::make_shared<FakeObject>("Application");
    int starts = 0;
    DispatchPtr startApplication() override { ++starts; return app; }
};

}  // namespace

TEST(Connection, RefusesAnObjectOfAnotherKindAndKeepsItsEarlierOne) {
    TComponent owner(nullptr);
    auto* sheet = new WorksheetConnection(&owner);
    auto worksheet = std::make_shared<FakeObject>("Worksheet");
    sheet->ConnectTo(worksheet);
    try {
        sheet->ConnectTo(std::make_shared<FakeObject>("Chart"));
        FAIL() << "a chart sheet is not a worksheet";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.scode(), AutomationError::kNoInterface);
    }
    EXPECT_EQ(sheet->Object(), worksheet);
    sheet->Disconnect();
    EXPECT_THROW(sheet->Object(), AutomationError);
}

TEST(Connection, FreeingDisconnectsWithoutTouchingTheObject) {
    auto workbook = std::make_shared<FakeObject>("Workbook");
    {
        TComponent owner(nullptr);
        auto* connection = new WorkbookConnection(&owner);
        connection->ConnectTo(workbook);
        EXPECT_EQ(workbook->sinks(), 1u);
    }
    EXPECT_EQ(workbook->sinks(), 0u);
    EXPECT_EQ(workbook.use_count(), 1);
}

TEST(Connection, AHandlerMayFreeTheConnectionThatRaisedTheEvent) {
    TComponent owner(nullptr);
    auto workbook = std::make_shared<FakeObject>("Workbook");
    auto* connection = new WorkbookConnection(&owner);
    connection->ConnectTo(workbook);
    bool called = false;
    connection->OnBeforeClose = [&, connection](Connection&, Variant& cancel) {
        called = true;
        delete connection;  // what closing the connected workbook does to its owner's connections
        EXPECT_FALSE(cancel.toBool());
    };
    Variant cancel(false);
    workbook->raise(dispid::BeforeClose, cancel);
    EXPECT_TRUE(called);
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(workbook->sinks(), 0u);
}

TEST(ApplicationConnection, LinksLazilyToTheRunningApplicationAndForwardsItsEvents) {
    auto provider = std::make_unique<Provider>();
    Provider* p = provider.get();
    shutDownRunningApplication();
    setApplicationProvider(std::move(provider));
    {
        TComponent owner(nullptr);
        auto* first = new ApplicationConnection(&owner);
        auto* second = new ApplicationConnection(&owner);
        EXPECT_EQ(p->starts, 0);  // creating a connection starts nothing
        int sheets = 0, workbooks = 0;
        first->OnSheetActivate = [&](Connection&, Variant&) { ++sheets; };
        first->OnWorkbookActivate = [&](Connection&, Variant&) { ++workbooks; };
        EXPECT_EQ(first->Object(), p->app);
        EXPECT_EQ(second->Object(), p->app);
        EXPECT_EQ(p->starts, 1);
        Variant sheet(std::static_pointer_cast<Dispatch>(std::make_shared<FakeObject>("Worksheet")));
        p->app->raise(dispid::SheetActivate, sheet);
        p->app->raise(dispid::WorkbookActivate, sheet);
        EXPECT_EQ(sheets, 1);
        EXPECT_EQ(workbooks, 1);
    }
    // The application outlives every connection to it.
    EXPECT_EQ(runningApplication(), p->app);
    shutDownRunningApplication();
    setApplicationProvider(nullptr);
}
