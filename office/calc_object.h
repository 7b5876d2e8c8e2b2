#pragma once
// Common ground of the objects that present Calc through automation::Dispatch: the member table,
// the session's call journal, typed access to a call's arguments with errors that name the
// object and member ("Range.ColumnWidth: ..."), UNO errors turned into AutomationError, and the
// suite's events delivered after every call.

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "automation/automation_error.h"
#include "automation/dispatch.h"
#include "office/calc_session.h"

namespace tabulix::office {

class CalcObject;

class CalcCall {
public:
    CalcCall(const CalcObject& object, automation::DispId id, automation::InvokeKind kind,
             std::span<const automation::Variant> args, automation::Lcid lcid);

    automation::DispId id() const { return id_; }
    automation::Lcid lcid() const { return lcid_; }
    bool isPut() const { return kind_ == automation::InvokeKind::PropertyPut; }
    std::string where() const;

    // Arguments without the value of a put.
    std::size_t count() const { return args_.size(); }
    const automation::Variant& arg(std::size_t i) const;
    bool given(std::size_t i) const { return i < args_.size() && !args_[i].isMissing(); }
    const automation::Variant& value() const { return *value_; }

    void expectCount(std::size_t min, std::size_t max) const;
    std::int32_t int32(std::size_t i) const;
    bool boolean(std::size_t i) const;
    std::string text(std::size_t i) const;
    std::int32_t valueInt32() const;
    double valueNumber() const;
    bool valueBoolean() const;
    std::string valueText() const;
    // A property that is read only, or a method called as a property.
    void noPut() const {
        if (isPut()) wrongKind();
    }

    [[noreturn]] void fail(const std::string& message,
                           std::int32_t scode = automation::AutomationError::kGenericFailure) const;
    [[noreturn]] void wrongKind() const;

private:
    template <class Fn>
    auto convert(const automation::Variant& v, std::string_view what, Fn&& fn) const;

    const CalcObject& object_;
    automation::DispId id_;
    automation::InvokeKind kind_;
    std::span<const automation::Variant> args_;
    const automation::Variant* value_ = nullptr;
    automation::Lcid lcid_;
};

class CalcObject : public automation::Dispatch {
public:
    explicit CalcObject(std::shared_ptr<CalcSession> session) : session_(std::move(session)) {}

    automation::DispId idOfName(std::string_view member) const override;
    std::string_view nameOfId(automation::DispId id) const override;
    CalcSession& session() const { return *session_; }
    const std::shared_ptr<CalcSession>& sessionPtr() const { return session_; }

protected:
    struct Member {
        std::string_view name;
        automation::DispId id;
    };
    virtual std::span<const Member> members() const = 0;
    virtual automation::Variant invokeMember(const CalcCall& call) = 0;

    automation::Variant doInvoke(automation::DispId id, automation::InvokeKind kind,
                                 std::span<const automation::Variant> args, automation::Lcid lcid) final;
    automation::CallJournal* journal() const override { return session_->journal(); }

    template <class T>
    std::shared_ptr<T> selfAs() {
        return std::static_pointer_cast<T>(shared_from_this());
    }

private:
    std::shared_ptr<CalcSession> session_;
};

// Member names compare ignoring ASCII letter case.
bool sameName(std::string_view a, std::string_view b);

}  // namespace tabulix::office
