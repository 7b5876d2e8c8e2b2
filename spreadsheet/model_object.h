#pragma once
// Common ground of the spreadsheet's automation objects: member lookup by name or DispID, the
// call journal of the owning application, and argument handling that names the object and
// member in every error ("Range.ColumnWidth: ...").

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "automation/automation_error.h"
#include "automation/dispatch.h"

namespace tabulix::spreadsheet {

class Application;
class ModelObject;

// One incoming automation call, with typed access to its arguments.
class Call {
public:
    Call(const ModelObject& object, automation::DispId id, automation::InvokeKind kind,
         std::span<const automation::Variant> args, automation::Lcid lcid);

    automation::DispId id() const { return id_; }
    automation::Lcid lcid() const { return lcid_; }
    bool isPut() const { return kind_ == automation::InvokeKind::PropertyPut; }
    // "Range.Value"
    std::string where() const;

    // Arguments without the value of a put.
    std::size_t count() const { return args_.size(); }
    // The argument at i, Missing when not given.
    const automation::Variant& arg(std::size_t i) const;
    bool given(std::size_t i) const { return i < args_.size() && !args_[i].isMissing(); }
    // The value of a put.
    const automation::Variant& value() const { return *value_; }

    void expectCount(std::size_t min, std::size_t max) const;
    // Conversions of argument i (or of the put value, with valueAs...), raising errors that name
    // the member and the argument.
    std::int32_t int32(std::size_t i) const;
    double number(std::size_t i) const;
    bool boolean(std::size_t i) const;
    std::string text(std::size_t i) const;
    std::int32_t valueInt32() const;
    double valueNumber() const;
    bool valueBoolean() const;
    std::string valueText() const;

    [[noreturn]] void fail(const std::string& message,
                           std::int32_t scode = automation::AutomationError::kGenericFailure) const;
    // The member exists but not for this kind of access (e.g. a put of a read-only property).
    [[noreturn]] void wrongKind() const;

private:
    template <class Fn>
    auto convert(const automation::Variant& v, std::string_view what, Fn&& fn) const;

    const ModelObject& object_;
    automation::DispId id_;
    automation::InvokeKind kind_;
    std::span<const automation::Variant> args_;
    const automation::Variant* value_;
    automation::Lcid lcid_;
};

class ModelObject : public automation::Dispatch {
public:
    automation::DispId idOfName(std::string_view member) const override;
    std::string_view nameOfId(automation::DispId id) const override;

    // The application that owns this object, or nullptr once it is detached from it (a closed
    // workbook, its sheets and their ranges).
    virtual Application* application() const = 0;

protected:
    template <class T>
    std::shared_ptr<T> selfAs() {
        return std::static_pointer_cast<T>(shared_from_this());
    }

    struct Member {
        std::string_view name;
        automation::DispId id;
    };
    virtual std::span<const Member> members() const = 0;
    virtual automation::Variant invokeMember(const Call& call) = 0;

    automation::Variant doInvoke(automation::DispId id, automation::InvokeKind kind,
                                 std::span<const automation::Variant> args, automation::Lcid lcid) final;
    automation::CallJournal* journal() const override;
};

// Case-insensitive equality of ASCII names.
bool sameMemberName(std::string_view a, std::string_view b);

}  // namespace tabulix::spreadsheet
