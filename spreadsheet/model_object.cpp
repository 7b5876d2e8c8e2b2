#include "spreadsheet/model_object.h"

#include <cstdio>

#include "spreadsheet/application.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;
using automation::Variant;

bool sameMemberName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

namespace {
const Variant& missingVariant() {
    static const Variant missing = Variant::missing();
    return missing;
}
}  // namespace

Call::Call(const ModelObject& object, automation::DispId id, automation::InvokeKind kind,
           std::span<const Variant> args, automation::Lcid lcid)
    : object_(object), id_(id), kind_(kind), args_(args), value_(&missingVariant()), lcid_(lcid) {
    if (kind == automation::InvokeKind::PropertyPut) {
        if (args_.empty()) fail("a property put needs a value", AutomationError::kBadParamCount);
        value_ = &args_.back();
        args_ = args_.first(args_.size() - 1);
    }
}

std::string Call::where() const {
    return std::string(object_.typeName()) + "." + std::string(object_.nameOfId(id_));
}

const Variant& Call::arg(std::size_t i) const { return i < args_.size() ? args_[i] : missingVariant(); }

void Call::expectCount(std::size_t min, std::size_t max) const {
    if (args_.size() >= min && args_.size() <= max) return;
    std::string expected = min == max ? std::to_string(min) : std::to_string(min) + " to " + std::to_string(max);
    fail("expected " + expected + " argument" + (max == 1 && min == max ? "" : "s") + ", got " +
             std::to_string(args_.size()),
         AutomationError::kBadParamCount);
}

template <class Fn>
auto Call::convert(const Variant& v, std::string_view what, Fn&& fn) const {
    if (v.isMissing()) fail(std::string(what) + " is required", AutomationError::kBadParamCount);
    try {
        return fn(v);
    } catch (const AutomationError& e) {
        fail(std::string(what) + ": " + e.what(), e.scode());
    }
}

namespace {
std::string argumentName(std::size_t i) { return "argument " + std::to_string(i + 1); }
}  // namespace

std::int32_t Call::int32(std::size_t i) const {
    return convert(arg(i), argumentName(i), [](const Variant& v) { return v.toInt32(); });
}
double Call::number(std::size_t i) const {
    return convert(arg(i), argumentName(i), [](const Variant& v) { return v.toDouble(); });
}
bool Call::boolean(std::size_t i) const {
    return convert(arg(i), argumentName(i), [](const Variant& v) { return v.toBool(); });
}
std::string Call::text(std::size_t i) const {
    return convert(arg(i), argumentName(i), [](const Variant& v) { return v.toText(); });
}
std::int32_t Call::valueInt32() const {
    return convert(*value_, "the value", [](const Variant& v) { return v.toInt32(); });
}
double Call::valueNumber() const {
    return convert(*value_, "the value", [](const Variant& v) { return v.toDouble(); });
}
bool Call::valueBoolean() const {
    return convert(*value_, "the value", [](const Variant& v) { return v.toBool(); });
}
std::string Call::valueText() const {
    return convert(*value_, "the value", [](const Variant& v) { return v.toText(); });
}

void Call::fail(const std::string& message, std::int32_t scode) const {
    throw AutomationError(where() + ": " + message, scode);
}

void Call::wrongKind() const {
    if (object_.nameOfId(id_).empty()) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(id_));
        throw AutomationError(std::string(object_.typeName()) + " has no member with DispID " + text,
                              AutomationError::kMemberNotFound);
    }
    switch (kind_) {
        case automation::InvokeKind::PropertyPut: fail("cannot be assigned", AutomationError::kMemberNotFound);
        case automation::InvokeKind::PropertyGet: fail("cannot be read", AutomationError::kMemberNotFound);
        case automation::InvokeKind::Method: fail("is not a method", AutomationError::kMemberNotFound);
    }
    fail("unsupported call");
}

automation::DispId ModelObject::idOfName(std::string_view member) const {
    for (const Member& m : members())
        if (sameMemberName(m.name, member)) return m.id;
    throw AutomationError(std::string(typeName()) + " has no member named \"" + std::string(member) + "\"",
                          AutomationError::kUnknownName);
}

std::string_view ModelObject::nameOfId(automation::DispId id) const {
    for (const Member& m : members())
        if (m.id == id) return m.name;
    return {};
}

Variant ModelObject::doInvoke(automation::DispId id, automation::InvokeKind kind, std::span<const Variant> args,
                              automation::Lcid lcid) {
    // An unknown DispID falls through every object's member switch to Call::wrongKind.
    return invokeMember(Call(*this, id, kind, args, lcid));
}

automation::CallJournal* ModelObject::journal() const {
    const Application* app = application();
    return app ? app->callJournal() : nullptr;
}

}  // namespace tabulix::spreadsheet
