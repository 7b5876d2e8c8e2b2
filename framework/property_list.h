#pragma once
/// @file
/// Published properties: how a class tells the form files (and design-time tools) which of its
/// properties are stored, of what kind, in which order and when.
///
/// A class overrides TPersistent::DefineProperties and adds its properties in stored order,
/// after its base class's:
///
///     void TAtributosCasilla::DefineProperties(PropertyList& p) {
///         p.Object("Fuente", *fuente_);                       // sub-properties Fuente.Name, ...
///         p.Color("ColorFondo", colorFondo_);                  // always stored
///         p.Boolean("ColorFondoActivado", colorFondoActivado_);
///         p.Set("LiniasContorno", liniasContorno_, {"lcIzquierda", "lcDerecha", "lcSuperior", "lcInferior"});
///         p.Enumeration("LiniasContornoGrosor", liniasContornoGrosor_, {"glDelgada", "glMedia", "glGruesa"})
///             .Default(glDelgada);                             // omitted while it equals the default
///     }
///
///     void TTabulix::DefineProperties(PropertyList& p) {
///         TComponent::DefineProperties(p);                     // Tag
///         p.Reference<data::TDataSet>("Datos", [this] { return datos_; },
///                                     [this](data::TDataSet* d) { SetDatos(d); });
///         p.Object("CabeceraFormato", [this] { return cabeceraFormato_.get(); });
///         p.Boolean("CabeceraMostrar", CabeceraMostrar).Default(true);
///         p.Integer("FilaInicial", FilaInicial).Default(1);
///         p.Text("NombreHoja", NombreHoja);                    // texts: stored when not empty
///         p.StringList("Formulas", *formulas_);                // stored as Formulas.Strings = ( ... )
///         ...
///     }
///
/// Every kind comes in two forms: bound to a field (the property reads and writes the field
/// directly) or with a getter and a setter (std::function; the setter may validate and throw,
/// and the reader reports its message with the file name and line). With getter and setter the
/// value type is given explicitly where it cannot be deduced: p.Integer<std::int32_t>(name, get, set).
///
/// Stored rules (what the writer does with the current value):
///   Always          written every time (the default for Boolean, numbers, enumerations, sets,
///                   colours and objects);
///   WhenNotDefault  written unless it equals the value given to .Default(v);
///   WhenNotEmpty    written unless empty (the default for texts, string lists and references;
///                   a reference is empty when it refers to nothing);
///   Never           read when present in a file, never written (e.g. TFont.Size, kept as Height).
///
/// Kinds and their notation in a form file:
///   Boolean      True / False
///   Integer      12, -3, $FF; any integral field type, range-checked on reading (against the
///                type's range, or the narrower one given with .Range(min, max)). With .Idents()
///                a value may also be written by name (as character sets are).
///   Float        1.5, 2.0E3 (an integer is accepted too)
///   Text         'text' with '' for a quote, #243 for a non-ASCII character, + to continue
///   Enumeration  a member name; the ordinal is the position in the member list
///   Set          [a, b]; bit n of the value stands for the member with ordinal n
///   Color        a colour constant name (clSilver) or a number
///   Object       no value of its own: the members of the sub-object are stored under the dotted
///                path (TituloFormato.Fuente.Name = 'Tahoma'); reading fills the object the owner
///                already holds, it never creates or replaces one
///   StringList   Name.Strings = ( 'line 1' 'line 2' ); reading replaces all lines (Assign)
///   Reference    the name of another component of the same form (Datos = Taula); set after the
///                whole file is read, so it may name a component that comes later in the file
///
/// Property names compare ignoring ASCII letter case, as the framework's do.

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
#include "framework/export.h"
#include "framework/form_value.h"
#include "framework/ident_map.h"
#include "framework/persistent.h"
#include "framework/set_of.h"

namespace tabulix::framework {

class TStringList;

/// The kinds of published property; the file comment gives each one's notation.
enum class PropertyKind { Boolean, Integer, Float, Text, Enumeration, Set, Color, Object, StringList, Reference };
/// When the form writer stores a property; the file comment explains each rule.
enum class StoredRule { Always, WhenNotDefault, WhenNotEmpty, Never };

/// @brief A value that does not fit a property (wrong kind, out of range, unknown member name).
///
/// The message says what was expected, e.g. "bad set member 'lcArriba' (expected one of
/// lcIzquierda, lcDerecha, lcSuperior, lcInferior)"; the form reader adds the file, line and
/// property path.
/// @threads Thrown on the thread of the failed call.
class TABULIX_API PropertyValueError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

/// @brief One published property of one object. Copies share the object they describe, so a
/// Property is valid only while that object lives.
/// @threads Used from the thread that uses the object.
class TABULIX_API Property {
public:
    /// The property's name.
    const std::string& Name() const { return name_; }
    /// The property's kind.
    PropertyKind Kind() const { return kind_; }
    /// The property's stored rule.
    StoredRule Stored() const { return stored_; }
    /// Enumeration and Set: the member names, by ordinal.
    const std::vector<std::string>& Members() const { return members_; }
    /// Integer and Color: the values that are written by name.
    std::span<const IdentEntry> Idents() const { return idents_; }
    /// Integer and Color: the smallest value accepted.
    std::int64_t Minimum() const { return minimum_; }
    /// Integer and Color: the largest value accepted.
    std::int64_t Maximum() const { return maximum_; }

    /// Whether the writer stores the property now, by its Stored rule. An Object property is
    /// stored (as its members) when it holds an object; a Reference when it refers to one.
    bool IsStored() const;

    /// Current value in form-file terms. Every kind but Object and Reference. Throws
    /// PropertyValueError when the value has no notation (an enumeration ordinal without a
    /// name, a set bit without a member, a float that is not finite).
    FormValue Get() const;
    /// Sets the value. Every kind but Object and Reference. Throws PropertyValueError when the
    /// value does not fit; the setter's own exceptions pass through.
    void Set(const FormValue& value) const;

    /// Object: the sub-object, or nullptr.
    TPersistent* Object() const;
    /// StringList: the list.
    TStringList* List() const;

    /// Reference: the component referred to, or nullptr.
    TComponent* Referenced() const;
    /// Reference: whether a component is of the class the property refers to (nullptr is).
    /// @param component the component.
    bool Accepts(TComponent* component) const;
    /// Reference: refers to a component; nullptr clears the reference.
    /// @param component the component.
    /// @throws PropertyValueError for a component of another class.
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

/// @brief Returned by the kinds that have no default value: sets the Stored rule.
/// @threads Used while DefineProperties runs.
class TABULIX_API PropertyRule {
public:
    /// Refers to a property of a list.
    /// @param list the list.
    /// @param index the property's position in it.
    PropertyRule(PropertyList& list, std::size_t index) : list_(&list), index_(index) {}
    /// Stores the property every time.
    PropertyRule& AlwaysStored();
    /// Stores the property unless it is empty.
    PropertyRule& StoredWhenNotEmpty();
    /// Reads the property from files but never writes it.
    PropertyRule& NeverStored();

protected:
    /// The property this rule sets.
    Property& property() const;
    /// Narrows the values the property accepts.
    /// @param minimum the smallest value accepted.
    /// @param maximum the largest value accepted.
    /// @throws std::logic_error when the range is empty or reaches beyond the type's.
    void narrowRange(std::int64_t minimum, std::int64_t maximum);

private:
    PropertyList* list_;
    std::size_t index_;
};

/// Returned by the kinds that have a value type T: adds .Default(v) and, for integers, .Idents().
/// @brief Returned by the kinds that have a value type T: adds .Default(v) and, for integers,
/// .Idents().
/// @threads Used while DefineProperties runs.
template <class T>
class PropertyBuilder : public PropertyRule {
public:
    /// Refers to a property of a list.
    /// @param list the list.
    /// @param index the property's position in it.
    /// @param get reads the property's value.
    PropertyBuilder(PropertyList& list, std::size_t index, std::function<T()> get)
        : PropertyRule(list, index), get_(std::move(get)) {}

    /// Stores the property only while its value differs from `value` (WhenNotDefault).
    /// @param value the default value.
    PropertyBuilder& Default(T value) {
        Property& p = property();
        p.stored_ = StoredRule::WhenNotDefault;
        p.isDefault_ = [get = get_, value] { return get() == value; };
        return *this;
    }
    /// Integer properties: the values that are read and written by name.
    /// @param idents the names and their values.
    PropertyBuilder& Idents(std::span<const IdentEntry> idents)
        requires std::integral<T>
    {
        property().idents_ = idents;
        return *this;
    }
    /// Integer properties: the values accepted, when the owner can hold fewer than its type can
    /// (a value outside is refused before the setter sees it, as one outside the type's range is).
    /// @param minimum the smallest value accepted.
    /// @param maximum the largest value accepted.
    PropertyBuilder& Range(std::int64_t minimum, std::int64_t maximum)
        requires std::integral<T>
    {
        narrowRange(minimum, maximum);
        return *this;
    }

private:
    std::function<T()> get_;
};

/// @brief The published properties of one object, in stored order, as its DefineProperties
/// describes them. The file comment shows how a class adds its properties.
/// @threads Used from the thread that uses the object.
class TABULIX_API PropertyList {
public:
    /// Reads a property's value.
    template <class T>
    using Getter = std::function<T()>;
    /// Sets a property's value; may throw to refuse it.
    template <class T>
    using Setter = std::function<void(T)>;

    /// Makes an empty list.
    /// @param className the owner's class name, used in messages ("unknown property 'X' of TFont").
    explicit PropertyList(std::string className = {}) : className_(std::move(className)) {}

    /// A Boolean property bound to a field, always stored.
    /// @param name the property's name.
    /// @param field the field it reads and writes.
    PropertyBuilder<bool> Boolean(std::string name, bool& field);
    /// A Boolean property with a getter and a setter, always stored.
    /// @param name the property's name.
    /// @param get reads the value.
    /// @param set sets the value.
    PropertyBuilder<bool> Boolean(std::string name, Getter<bool> get, Setter<bool> set);

    /// An Integer property bound to a field of any integral type (range-checked on reading),
    /// always stored.
    /// @param name the property's name.
    /// @param field the field it reads and writes.
    template <std::integral T>
        requires(!std::same_as<T, bool>)
    PropertyBuilder<T> Integer(std::string name, T& field) {
        return Integer<T>(std::move(name), [&field] { return field; }, [&field](T v) { field = v; });
    }
    /// An Integer property with a getter and a setter, always stored.
    /// @param name the property's name.
    /// @param get reads the value.
    /// @param set sets the value.
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

    /// A Float property bound to a floating-point field, always stored.
    /// @param name the property's name.
    /// @param field the field it reads and writes.
    template <std::floating_point T>
    PropertyBuilder<T> Float(std::string name, T& field) {
        std::size_t i = addFloat(std::move(name), [&field] { return static_cast<double>(field); },
                                 [&field](double v) { field = static_cast<T>(v); });
        return {*this, i, [&field] { return field; }};
    }
    /// A Float property with a getter and a setter, always stored.
    /// @param name the property's name.
    /// @param get reads the value.
    /// @param set sets the value.
    PropertyBuilder<double> Float(std::string name, Getter<double> get, Setter<double> set);

    /// A Text property bound to a field, stored when not empty.
    /// @param name the property's name.
    /// @param field the field it reads and writes.
    PropertyBuilder<std::string> Text(std::string name, std::string& field);
    /// A Text property with a getter and a setter, stored when not empty.
    /// @param name the property's name.
    /// @param get reads the value.
    /// @param set sets the value.
    PropertyBuilder<std::string> Text(std::string name, Getter<std::string> get, Setter<std::string> set);

    /// An Enumeration property bound to a field, always stored.
    /// @param name the property's name.
    /// @param field the field it reads and writes.
    /// @param members the member names, by ordinal.
    template <class E>
        requires std::is_enum_v<E>
    PropertyBuilder<E> Enumeration(std::string name, E& field, std::vector<std::string> members) {
        return Enumeration<E>(std::move(name), [&field] { return field; }, [&field](E v) { field = v; }, std::move(members));
    }
    /// An Enumeration property with a getter and a setter, always stored.
    /// @param name the property's name.
    /// @param get reads the value.
    /// @param set sets the value.
    /// @param members the member names, by ordinal.
    template <class E>
        requires std::is_enum_v<E>
    PropertyBuilder<E> Enumeration(std::string name, Getter<E> get, Setter<E> set, std::vector<std::string> members) {
        std::size_t i = addEnumeration(std::move(name), std::move(members),
                                       [get] { return static_cast<std::int64_t>(get()); },
                                       [set](std::int64_t v) { set(static_cast<E>(v)); });
        return {*this, i, std::move(get)};
    }

    /// A Set property bound to a SetOf field, always stored.
    /// @param name the property's name.
    /// @param field the field it reads and writes.
    /// @param members the member names, by ordinal.
    template <class E>
    PropertyBuilder<SetOf<E>> Set(std::string name, SetOf<E>& field, std::vector<std::string> members) {
        return Set<SetOf<E>>(std::move(name), [&field] { return field; }, [&field](SetOf<E> v) { field = v; },
                             std::move(members));
    }
    /// A Set property bound to an unsigned bitmask field, always stored.
    /// @param name the property's name.
    /// @param field the field it reads and writes: bit n for the member of ordinal n.
    /// @param members the member names, by ordinal.
    template <std::unsigned_integral T>
    PropertyBuilder<T> Set(std::string name, T& field, std::vector<std::string> members) {
        return Set<T>(std::move(name), [&field] { return field; }, [&field](T v) { field = v; }, std::move(members));
    }
    /// S is SetOf<E> or an unsigned integral bitmask.
    /// A Set property with a getter and a setter, always stored; S is SetOf<E> or an unsigned
    /// integral bitmask.
    /// @param name the property's name.
    /// @param get reads the value.
    /// @param set sets the value.
    /// @param members the member names, by ordinal.
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

    /// A Color property bound to a field, always stored.
    /// @param name the property's name.
    /// @param field the field it reads and writes.
    PropertyBuilder<TColor> Color(std::string name, TColor& field);
    /// A Color property with a getter and a setter, always stored.
    /// @param name the property's name.
    /// @param get reads the value.
    /// @param set sets the value.
    PropertyBuilder<TColor> Color(std::string name, Getter<TColor> get, Setter<TColor> set);

    /// An owned sub-object whose members are stored under "name.".
    /// @param name the property's name.
    /// @param object the sub-object.
    PropertyRule Object(std::string name, TPersistent& object);
    /// An owned sub-object, found through a getter, whose members are stored under "name.".
    /// @param name the property's name.
    /// @param get the sub-object, or nullptr.
    PropertyRule Object(std::string name, Getter<TPersistent*> get);

    /// A string list, stored as `name.Strings = ( ... )` when not empty.
    /// @param name the property's name.
    /// @param list the list.
    PropertyRule StringList(std::string name, TStringList& list);
    /// A string list found through a getter.
    /// @param name the property's name.
    /// @param get the list.
    PropertyRule StringList(std::string name, Getter<TStringList*> get);

    /// A reference to another component; T is the class it must be (or derive from). Use the
    /// getter/setter form when the class must hear of the component's destruction (the setter
    /// calls FreeNotification, Notification clears the field).
    /// A reference to another component of class T (or derived); use this form when the class must
    /// hear of the component's destruction (the setter calls FreeNotification, Notification clears
    /// the field).
    /// @param name the property's name.
    /// @param get reads the reference.
    /// @param set sets it.
    template <class T>
        requires std::derived_from<T, TComponent>
    PropertyRule Reference(std::string name, Getter<T*> get, Setter<T*> set) {
        std::size_t i = addReference(
            std::move(name), [get]() -> TComponent* { return get(); },
            [](TComponent* c) { return c == nullptr || dynamic_cast<T*>(c) != nullptr; },
            [set](TComponent* c) { set(dynamic_cast<T*>(c)); });
        return {*this, i};
    }
    /// A reference to another component of class T (or derived), bound to a field.
    /// @param name the property's name.
    /// @param field the field it reads and writes.
    template <class T>
        requires std::derived_from<T, TComponent>
    PropertyRule Reference(std::string name, T*& field) {
        return Reference<T>(std::move(name), [&field] { return field; }, [&field](T* v) { field = v; });
    }

    /// The owner's class name.
    const std::string& ClassName() const { return className_; }
    /// The properties, in stored order.
    const std::vector<Property>& Items() const { return items_; }
    /// The number of properties.
    std::size_t Count() const { return items_.size(); }
    /// The property of a name.
    /// @param name the name, ASCII letter case ignored.
    /// @return the property, or nullptr.
    const Property* Find(std::string_view name) const;

    /// The properties of an object, through its DefineProperties.
    /// @param object the object.
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
