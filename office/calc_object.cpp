#include "office/calc_object.h"

#include <cctype>

#include <com/sun/star/lang/DisposedException.hpp>

namespace tabulix::office {

using automation::AutomationError;
using automation::DispId;
using automation::Variant;

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

CalcCall::CalcCall(const CalcObject& object, DispId id, automation::InvokeKind kind,
                   std::span<const Variant> args, automation::Lcid lcid)
    : object_(object), id_(id), kind_(kind), args_(args), lcid_(lcid) {
    if (kind == automation::InvokeKind::PropertyPut) {
        if (args.empty()) fail("a property put needs a value", AutomationError::kBadParamCount);
        value_ = &args.back();
        args_ = args.first(args.size() - 1);
    }
}

std::string CalcCall::where() const {
    std::string member(object_.nameOfId(id_));
    if (member.empty()) member = "#" + std::to_string(id_);
    return std::string(object_.typeName()) + "." + member;
}

const Variant& CalcCall::arg(std::size_t i) const {
    static const Variant missing = Variant::missing();
    return i < args_.size() ? args_[i] : missing;
}

void CalcCall::expectCount(std::size_t min, std::size_t max) const {
    if (args_.size() < min || args_.size() > max)
        fail("takes " + (min == max ? std::to_string(min) : std::to_string(min) + " to " + std::to_string(max)) +
                 " arguments, not " + std::to_string(args_.size()),
             AutomationError::kBadParamCount);
}

template <class Fn>
auto CalcCall::convert(const Variant& v, std::string_view what, Fn&& fn) const {
    try {
        return fn(v);
    } catch (const AutomationError& e) {
        fail(std::string(what) + ": " + e.what(), e.scode());
    }
}

std::int32_t CalcCall::int32(std::size_t i) const {
    return convert(arg(i), "argument " + std::to_string(i + 1), [](const Variant& v) { return v.toInt32(); });
}
bool CalcCall::boolean(std::size_t i) const {
    return convert(arg(i), "argument " + std::to_string(i + 1), [](const Variant& v) { return v.toBool(); });
}
std::string CalcCall::text(std::size_t i) const {
    return convert(arg(i), "argument " + std::to_string(i + 1), [](const Variant& v) { return v.toText(); });
}
std::int32_t CalcCall::valueInt32() const {
    return convert(value(), "the value", [](const Variant& v) { return v.toInt32(); });
}
double CalcCall::valueNumber() const {
    return convert(value(), "the value", [](const Variant& v) { return v.toDouble(); });
}
bool CalcCall::valueBoolean() const {
    return convert(value(), "the value", [](const Variant& v) { return v.toBool(); });
}
std::string CalcCall::valueText() const {
    return convert(value(), "the value", [](const Variant& v) { return v.toText(); });
}

void CalcCall::fail(const std::string& message, std::int32_t scode) const {
    throw AutomationError(where() + ": " + message, scode);
}

void CalcCall::wrongKind() const {
    fail(std::string("cannot be used as a ") +
             (kind_ == automation::InvokeKind::PropertyPut   ? "property put"
              : kind_ == automation::InvokeKind::PropertyGet ? "property get"
                                                             : "method"),
         AutomationError::kMemberNotFound);
}

DispId CalcObject::idOfName(std::string_view member) const {
    for (const Member& m : members())
        if (sameName(m.name, member)) return m.id;
    throw AutomationError(std::string(typeName()) + " has no member \"" + std::string(member) + "\"",
                          AutomationError::kUnknownName);
}

std::string_view CalcObject::nameOfId(DispId id) const {
    for (const Member& m : members())
        if (m.id == id) return m.name;
    return {};
}

Variant CalcObject::doInvoke(DispId id, automation::InvokeKind kind, std::span<const Variant> args,
                             automation::Lcid lcid) {
    const CalcCall call(*this, id, kind, args, lcid);
    if (nameOfId(id).empty()) call.fail("no such member", AutomationError::kMemberNotFound);
    session_->checkAlive(call.where());
    Variant result;
    try {
        result = invokeMember(call);
    } catch (const css::lang::DisposedException& e) {
        session_->fail(call.where(), e, true);
    } catch (const css::uno::Exception& e) {
        session_->fail(call.where(), e);
    }
    session_->deliverEvents();
    return result;
}

}  // namespace tabulix::office
