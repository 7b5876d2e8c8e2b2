#pragma once
/// @file
/// Connections: components that wrap one automation object of the spreadsheet application (the
/// application, a workbook, a worksheet, a chart sheet). A component owns its connections; freeing
/// a connection disconnects it and never closes the application or its workbooks.
///
/// Event handlers may free the very connection that raised the event (closing a workbook drops
/// every connection of its owner), so a connection invokes a copy of its handler and touches
/// nothing of itself afterwards.
///
/// Thread rule: a connection is used on the thread of the object it wraps; ConnectTo refuses an
/// object of another thread (AutomationError, kWrongThread), and events arrive on that thread.
/// Freeing a connection is safe on any thread once none uses it.

#include <functional>
#include <string_view>

#include "automation/dispatch.h"
#include "automation/events.h"
#include "framework/component.h"
#include "framework/export.h"

namespace tabulix::automation {

/// @brief A component that wraps one automation object of the spreadsheet application and hears
/// its events. Its owner (a TTabulix) frees it; freeing it disconnects it and never closes the
/// application or its workbooks. An event handler may free the very connection that raised the
/// event.
/// @threads Used from the thread of the object it wraps.
class TABULIX_API Connection : public framework::TComponent {
public:
    /// Makes an unconnected connection.
    /// @param owner frees it with itself.
    explicit Connection(framework::TComponent* owner);
    /// Disconnects.
    ~Connection() override;

    /// Connects to an object, disconnecting from any earlier one, and hears its events.
    /// @param object the object.
    /// @throws AutomationError with kNoInterface when the object is not of this connection's
    /// kind, and with kWrongThread when it belongs to another thread.
    void ConnectTo(DispatchPtr object);
    /// Stops hearing the object's events and lets it go; the object itself stays as it is.
    void Disconnect();
    /// Whether the connection holds an object.
    bool IsConnected() const { return object_ != nullptr; }

    /// The wrapped object.
    /// @throws AutomationError when not connected.
    virtual DispatchPtr Object();

protected:
    /// The typeName() this connection accepts, e.g. "Worksheet".
    virtual std::string_view AcceptedType() const = 0;
    /// Hears the connected object's events; the default ignores them.
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

/// Handler of an event with one by-reference argument (the sheet, the workbook, the cancel flag).
using ConnectionEventHandler = std::function<void(Connection& sender, Variant& argument)>;

/// @brief The connection to the spreadsheet application, with its sheet-activated and
/// workbook-activated events.
/// @threads As Connection.
class TABULIX_API ApplicationConnection : public Connection {
public:
    /// Makes a connection that attaches to the application at its first use.
    /// @param owner frees it with itself.
    explicit ApplicationConnection(framework::TComponent* owner) : Connection(owner) {}
    std::string ClassName() const override { return "TExcelApplication"; }

    /// The application: the running one, or one started through the installed provider, at the
    /// first access.
    /// @throws AutomationError when no provider is installed or the start fails.
    DispatchPtr Object() override;

    /// Called when a sheet is activated; the argument is the sheet.
    ConnectionEventHandler OnSheetActivate;
    /// Called when a workbook is activated; the argument is the workbook.
    ConnectionEventHandler OnWorkbookActivate;

protected:
    std::string_view AcceptedType() const override { return "Application"; }
    /// Calls OnSheetActivate or OnWorkbookActivate.
    /// @param event the event's number.
    /// @param args its arguments.
    void HandleEvent(DispId event, std::span<Variant> args) override;
};

/// @brief The connection to a workbook, with its before-close event.
/// @threads As Connection.
class TABULIX_API WorkbookConnection : public Connection {
public:
    /// Makes an unconnected connection.
    /// @param owner frees it with itself.
    explicit WorkbookConnection(framework::TComponent* owner) : Connection(owner) {}
    std::string ClassName() const override { return "TExcelWorkbook"; }

    /// Called when the workbook is about to close; the argument is the cancel flag, by reference.
    ConnectionEventHandler OnBeforeClose;

protected:
    std::string_view AcceptedType() const override { return "Workbook"; }
    void HandleEvent(DispId event, std::span<Variant> args) override;
};

/// @brief The connection to a worksheet.
/// @threads As Connection.
class TABULIX_API WorksheetConnection : public Connection {
public:
    /// Makes an unconnected connection.
    /// @param owner frees it with itself.
    explicit WorksheetConnection(framework::TComponent* owner) : Connection(owner) {}
    std::string ClassName() const override { return "TExcelWorksheet"; }

protected:
    std::string_view AcceptedType() const override { return "Worksheet"; }
};

/// @brief The connection to a chart sheet.
/// @threads As Connection.
class TABULIX_API ChartConnection : public Connection {
public:
    /// Makes an unconnected connection.
    /// @param owner frees it with itself.
    explicit ChartConnection(framework::TComponent* owner) : Connection(owner) {}
    std::string ClassName() const override { return "TExcelChart"; }

protected:
    std::string_view AcceptedType() const override { return "Chart"; }
};

}  // namespace tabulix::automation
