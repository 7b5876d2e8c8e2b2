#pragma once
// The dispatch entry: every automation object answers invoke() by DispID or by member name.
// Calls pass through Dispatch::invoke, which records them in the object's call journal (when one
// is attached) before the object's own doInvoke runs, so the journal sees every call in order.
//
// Thread rule: an object that names a threadOwner() answers only that thread; invoke refuses a
// call from any other with AutomationError (kWrongThread) before the journal or the object sees
// it. An object without one takes calls from every thread and serialises them itself.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/variant.h"

namespace tabulix::automation {

using DispId = std::int32_t;
using Lcid = std::uint32_t;

inline constexpr Lcid kLcidNeutral = 0x0000;
inline constexpr Lcid kLcidSpanishSpain = 0x0C0A;
inline constexpr Lcid kLcidEnglishUS = 0x0409;

enum class InvokeKind { PropertyGet, PropertyPut, Method };

class CallJournal;
class EventSource;
class ThreadOwner;

class Dispatch : public std::enable_shared_from_this<Dispatch> {
public:
    virtual ~Dispatch() = default;
    Dispatch() = default;
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;

    // Name of the object's type as the application calls it ("Range", "Worksheet", ...).
    virtual std::string_view typeName() const = 0;

    // Late binding: the DispID of a member name (case-insensitive); unknown names raise
    // AutomationError with kUnknownName.
    virtual DispId idOfName(std::string_view member) const = 0;
    // The member name of a DispID, for journals; empty when unknown.
    virtual std::string_view nameOfId(DispId id) const = 0;

    // Arguments are in call order (first argument first). For PropertyPut the value is the last one.
    Variant invoke(DispId id, InvokeKind kind, std::span<const Variant> args = {}, Lcid lcid = kLcidNeutral);
    Variant invoke(std::string_view member, InvokeKind kind, std::span<const Variant> args = {},
                   Lcid lcid = kLcidNeutral);

    // Short forms of invoke.
    Variant get(DispId id, std::initializer_list<Variant> args = {}, Lcid lcid = kLcidNeutral);
    void put(DispId id, const Variant& value, Lcid lcid = kLcidNeutral);
    Variant call(DispId id, std::initializer_list<Variant> args = {}, Lcid lcid = kLcidNeutral);
    Variant get(std::string_view member, std::initializer_list<Variant> args = {}, Lcid lcid = kLcidNeutral);
    void put(std::string_view member, const Variant& value, Lcid lcid = kLcidNeutral);
    Variant call(std::string_view member, std::initializer_list<Variant> args = {}, Lcid lcid = kLcidNeutral);

    // The events this object raises, or nullptr when it raises none.
    virtual EventSource* events() { return nullptr; }

    // The thread whose calls this object answers, or nullptr when it answers every thread.
    virtual const ThreadOwner* threadOwner() const { return nullptr; }

protected:
    virtual Variant doInvoke(DispId id, InvokeKind kind, std::span<const Variant> args, Lcid lcid) = 0;
    // The journal that records calls on this object, or nullptr.
    virtual CallJournal* journal() const { return nullptr; }
};

}  // namespace tabulix::automation
