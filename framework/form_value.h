#pragma once
/// @file
/// FormValue: a property value as a form file spells it, before it is given to a property (see
/// property_list.h). The reader produces these; the writer formats them.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/export.h"

namespace tabulix::framework {

/// @brief A property value as a form file spells it.
/// @threads A value.
struct TABULIX_API FormValue {
    /// The kinds of value.
    enum class Type {
        Integer,     ///< 12, -3, $FF
        Float,       ///< 1.5, 2.0E3
        String,      ///< 'text' (UTF-8 once read)
        Identifier,  ///< True, glGruesa, clSilver, Taula
        Set,         ///< [fsBold, fsItalic]: member names in `items`
        List,        ///< ( 'a' 'b' ): the strings in `items`
    };

    /// The kind of value.
    Type type = Type::Integer;
    /// The value of an Integer.
    std::int64_t integer = 0;
    /// The value of a Float.
    double number = 0;
    std::string text;                ///< String and Identifier
    std::vector<std::string> items;  ///< Set and List

    /// An Integer value.
    /// @param v the number.
    static FormValue Int(std::int64_t v) { return {Type::Integer, v, 0, {}, {}}; }
    /// A Float value.
    /// @param v the number.
    static FormValue Real(double v) { return {Type::Float, 0, v, {}, {}}; }
    /// A String value.
    /// @param v the text, UTF-8.
    static FormValue Str(std::string v) { return {Type::String, 0, 0, std::move(v), {}}; }
    /// An Identifier value.
    /// @param v the identifier.
    static FormValue Ident(std::string v) { return {Type::Identifier, 0, 0, std::move(v), {}}; }
    /// A Set value.
    /// @param v the member names.
    static FormValue SetOfNames(std::vector<std::string> v) { return {Type::Set, 0, 0, {}, std::move(v)}; }
    /// A List value.
    /// @param v the strings.
    static FormValue Lines(std::vector<std::string> v) { return {Type::List, 0, 0, {}, std::move(v)}; }

    /// Whether two values are the same in every member.
    bool operator==(const FormValue&) const = default;
};

/// What a value looks like, for messages: "a string", "the identifier 'clRed'", ...
TABULIX_API std::string DescribeFormValue(const FormValue& value);

}  // namespace tabulix::framework
