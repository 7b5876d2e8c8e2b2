#pragma once
// The text notation of form files, shared by the reader and the writer (not meant for other
// callers): parsing a file into its object tree, and spelling a string as a form-file literal.
//
//     object Form1: TForm1            an object: name and class (the name may be left out)
//       Caption = 'Descripci'#243'n'   a property: dotted path = value
//       object Taula: TTable           nested objects follow
//       end
//     end
//
// Values: 'strings' with '' for a quote, #243 / #$F3 character codes (Unicode code points)
// between or instead of quoted parts, + to continue a string on the next line; integers
// (-3, $FF), floats (1.5, 2E3), identifiers (True, clSilver, Taula), sets [a, b] and lists of
// strings ( 'a' 'b' ). Raw UTF-8 inside quotes is read as is; a byte that is not valid UTF-8 is
// read as a Windows-1252 character.

#include <string>
#include <string_view>
#include <vector>

#include "framework/form_value.h"

namespace tabulix::framework::form_notation {

struct PropertyNode {
    std::string path;
    FormValue value;
    int line = 0;
};

struct ObjectNode {
    std::string name;
    std::string className;
    int line = 0;
    std::vector<PropertyNode> properties;
    std::vector<ObjectNode> children;
};

// Objects may nest this deep (the root is depth 1); deeper files are refused.
constexpr int kMaxDepth = 64;

// Parses a whole form file; throws FormFileError naming `fileName` and the line.
ObjectNode Parse(std::string_view text, const std::string& fileName);

// The literal pieces of a UTF-8 string, each at most `width` characters long
// ('abc'#243'def'); the writer joins them with " +" and line breaks. Throws FormWriteError
// when the text is not valid UTF-8.
std::vector<std::string> QuoteString(std::string_view text, std::size_t width = 64);

// Whether `name` is an identifier the notation can hold (letters, digits, _; not a digit first).
bool IsIdentifier(std::string_view name);

}  // namespace tabulix::framework::form_notation
