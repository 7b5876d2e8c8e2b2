#pragma once
// Connections: components that wrap one automation object of the spreadsheet application (the
// application, a workbook, a worksheet, a chart sheet). A component owns its connections; freeing
// a connection disconnects it and never closes the application or its workbooks.
//
// Thread rule: a connection is used on the thread of the object it wraps; ConnectTo refuses an
// object of another thread (AutomationError, kWrongThread), and events arrive on that thread.
// Freeing a connection is safe on any thread once none uses it.
//
// Event handlers may free the very connection that raised the event (closing a workbook drops
// every connection of its owner), so a connection invokes a copy of its handler and touches
// nothing of itself afterwards.

#include <functional>
#include <string_view>

#include "automation/dispatch.h"
#include "automation/events.h"
#include "framework/component.h"

namespace tabulix::automation {

class Connection : public framework::TComponent {
public:
    explicit Connection(framework::TComponent* owner);
    ~Connection() override;

    // Connects to `object` (disconnecting from any earlier one). Raises AutomationError with
    // kNoInterface when the object is not of the kind this connection wraps, and with
    // kWrongThread when it belongs to another thread.
    void ConnectTo(DispatchPtr object);
    void Disconnect();
    bool IsConnected() const { return object_ != nullptr; }

    // The wrapped object. Raises AutomationError when not connected.
    virtual DispatchPtr Object();

protected:
    // The typeName() this connection accepts, e.g. "Worksheet".
    virtual std::string_view AcceptedType() const = 0;
    // Event delivery from the connected object; the default ignores events.
    virtual void HandleEvent(DispId /*event*/, std::span<Variant> /*args*/) {}

private:
    class Sink : public EventSink {
    public:
        explicit Sink(Connection& owner) : owner_(owner) {}
        void onEvent(DispId event, std::span<Variant> args) override { owner_.HandleEvent(event, args); }

    private:
        Connection& owner_;
    };

    DispatchPtr object_;
    Sink sink_{*this};
    EventSource::Cookie cookie_ = 0;
};

// Handler of an event with one by-reference argument (the sheet, the workbook, the cancel flag).
using ConnectionEventHandler = std::function<void(Connection& sender, Variant& argument)>;

class ApplicationConnection : public Connection {
public:
    explicit ApplicationConnection(framework::TComponent* owner) : Connection(owner) {}
    std::string ClassName() const override { return "TExcelApplication"; }

    // Links to the running application, or starts one, at the first access.
    DispatchPtr Object() override;

    ConnectionEventHandler OnSheetActivate;     // argument: the sheet object
    ConnectionEventHandler OnWorkbookActivate;  // argument: the workbook object

protected:
    std::string_view AcceptedType() const override { return "Application"; }
    void HandleEvent(DispId event, std::span<Variant> args) override;
};

class WorkbookConnection : public Connection {
public:
    explicit WorkbookConnection(framework::TComponent* owner) : Connection(owner) {}
    std::string ClassName() const override { return "TExcelWorkbook"; }

    ConnectionEventHandler OnBeforeClose;  // argument: the cancel flag

protected:
    std::string_view AcceptedType() const override { return "Workbook"; }
    void HandleEvent(DispId event, std::span<Variant> args) override;
};

class WorksheetConnection : public Connection {
public:
    explicit WorksheetConnection(framework::TComponent* owner) : Connection(owner) {}
    std::string ClassName() const override { return "TExcelWorksheet"; }

protected:
    std::string_view AcceptedType() const override { return "Worksheet"; }
};

class ChartConnection : public Connection {
public:
    explicit ChartConnection(framework::TComponent* owner) : Connection(owner) {}
    std::string ClassName() const override { return "TExcelChart"; }

protected:
    std::string_view AcceptedType() const override { return "Chart"; }
};

}  // namespace tabulix::automation
