#pragma once
// Published properties: how a class tells the form files (and design-time tools) which of its
// properties are stored, of what kind, in which order and when.
//
// A class overrides TPersistent::DefineProperties and adds its properties in stored order,
// after its base class's:
//
//     void TAtributosCasilla::DefineProperties(PropertyList& p) {
//         p.Object("Fuente", *fuente_);                       // sub-properties Fuente.Name, ...
//         p.Color("ColorFondo", colorFondo_);                  // always stored
//         p.Boolean("ColorFondoActivado", colorFondoActivado_);
//         p.Set("LiniasContorno", liniasContorno_, {"lcIzquierda", "lcDerecha", "lcSuperior", "lcInferior"});
//         p.Enumeration("LiniasContornoGrosor", liniasContornoGrosor_, {"glDelgada", "glMedia", "glGruesa"})
//             .Default(glDelgada);                             // omitted while it equals the default
//     }
//
//     void TTabulix::DefineProperties(PropertyList& p) {
//         TComponent::DefineProperties(p);                     // Tag
//         p.Reference<data::TDataSet>("Datos", [this] { return datos_; },
//                                     [this](data::TDataSet* d) { SetDatos(d); });
//         p.Object("CabeceraFormato", [this] { return cabeceraFormato_.get(); });
//         p.Boolean("CabeceraMostrar", CabeceraMostrar).Default(true);
//         p.Integer("FilaInicial", FilaInicial).Default(1);
//         p.Text("NombreHoja", NombreHoja);                    // texts: stored when not empty
//         p.StringList("Formulas", *formulas_);                // stored as Formulas.Strings = ( ... )
//         ...
//     }
//
// Every kind comes in two forms: bound to a field (the property reads and writes the field
// directly) or with a getter and a setter (std::function; the setter may validate and throw,
// and the reader reports its message with the file name and line). With getter and setter the
// value type is given explicitly where it cannot be deduced: p.Integer<std::int32_t>(name, get, set).
//
// Stored rules (what the writer does with the current value):
//   Always          written every time (the default for Boolean, numbers, enumerations, sets,
//                   colours and objects);
//   WhenNotDefault  written unless it equals the value given to .Default(v);
//   WhenNotEmpty    written unless empty (the default for texts, string lists and references;
//                   a reference is empty when it refers to nothing);
//   Never           read when present in a file, never written (e.g. TFont.Size, kept as Height).
//
// Kinds and their notation in a form file:
//   Boolean      True / False
//   Integer      12, -3, $FF; any integral field type, range-checked on reading (against the
//                type's range, or the narrower one given with .Range(min, max)). With .Idents()
//                a value may also be written by name (as character sets are).
//   Float        1.5, 2.0E3 (an integer is accepted too)
//   Text         'text' with '' for a quote, #243 for a non-ASCII character, + to continue
//   Enumeration  a member name; the ordinal is the position in the member list
//   Set          [a, b]; bit n of the value stands for the member with ordinal n
//   Color        a colour constant name (clSilver) or a number
//   Object       no value of its own: the members of the sub-object are stored under the dotted
//                path (TituloFormato.Fuente.Name = 'Tahoma'); reading fills the object the owner
//                already holds, it never creates or replaces one
//   StringList   Name.Strings = ( 'line 1' 'line 2' ); reading replaces all lines (Assign)
//   Reference    the name of another component of the same form (Datos = Taula); set after the
//                whole file is read, so it may name a component that comes later in the file
//
// Property names compare ignoring ASCII letter case, as the framework's do.

#include <concepts>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "framework/color.h"
#include "framework/component.h"
#include "framework/form_value.h"
#include "framework/ident_map.h"
#include "framework/persistent.h"
#include "framework/set_of.h"

namespace tabulix::framework {

class TStringList;

enum class PropertyKind { Boolean, Integer, Float, Text, Enumeration, Set, Color, Object, StringList, Reference };
enum class StoredRule { Always, WhenNotDefault, WhenNotEmpty, Never };

// A value that does not fit a property (wrong kind, out of range, unknown member name). The
// message says what was expected, e.g. "bad set member 'lcArriba' (expected one of lcIzquierda,
// lcDerecha, lcSuperior, lcInferior)"; the form reader adds the file, line and property path.
class PropertyValueError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// One published property of one object. Copies share the object they describe, so a Property
// is valid only while that object lives.
class Property {
public:
    const std::string& Name() const { return name_; }
    PropertyKind Kind() const { return kind_; }
    StoredRule Stored() const { return stored_; }
    // Enumeration and Set: the member names, by ordinal.
    const std::vector<std::string>& Members() const { return members_; }
    // Integer and Color: the values that are written by name.
    std::span<const IdentEntry> Idents() const { return idents_; }
    // Integer and Color: the smallest and largest value accepted.
    std::int64_t Minimum() const { return minimum_; }
    std::int64_t Maximum() const { return maximum_; }

    // Whether the writer stores the property now, by its Stored rule. An Object property is
    // stored (as its members) when it holds an object; a Reference when it refers to one.
    bool IsStored() const;

    // Current value in form-file terms. Every kind but Object and Reference. Throws
    // PropertyValueError when the value has no notation (an enumeration ordinal without a
    // name, a set bit without a member, a float that is not finite).
    FormValue Get() const;
    // Sets the value. Every kind but Object and Reference. Throws PropertyValueError when the
    // value does not fit; the setter's own exceptions pass through.
    void Set(const FormValue& value) const;

    // Object: the sub-object (may be null). StringList: the list.
    TPersistent* Object() const;
    TStringList* List() const;

    // Reference: the component referred to (or null), whether a component fits the property,
    // and setting it (null clears; a component that does not fit raises PropertyValueError).
    TComponent* Referenced() const;
    bool Accepts(TComponent* component) const;
    void SetReferenced(TComponent* component) const;

private:
    friend class PropertyList;
    template <class T>
    friend class PropertyBuilder;
    friend class PropertyRule;

    std::string name_;
    PropertyKind kind_ = PropertyKind::Integer;
    StoredRule stored_ = StoredRule::Always;
    std::vector<std::string> members_;
    std::span<const IdentEntry> idents_;
    std::int64_t minimum_ = 0;
    std::int64_t maximum_ = 0;

    std::function<FormValue()> get_;
    std::function<void(const FormValue&)> set_;
    std::function<bool()> isDefault_;
    std::function<bool()> isEmpty_;
    std::function<TPersistent*()> object_;
    std::function<TComponent*()> referenced_;
    std::function<bool(TComponent*)> accepts_;
    std::function<void(TComponent*)> refer_;
};

class PropertyList;

// Returned by the kinds that have no default value: sets the Stored rule.
class PropertyRule {
public:
    PropertyRule(PropertyList& list, std::size_t index) : list_(&list), index_(index) {}
    PropertyRule& AlwaysStored();
    PropertyRule& StoredWhenNotEmpty();
    PropertyRule& NeverStored();

protected:
    Property& property() const;
    void narrowRange(std::int64_t minimum, std::int64_t maximum);

private:
    PropertyList* list_;
    std::size_t index_;
};

// Returned by the kinds that have a value type T: adds .Default(v) and, for integers, .Idents().
template <class T>
class PropertyBuilder : public PropertyRule {
public:
    PropertyBuilder(PropertyList& list, std::size_t index, std::function<T()> get)
        : PropertyRule(list, index), get_(std::move(get)) {}

    // Stored only while the value differs from `value` (WhenNotDefault).
    PropertyBuilder& Default(T value) {
        Property& p = property();
        p.stored_ = StoredRule::WhenNotDefault;
        p.isDefault_ = [get = get_, value] { return get() == value; };
        return *this;
    }
    // Integer properties: values that are read and written by name.
    PropertyBuilder& Idents(std::span<const IdentEntry> idents)
        requires std::integral<T>
    {
        property().idents_ = idents;
        return *this;
    }
    // Integer properties: the values accepted, when the owner can hold fewer than its type can
    // (a value outside is refused before the setter sees it, as one outside the type's range is).
    PropertyBuilder& Range(std::int64_t minimum, std::int64_t maximum)
        requires std::integral<T>
    {
        narrowRange(minimum, maximum);
        return *this;
    }

private:
    std::function<T()> get_;
};

class PropertyList {
public:
    template <class T>
    using Getter = std::function<T()>;
    template <class T>
    using Setter = std::function<void(T)>;

    // The owner's class name, used in messages ("unknown property 'X' of TFont").
    explicit PropertyList(std::string className = {}) : className_(std::move(className)) {}

    PropertyBuilder<bool> Boolean(std::string name, bool& field);
    PropertyBuilder<bool> Boolean(std::string name, Getter<bool> get, Setter<bool> set);

    template <std::integral T>
        requires(!std::same_as<T, bool>)
    PropertyBuilder<T> Integer(std::string name, T& field) {
        return Integer<T>(std::move(name), [&field] { return field; }, [&field](T v) { field = v; });
    }
    template <std::integral T>
        requires(!std::same_as<T, bool>)
    PropertyBuilder<T> Integer(std::string name, Getter<T> get, Setter<T> set) {
        constexpr std::int64_t lo = std::is_signed_v<T> ? static_cast<std::int64_t>(std::numeric_limits<T>::min()) : 0;
        constexpr std::int64_t hi = std::numeric_limits<T>::max() > static_cast<std::make_unsigned_t<std::int64_t>>(INT64_MAX)
                                        ? INT64_MAX
                                        : static_cast<std::int64_t>(std::numeric_limits<T>::max());
        std::size_t i = addInteger(std::move(name), PropertyKind::Integer, lo, hi,
                                   [get] { return static_cast<std::int64_t>(get()); },
                                   [set](std::int64_t v) { set(static_cast<T>(v)); });
        return {*this, i, std::move(get)};
    }

    template <std::floating_point T>
    PropertyBuilder<T> Float(std::string name, T& field) {
        std::size_t i = addFloat(std::move(name), [&field] { return static_cast<double>(field); },
                                 [&field](double v) { field = static_cast<T>(v); });
        return {*this, i, [&field] { return field; }};
    }
    PropertyBuilder<double> Float(std::string name, Getter<double> get, Setter<double> set);

    PropertyBuilder<std::string> Text(std::string name, std::string& field);
    PropertyBuilder<std::string> Text(std::string name, Getter<std::string> get, Setter<std::string> set);

    template <class E>
        requires std::is_enum_v<E>
    PropertyBuilder<E> Enumeration(std::string name, E& field, std::vector<std::string> members) {
        return Enumeration<E>(std::move(name), [&field] { return field; }, [&field](E v) { field = v; }, std::move(members));
    }
    template <class E>
        requires std::is_enum_v<E>
    PropertyBuilder<E> Enumeration(std::string name, Getter<E> get, Setter<E> set, std::vector<std::string> members) {
        std::size_t i = addEnumeration(std::move(name), std::move(members),
                                       [get] { return static_cast<std::int64_t>(get()); },
                                       [set](std::int64_t v) { set(static_cast<E>(v)); });
        return {*this, i, std::move(get)};
    }

    template <class E>
    PropertyBuilder<SetOf<E>> Set(std::string name, SetOf<E>& field, std::vector<std::string> members) {
        return Set<SetOf<E>>(std::move(name), [&field] { return field; }, [&field](SetOf<E> v) { field = v; },
                             std::move(members));
    }
    template <std::unsigned_integral T>
    PropertyBuilder<T> Set(std::string name, T& field, std::vector<std::string> members) {
        return Set<T>(std::move(name), [&field] { return field; }, [&field](T v) { field = v; }, std::move(members));
    }
    // S is SetOf<E> or an unsigned integral bitmask.
    template <class S>
    PropertyBuilder<S> Set(std::string name, Getter<S> get, Setter<S> set, std::vector<std::string> members) {
        std::size_t i = addSet(
            std::move(name), std::move(members), sizeof(S) * 8,
            [get] { return bitsOf(get()); },
            [set](std::uint64_t bits) {
                if constexpr (std::is_integral_v<S>) set(static_cast<S>(bits));
                else set(S::FromBits(static_cast<std::uint32_t>(bits)));
            });
        return {*this, i, std::move(get)};
    }

    PropertyBuilder<TColor> Color(std::string name, TColor& field);
    PropertyBuilder<TColor> Color(std::string name, Getter<TColor> get, Setter<TColor> set);

    // An owned sub-object whose members are stored under "name.".
    PropertyRule Object(std::string name, TPersistent& object);
    PropertyRule Object(std::string name, Getter<TPersistent*> get);

    PropertyRule StringList(std::string name, TStringList& list);
    PropertyRule StringList(std::string name, Getter<TStringList*> get);

    // A reference to another component; T is the class it must be (or derive from). Use the
    // getter/setter form when the class must hear of the component's destruction (the setter
    // calls FreeNotification, Notification clears the field).
    template <class T>
        requires std::derived_from<T, TComponent>
    PropertyRule Reference(std::string name, Getter<T*> get, Setter<T*> set) {
        std::size_t i = addReference(
            std::move(name), [get]() -> TComponent* { return get(); },
            [](TComponent* c) { return c == nullptr || dynamic_cast<T*>(c) != nullptr; },
            [set](TComponent* c) { set(dynamic_cast<T*>(c)); });
        return {*this, i};
    }
    template <class T>
        requires std::derived_from<T, TComponent>
    PropertyRule Reference(std::string name, T*& field) {
        return Reference<T>(std::move(name), [&field] { return field; }, [&field](T* v) { field = v; });
    }

    const std::string& ClassName() const { return className_; }
    const std::vector<Property>& Items() const { return items_; }
    std::size_t Count() const { return items_.size(); }
    // The property of that name (ASCII letter case ignored), or null.
    const Property* Find(std::string_view name) const;

    // The properties of an object: calls its DefineProperties.
    static PropertyList Of(TPersistent& object);

private:
    friend class PropertyRule;

    template <class S>
    static std::uint64_t bitsOf(S value) {
        if constexpr (std::is_integral_v<S>) return static_cast<std::uint64_t>(value);
        else return value.Bits();
    }

    std::size_t add(Property property);
    std::size_t addInteger(std::string name, PropertyKind kind, std::int64_t lo, std::int64_t hi,
                           std::function<std::int64_t()> get, std::function<void(std::int64_t)> set);
    std::size_t addFloat(std::string name, std::function<double()> get, std::function<void(double)> set);
    std::size_t addEnumeration(std::string name, std::vector<std::string> members, std::function<std::int64_t()> get,
                               std::function<void(std::int64_t)> set);
    std::size_t addSet(std::string name, std::vector<std::string> members, std::size_t bitWidth,
                       std::function<std::uint64_t()> get, std::function<void(std::uint64_t)> set);
    std::size_t addReference(std::string name, std::function<TComponent*()> get, std::function<bool(TComponent*)> accepts,
                             std::function<void(TComponent*)> set);

    std::string className_;
    std::vector<Property> items_;
};

}  // namespace tabulix::framework
