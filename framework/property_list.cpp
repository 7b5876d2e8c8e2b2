#include "framework/property_list.h"

#include <cmath>

#include "framework/form_notation.h"
#include "framework/printable.h"
#include "framework/string_list.h"
#include "framework/text_compare.h"

namespace tabulix::framework {

namespace {

std::string joinNames(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names) {
        if (!out.empty()) out += ", ";
        out += n;
    }
    return out;
}

int ordinalOf(const std::vector<std::string>& members, const std::string& name) {
    for (std::size_t i = 0; i < members.size(); ++i)
        if (sameText(members[i], name)) return static_cast<int>(i);
    return -1;
}

[[noreturn]] void expected(const std::string& what, const FormValue& value) {
    throw PropertyValueError("expected " + what + ", found " + DescribeFormValue(value));
}

void checkRange(std::int64_t value, std::int64_t lo, std::int64_t hi) {
    if (value < lo || value > hi)
        throw PropertyValueError("value " + std::to_string(value) + " out of range (" + std::to_string(lo) + ".." +
                                 std::to_string(hi) + ")");
}

}  // namespace

std::string DescribeFormValue(const FormValue& value) {
    switch (value.type) {
    case FormValue::Type::Integer: return "the number " + std::to_string(value.integer);
    case FormValue::Type::Float: return "a floating-point number";
    case FormValue::Type::String: return "a string";
    case FormValue::Type::Identifier: return "'" + printable(value.text) + "'";
    case FormValue::Type::Set: return "a set";
    case FormValue::Type::List: return "a list";
    }
    return "a value";
}

// --- Property -------------------------------------------------------------------------------

bool Property::IsStored() const {
    if (stored_ == StoredRule::Never) return false;
    if (kind_ == PropertyKind::Object) return Object() != nullptr;
    if (kind_ == PropertyKind::Reference) return Referenced() != nullptr;
    switch (stored_) {
    case StoredRule::Always: return true;
    case StoredRule::WhenNotDefault: return !isDefault_ || !isDefault_();
    case StoredRule::WhenNotEmpty: return !isEmpty_ || !isEmpty_();
    case StoredRule::Never: break;
    }
    return false;
}

FormValue Property::Get() const {
    if (!get_) throw PropertyValueError("property '" + name_ + "' has no value of its own");
    FormValue value = get_();
    if (value.type == FormValue::Type::Integer)
        if (auto ident = IdentOf(idents_, value.integer)) return FormValue::Ident(*ident);
    return value;
}

void Property::Set(const FormValue& value) const {
    if (!set_) throw PropertyValueError("property '" + name_ + "' has no value of its own");
    if ((kind_ == PropertyKind::Integer || kind_ == PropertyKind::Color) && value.type == FormValue::Type::Identifier) {
        auto named = ValueOfIdent(idents_, value.text);
        if (!named) {
            if (kind_ == PropertyKind::Color)
                throw PropertyValueError("'" + printable(value.text) + "' is not a colour name");
            throw PropertyValueError("expected an integer, found '" + printable(value.text) + "'");
        }
        return set_(FormValue::Int(*named));
    }
    set_(value);
}

TPersistent* Property::Object() const { return object_ ? object_() : nullptr; }

TStringList* Property::List() const {
    return kind_ == PropertyKind::StringList ? static_cast<TStringList*>(Object()) : nullptr;
}

TComponent* Property::Referenced() const { return referenced_ ? referenced_() : nullptr; }

bool Property::Accepts(TComponent* component) const { return accepts_ && accepts_(component); }

void Property::SetReferenced(TComponent* component) const {
    if (!refer_) throw PropertyValueError("property '" + name_ + "' is not a reference");
    if (!accepts_(component))
        throw PropertyValueError("component '" + printable(component->Name()) + "' (" + printable(component->ClassName()) +
                                 ") does not fit this property");
    refer_(component);
}

// --- PropertyRule ---------------------------------------------------------------------------

Property& PropertyRule::property() const { return list_->items_[index_]; }

void PropertyRule::narrowRange(std::int64_t minimum, std::int64_t maximum) {
    Property& p = property();
    if (minimum > maximum || minimum < p.minimum_ || maximum > p.maximum_)
        throw std::logic_error("property '" + p.name_ + "': range " + std::to_string(minimum) + ".." +
                               std::to_string(maximum) + " does not fit its type");
    p.minimum_ = minimum;
    p.maximum_ = maximum;
    p.set_ = [set = std::move(p.set_), minimum, maximum](const FormValue& v) {
        if (v.type == FormValue::Type::Integer) checkRange(v.integer, minimum, maximum);
        set(v);
    };
}

PropertyRule& PropertyRule::AlwaysStored() {
    property().stored_ = StoredRule::Always;
    return *this;
}

PropertyRule& PropertyRule::StoredWhenNotEmpty() {
    property().stored_ = StoredRule::WhenNotEmpty;
    return *this;
}

PropertyRule& PropertyRule::NeverStored() {
    property().stored_ = StoredRule::Never;
    return *this;
}

// --- PropertyList ---------------------------------------------------------------------------

PropertyList PropertyList::Of(TPersistent& object) {
    PropertyList list(object.ClassName());
    object.DefineProperties(list);
    return list;
}

const Property* PropertyList::Find(std::string_view name) const {
    for (const Property& p : items_)
        if (sameText(p.name_, name)) return &p;
    return nullptr;
}

std::size_t PropertyList::add(Property property) {
    if (!form_notation::IsIdentifier(property.name_))
        throw std::logic_error("property name '" + property.name_ + "' of " + className_ + " is not an identifier");
    if (Find(property.name_))
        throw std::logic_error("property '" + property.name_ + "' of " + className_ + " is defined twice");
    items_.push_back(std::move(property));
    return items_.size() - 1;
}

PropertyBuilder<bool> PropertyList::Boolean(std::string name, bool& field) {
    return Boolean(std::move(name), [&field] { return field; }, [&field](bool v) { field = v; });
}

PropertyBuilder<bool> PropertyList::Boolean(std::string name, Getter<bool> get, Setter<bool> set) {
    Property p;
    p.name_ = std::move(name);
    p.kind_ = PropertyKind::Boolean;
    p.get_ = [get] { return FormValue::Ident(get() ? "True" : "False"); };
    p.set_ = [set](const FormValue& v) {
        if (v.type == FormValue::Type::Identifier) {
            if (sameText(v.text, "True")) return set(true);
            if (sameText(v.text, "False")) return set(false);
        }
        expected("True or False", v);
    };
    p.isEmpty_ = [get] { return !get(); };
    return {*this, add(std::move(p)), std::move(get)};
}

std::size_t PropertyList::addInteger(std::string name, PropertyKind kind, std::int64_t lo, std::int64_t hi,
                                     std::function<std::int64_t()> get, std::function<void(std::int64_t)> set) {
    Property p;
    p.name_ = std::move(name);
    p.kind_ = kind;
    p.minimum_ = lo;
    p.maximum_ = hi;
    p.get_ = [get] { return FormValue::Int(get()); };
    p.set_ = [set, lo, hi](const FormValue& v) {
        if (v.type != FormValue::Type::Integer) expected("an integer", v);
        checkRange(v.integer, lo, hi);
        set(v.integer);
    };
    p.isEmpty_ = [get] { return get() == 0; };
    return add(std::move(p));
}

std::size_t PropertyList::addFloat(std::string name, std::function<double()> get, std::function<void(double)> set) {
    Property p;
    p.name_ = std::move(name);
    p.kind_ = PropertyKind::Float;
    p.get_ = [get, name = p.name_] {
        double v = get();
        if (!std::isfinite(v)) throw PropertyValueError("the value of '" + name + "' is not a finite number");
        return FormValue::Real(v);
    };
    p.set_ = [set](const FormValue& v) {
        if (v.type == FormValue::Type::Float) return set(v.number);
        if (v.type == FormValue::Type::Integer) return set(static_cast<double>(v.integer));
        expected("a number", v);
    };
    p.isEmpty_ = [get] { return get() == 0; };
    return add(std::move(p));
}

PropertyBuilder<double> PropertyList::Float(std::string name, Getter<double> get, Setter<double> set) {
    std::size_t i = addFloat(std::move(name), get, std::move(set));
    return {*this, i, std::move(get)};
}

PropertyBuilder<std::string> PropertyList::Text(std::string name, std::string& field) {
    return Text(std::move(name), [&field] { return field; }, [&field](std::string v) { field = std::move(v); });
}

PropertyBuilder<std::string> PropertyList::Text(std::string name, Getter<std::string> get, Setter<std::string> set) {
    Property p;
    p.name_ = std::move(name);
    p.kind_ = PropertyKind::Text;
    p.stored_ = StoredRule::WhenNotEmpty;
    p.get_ = [get] { return FormValue::Str(get()); };
    p.set_ = [set](const FormValue& v) {
        if (v.type != FormValue::Type::String) expected("a string", v);
        set(v.text);
    };
    p.isEmpty_ = [get] { return get().empty(); };
    return {*this, add(std::move(p)), std::move(get)};
}

std::size_t PropertyList::addEnumeration(std::string name, std::vector<std::string> members,
                                         std::function<std::int64_t()> get, std::function<void(std::int64_t)> set) {
    if (members.empty()) throw std::logic_error("enumeration property '" + name + "' has no members");
    Property p;
    p.name_ = std::move(name);
    p.kind_ = PropertyKind::Enumeration;
    p.members_ = std::move(members);
    p.get_ = [get, members = p.members_, name = p.name_] {
        std::int64_t v = get();
        if (v < 0 || v >= static_cast<std::int64_t>(members.size()))
            throw PropertyValueError("'" + name + "' holds ordinal " + std::to_string(v) + ", which has no name");
        return FormValue::Ident(members[static_cast<std::size_t>(v)]);
    };
    p.set_ = [set, members = p.members_](const FormValue& v) {
        if (v.type != FormValue::Type::Identifier) expected("one of " + joinNames(members), v);
        int ordinal = ordinalOf(members, v.text);
        if (ordinal < 0)
            throw PropertyValueError("bad value '" + printable(v.text) + "' (expected one of " + joinNames(members) +
                                     ")");
        set(ordinal);
    };
    p.isEmpty_ = [get] { return get() == 0; };
    return add(std::move(p));
}

std::size_t PropertyList::addSet(std::string name, std::vector<std::string> members, std::size_t bitWidth,
                                 std::function<std::uint64_t()> get, std::function<void(std::uint64_t)> set) {
    if (members.size() > bitWidth || members.size() > 32)
        throw std::logic_error("set property '" + name + "' has more members than its value has bits");
    Property p;
    p.name_ = std::move(name);
    p.kind_ = PropertyKind::Set;
    p.members_ = std::move(members);
    p.get_ = [get, members = p.members_, name = p.name_] {
        std::uint64_t bits = get();
        std::vector<std::string> names;
        for (std::size_t i = 0; i < members.size(); ++i)
            if (bits & (std::uint64_t{1} << i)) names.push_back(members[i]);
        if (members.size() < 64 && (bits >> members.size()) != 0)
            throw PropertyValueError("'" + name + "' holds set bits that have no member name");
        return FormValue::SetOfNames(std::move(names));
    };
    p.set_ = [set, members = p.members_](const FormValue& v) {
        if (v.type != FormValue::Type::Set) expected("a set [...]", v);
        std::uint64_t bits = 0;
        for (const std::string& item : v.items) {
            int ordinal = ordinalOf(members, item);
            if (ordinal < 0)
                throw PropertyValueError("bad set member '" + printable(item) + "' (expected one of " +
                                         joinNames(members) + ")");
            bits |= std::uint64_t{1} << ordinal;
        }
        set(bits);
    };
    p.isEmpty_ = [get] { return get() == 0; };
    return add(std::move(p));
}

PropertyBuilder<TColor> PropertyList::Color(std::string name, TColor& field) {
    return Color(std::move(name), [&field] { return field; }, [&field](TColor v) { field = v; });
}

PropertyBuilder<TColor> PropertyList::Color(std::string name, Getter<TColor> get, Setter<TColor> set) {
    std::size_t i = addInteger(
        std::move(name), PropertyKind::Color, INT32_MIN, UINT32_MAX, [get] { return static_cast<std::int64_t>(get()); },
        // Colours up to $FFFFFFFF are bit patterns: 2147483656 and -2147483640 are both clWindowText.
        [set](std::int64_t v) { set(static_cast<TColor>(static_cast<std::uint32_t>(v))); });
    items_[i].idents_ = ColorIdents();
    return {*this, i, std::move(get)};
}

PropertyRule PropertyList::Object(std::string name, TPersistent& object) {
    return Object(std::move(name), [&object] { return &object; });
}

PropertyRule PropertyList::Object(std::string name, Getter<TPersistent*> get) {
    Property p;
    p.name_ = std::move(name);
    p.kind_ = PropertyKind::Object;
    p.object_ = std::move(get);
    return {*this, add(std::move(p))};
}

PropertyRule PropertyList::StringList(std::string name, TStringList& list) {
    return StringList(std::move(name), [&list] { return &list; });
}

PropertyRule PropertyList::StringList(std::string name, Getter<TStringList*> get) {
    Property p;
    p.name_ = std::move(name);
    p.kind_ = PropertyKind::StringList;
    p.stored_ = StoredRule::WhenNotEmpty;
    p.object_ = [get]() -> TPersistent* { return get(); };
    p.get_ = [get, name = p.name_] {
        TStringList* list = get();
        if (!list) throw PropertyValueError("'" + name + "' holds no list");
        return FormValue::Lines(list->Lines());
    };
    p.set_ = [get, name = p.name_](const FormValue& v) {
        if (v.type != FormValue::Type::List) expected("a list ( ... ) of strings", v);
        TStringList* list = get();
        if (!list) throw PropertyValueError("'" + name + "' holds no list");
        TStringList lines;
        for (const std::string& line : v.items) lines.Add(line);
        list->Assign(lines);
    };
    p.isEmpty_ = [get] {
        TStringList* list = get();
        return !list || list->Count() == 0;
    };
    return {*this, add(std::move(p))};
}

std::size_t PropertyList::addReference(std::string name, std::function<TComponent*()> get,
                                       std::function<bool(TComponent*)> accepts, std::function<void(TComponent*)> set) {
    Property p;
    p.name_ = std::move(name);
    p.kind_ = PropertyKind::Reference;
    p.stored_ = StoredRule::WhenNotEmpty;
    p.referenced_ = std::move(get);
    p.accepts_ = std::move(accepts);
    p.refer_ = std::move(set);
    return add(std::move(p));
}

}  // namespace tabulix::framework
