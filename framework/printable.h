#pragma once
// How error messages echo a value that came from outside (a file's bytes, a database's text, a
// name typed by a user): readable characters as they are, anything else escaped, and long values
// shortened so that a message stays a message. Every layer's messages use this one helper.

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulix::framework {

// Values longer than this many characters are shortened in messages.
inline constexpr std::size_t kPrintableLength = 80;

// `text` with well-formed UTF-8 characters kept, and control characters (U+0000-U+001F, U+007F)
// and bytes that are not well-formed UTF-8 written as \xNN. A text longer than `maxLength`
// characters keeps its first `maxLength` and says how long it was: "abc... (5000000 bytes)".
std::string printable(std::string_view text, std::size_t maxLength = kPrintableLength);

}  // namespace tabulix::framework
