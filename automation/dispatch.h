#pragma once
/// @file
/// The dispatch entry: every automation object answers invoke() by DispID or by member name.
/// Calls pass through Dispatch::invoke, which records them in the object's call journal (when one
/// is attached) before the object's own doInvoke runs, so the journal sees every call in order.
///
/// Thread rule: an object that names a threadOwner() answers only that thread; invoke refuses a
/// call from any other with AutomationError (kWrongThread) before the journal or the object sees
/// it. An object without one takes calls from every thread and serialises them itself.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/variant.h"
#include "framework/export.h"

namespace tabulix::automation {

/// The number of an object's member (a property, method or event).
using DispId = std::int32_t;
/// A locale identifier, sent with calls whose meaning depends on it (number formats).
using Lcid = std::uint32_t;

/// No particular locale.
inline constexpr Lcid kLcidNeutral = 0x0000;
/// Spanish (Spain): "," for decimals.
inline constexpr Lcid kLcidSpanishSpain = 0x0C0A;
/// English (United States): "." for decimals.
inline constexpr Lcid kLcidEnglishUS = 0x0409;

/// How a member is invoked: read a property, set it, or call a method.
enum class InvokeKind { PropertyGet, PropertyPut, Method };

class CallJournal;
class EventSource;
class ThreadOwner;

/// @brief An automation object: answers invoke() by member number or by member name.
///
/// Calls pass through invoke, which records them in the object's call journal (when one is
/// attached) before the object's own doInvoke runs. Errors are AutomationError.
/// @threads An object belongs to the thread of its application; call it from that thread.
class TABULIX_API Dispatch : public std::enable_shared_from_this<Dispatch> {
public:
    /// Frees the object.
    virtual ~Dispatch() = default;
    /// Makes an object.
    Dispatch() = default;
    /// Objects are shared, never copied.
    Dispatch(const Dispatch&) = delete;
    /// Objects are never assigned.
    Dispatch& operator=(const Dispatch&) = delete;

    /// Name of the object's type as the application calls it ("Range", "Worksheet", ...).
    virtual std::string_view typeName() const = 0;

    /// The number of a member name (letter case ignored).
    /// @param member the name.
    /// @throws AutomationError with kUnknownName for a name the object does not have.
    virtual DispId idOfName(std::string_view member) const = 0;
    /// The name of a member number, for journals; empty when unknown.
    /// @param id the number.
    virtual std::string_view nameOfId(DispId id) const = 0;

    /// Invokes a member.
    /// @param id the member's number.
    /// @param kind get, put or method call.
    /// @param args the arguments in call order; for a put the value is the last.
    /// @param lcid the locale of the call.
    /// @return the result; empty for a put.
    /// @throws AutomationError when the object refuses the call.
    Variant invoke(DispId id, InvokeKind kind, std::span<const Variant> args = {}, Lcid lcid = kLcidNeutral);
    /// Invokes a member by name.
    /// @param member the member's name, letter case ignored.
    /// @param kind get, put or method call.
    /// @param args the arguments in call order; for a put the value is the last.
    /// @param lcid the locale of the call.
    /// @return the result; empty for a put.
    /// @throws AutomationError for an unknown name or when the object refuses the call.
    Variant invoke(std::string_view member, InvokeKind kind, std::span<const Variant> args = {},
                   Lcid lcid = kLcidNeutral);

    /// Reads a property: invoke(id, PropertyGet, args, lcid).
    /// @param id the member's number.
    /// @param args the arguments.
    /// @param lcid the locale of the call.
    /// @throws AutomationError when the object refuses the call.
    Variant get(DispId id, std::initializer_list<Variant> args = {}, Lcid lcid = kLcidNeutral);
    /// Sets a property: invoke(id, PropertyPut, {value}, lcid).
    /// @param id the member's number.
    /// @param value the value.
    /// @param lcid the locale of the call.
    /// @throws AutomationError when the object refuses the value.
    void put(DispId id, const Variant& value, Lcid lcid = kLcidNeutral);
    /// Calls a method: invoke(id, Method, args, lcid).
    /// @param id the member's number.
    /// @param args the arguments.
    /// @param lcid the locale of the call.
    /// @throws AutomationError when the object refuses the call.
    Variant call(DispId id, std::initializer_list<Variant> args = {}, Lcid lcid = kLcidNeutral);
    /// Reads a property by name.
    /// @param member the member's name.
    /// @param args the arguments.
    /// @param lcid the locale of the call.
    /// @throws AutomationError for an unknown name or when the object refuses the call.
    Variant get(std::string_view member, std::initializer_list<Variant> args = {}, Lcid lcid = kLcidNeutral);
    /// Sets a property by name.
    /// @param member the member's name.
    /// @param value the value.
    /// @param lcid the locale of the call.
    /// @throws AutomationError for an unknown name or when the object refuses the value.
    void put(std::string_view member, const Variant& value, Lcid lcid = kLcidNeutral);
    /// Calls a method by name.
    /// @param member the member's name.
    /// @param args the arguments.
    /// @param lcid the locale of the call.
    /// @throws AutomationError for an unknown name or when the object refuses the call.
    Variant call(std::string_view member, std::initializer_list<Variant> args = {}, Lcid lcid = kLcidNeutral);

    /// The events this object raises, or nullptr when it raises none.
    virtual EventSource* events() { return nullptr; }

    /// The thread whose calls this object answers, or nullptr when it answers every thread.
    virtual const ThreadOwner* threadOwner() const { return nullptr; }

protected:
    /// The object's own answer to a call, after invoke has recorded it.
    /// @param id the member's number.
    /// @param kind get, put or method call.
    /// @param args the arguments in call order.
    /// @param lcid the locale of the call.
    virtual Variant doInvoke(DispId id, InvokeKind kind, std::span<const Variant> args, Lcid lcid) = 0;
    /// The journal that records calls on this object, or nullptr.
    virtual CallJournal* journal() const { return nullptr; }
};

}  // namespace tabulix::automation
