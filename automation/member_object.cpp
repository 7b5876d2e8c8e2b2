#include "automation/member_object.h"

#include <cstdio>

#include "framework/text_compare.h"

namespace tabulix::automation {

namespace {

const Variant& missingVariant() {
    static const Variant missing = Variant::missing();
    return missing;
}

std::string argumentName(std::size_t i) { return "argument " + std::to_string(i + 1); }

}  // namespace

MemberCall::MemberCall(const Dispatch& object, DispId id, InvokeKind kind, std::span<const Variant> args, Lcid lcid)
    : object_(object), id_(id), kind_(kind), args_(args), value_(&missingVariant()), lcid_(lcid) {
    if (kind == InvokeKind::PropertyPut) {
        if (args_.empty()) fail("a property put needs a value", AutomationError::kBadParamCount);
        value_ = &args_.back();
        args_ = args_.first(args_.size() - 1);
    }
}

std::string MemberCall::where() const {
    std::string member(object_.nameOfId(id_));
    if (member.empty()) member = "#" + std::to_string(id_);
    return std::string(object_.typeName()) + "." + member;
}

const Variant& MemberCall::arg(std::size_t i) const { return i < args_.size() ? args_[i] : missingVariant(); }

void MemberCall::expectCount(std::size_t min, std::size_t max) const {
    if (args_.size() >= min && args_.size() <= max) return;
    std::string expected = min == max ? std::to_string(min) : std::to_string(min) + " to " + std::to_string(max);
    fail("expected " + expected + " argument" + (max == 1 && min == max ? "" : "s") + ", got " +
             std::to_string(args_.size()),
         AutomationError::kBadParamCount);
}

template <class Fn>
auto MemberCall::convert(const Variant& v, std::string_view what, Fn&& fn) const {
    if (v.isMissing()) fail(std::string(what) + " is required", AutomationError::kBadParamCount);
    try {
        return fn(v);
    } catch (const AutomationError& e) {
        fail(std::string(what) + ": " + e.what(), e.scode());
    }
}

std::int32_t MemberCall::int32(std::size_t i) const {
    return convert(arg(i), argumentName(i), [](const Variant& v) { return v.toInt32(); });
}
double MemberCall::number(std::size_t i) const {
    return convert(arg(i), argumentName(i), [](const Variant& v) { return v.toDouble(); });
}
bool MemberCall::boolean(std::size_t i) const {
    return convert(arg(i), argumentName(i), [](const Variant& v) { return v.toBool(); });
}
std::string MemberCall::text(std::size_t i) const {
    return convert(arg(i), argumentName(i), [](const Variant& v) { return v.toText(); });
}
std::int32_t MemberCall::valueInt32() const {
    return convert(*value_, "the value", [](const Variant& v) { return v.toInt32(); });
}
double MemberCall::valueNumber() const {
    return convert(*value_, "the value", [](const Variant& v) { return v.toDouble(); });
}
bool MemberCall::valueBoolean() const {
    return convert(*value_, "the value", [](const Variant& v) { return v.toBool(); });
}
std::string MemberCall::valueText() const {
    return convert(*value_, "the value", [](const Variant& v) { return v.toText(); });
}

void MemberCall::fail(const std::string& message, std::int32_t scode) const {
    throw AutomationError(where() + ": " + message, scode);
}

void MemberCall::wrongKind() const {
    if (object_.nameOfId(id_).empty()) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(id_));
        throw AutomationError(std::string(object_.typeName()) + " has no member with DispID " + text,
                              AutomationError::kMemberNotFound);
    }
    switch (kind_) {
        case InvokeKind::PropertyPut: fail("cannot be assigned", AutomationError::kMemberNotFound);
        case InvokeKind::PropertyGet: fail("cannot be read", AutomationError::kMemberNotFound);
        case InvokeKind::Method: fail("is not a method", AutomationError::kMemberNotFound);
    }
    fail("unsupported call");
}

DispId MemberObject::idOfName(std::string_view member) const {
    for (const Member& m : members())
        if (framework::sameText(m.name, member)) return m.id;
    throw AutomationError(std::string(typeName()) + " has no member named \"" + std::string(member) + "\"",
                          AutomationError::kUnknownName);
}

std::string_view MemberObject::nameOfId(DispId id) const {
    for (const Member& m : members())
        if (m.id == id) return m.name;
    return {};
}

}  // namespace tabulix::automation
