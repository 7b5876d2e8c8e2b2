#pragma once
// For the applications that present their objects through Dispatch: an object whose members are
// a table of names and DispIDs, and one incoming call on it with typed access to its arguments.
// Every error names the object and the member ("Range.ColumnWidth: ...").

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "automation/automation_error.h"
#include "automation/dispatch.h"
#include "automation/dispids.h"

namespace tabulix::automation {

struct MemberName {
    std::string_view name;
    DispId id;
};

// The members of a Range, as every application lists them.
inline constexpr MemberName kRangeMembers[] = {
    {"Value", dispid::Value},
    {"Formula", dispid::Formula},
    {"Font", dispid::Font},
    {"Interior", dispid::Interior},
    {"Borders", dispid::Borders},
    {"Columns", dispid::Columns},
    {"HorizontalAlignment", dispid::HorizontalAlignment},
    {"NumberFormat", dispid::NumberFormat},
    {"ShrinkToFit", dispid::ShrinkToFit},
    {"MergeCells", dispid::MergeCells},
    {"Merge", dispid::Merge},
    {"AutoFit", dispid::AutoFit},
    {"ColumnWidth", dispid::ColumnWidth},
    {"RowHeight", dispid::RowHeight},
    {"AutoFilter", dispid::AutoFilter},
};

class MemberCall {
public:
    // Refuses a put without a value.
    MemberCall(const Dispatch& object, DispId id, InvokeKind kind, std::span<const Variant> args, Lcid lcid);

    DispId id() const { return id_; }
    Lcid lcid() const { return lcid_; }
    bool isPut() const { return kind_ == InvokeKind::PropertyPut; }
    // "Range.Value"
    std::string where() const;

    // Arguments without the value of a put.
    std::size_t count() const { return args_.size(); }
    // The argument at i, Missing when not given.
    const Variant& arg(std::size_t i) const;
    bool given(std::size_t i) const { return i < args_.size() && !args_[i].isMissing(); }
    // The value of a put (Missing for other calls).
    const Variant& value() const { return *value_; }

    void expectCount(std::size_t min, std::size_t max) const;
    // Conversions of argument i (or of the put value, with value...), raising errors that name
    // the member and the argument; a missing argument is refused as required.
    std::int32_t int32(std::size_t i) const;
    double number(std::size_t i) const;
    bool boolean(std::size_t i) const;
    std::string text(std::size_t i) const;
    std::int32_t valueInt32() const;
    double valueNumber() const;
    bool valueBoolean() const;
    std::string valueText() const;

    [[noreturn]] void fail(const std::string& message, std::int32_t scode = AutomationError::kGenericFailure) const;
    // The member exists but not for this kind of access (e.g. a put of a read-only property), or
    // the DispID names no member.
    [[noreturn]] void wrongKind() const;
    // For a member that is read only or a method.
    void noPut() const {
        if (isPut()) wrongKind();
    }

private:
    template <class Fn>
    auto convert(const Variant& v, std::string_view what, Fn&& fn) const;

    const Dispatch& object_;
    DispId id_;
    InvokeKind kind_;
    std::span<const Variant> args_;
    const Variant* value_;
    Lcid lcid_;
};

// Late binding by name (ASCII letter case ignored) and member names for journals, from the
// object's table.
class MemberObject : public Dispatch {
public:
    DispId idOfName(std::string_view member) const override;
    std::string_view nameOfId(DispId id) const override;

protected:
    using Member = MemberName;
    virtual std::span<const Member> members() const = 0;

    template <class T>
    std::shared_ptr<T> selfAs() {
        return std::static_pointer_cast<T>(shared_from_this());
    }
};

}  // namespace tabulix::automation
