#include "automation/connection.h"

#include "automation/application_provider.h"
#include "automation/automation_error.h"
#include "automation/dispids.h"
#include "automation/thread_owner.h"

namespace tabulix::automation {

namespace {
// Runs a handler from a copy: the handler may destroy the connection that holds the original.
void fire(const ConnectionEventHandler& handler, Connection& sender, std::span<Variant> args) {
    if (!handler || args.empty()) return;
    ConnectionEventHandler copy = handler;
    copy(sender, args[0]);
}
}  // namespace

Connection::Connection(framework::TComponent* owner) : TComponent(owner) {}

Connection::~Connection() { Disconnect(); }

void Connection::ConnectTo(DispatchPtr object) {
    if (!object) throw AutomationError("Cannot connect " + ClassName() + " to nothing");
    if (object->typeName() != AcceptedType())
        throw AutomationError("Interface not supported: a " + std::string(object->typeName()) + " is not a " +
                                  std::string(AcceptedType()),
                              AutomationError::kNoInterface);
    // Its events would arrive on the owner's thread, into a connection used on this one.
    if (const ThreadOwner* owner = object->threadOwner())
        owner->check(ClassName() + ".ConnectTo", "the " + std::string(object->typeName()));
    Disconnect();
    object_ = std::move(object);
    if (EventSource* source = object_->events()) cookie_ = source->advise(sink_);
}

void Connection::Disconnect() {
    if (!object_) return;
    if (cookie_ != 0) {
        if (EventSource* source = object_->events()) source->unadvise(cookie_);
        cookie_ = 0;
    }
    object_.reset();
}

DispatchPtr Connection::Object() {
    if (!object_) throw AutomationError(ClassName() + " is not connected");
    return object_;
}

DispatchPtr ApplicationConnection::Object() {
    if (!IsConnected()) ConnectTo(attachOrStartApplication());
    return Connection::Object();
}

void ApplicationConnection::HandleEvent(DispId event, std::span<Variant> args) {
    if (event == dispid::SheetActivate) fire(OnSheetActivate, *this, args);
    else if (event == dispid::WorkbookActivate) fire(OnWorkbookActivate, *this, args);
}

void WorkbookConnection::HandleEvent(DispId event, std::span<Variant> args) {
    if (event == dispid::BeforeClose) fire(OnBeforeClose, *this, args);
}

}  // namespace tabulix::automation
