#pragma once
// How messages echo a value that came from outside (a file's bytes, a database's text, a name or
// path typed by a user, an error text of another library): readable characters as they are,
// anything a terminal would act on escaped, and long values shortened so that a message stays a
// message. Every layer's messages use these, and nothing else, for such values.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tabulix::framework {

// Values longer than this many characters are shortened in messages.
inline constexpr std::size_t kPrintableLength = 80;
// Paths get more room: the end of a long path (its file name) is what tells files apart.
inline constexpr std::size_t kPrintablePathLength = 400;
// A whole message (a reason another library gave, a message made of several values).
inline constexpr std::size_t kPrintableMessageLength = 2000;

// `text` with well-formed UTF-8 characters kept, and written as escapes: control characters
// (U+0000-U+001F, U+007F) and bytes that are not well-formed UTF-8 as \xNN; C1 controls
// (U+0080-U+009F) and the characters that reorder or hide text on a terminal (bidirectional
// embeddings, overrides and isolates; U+2028, U+2029) as \u{NNNN}. A text longer than
// `maxLength` characters keeps its first `maxLength` and says how long it was:
// "abc... (5000000 bytes)".
std::string printable(std::string_view text, std::size_t maxLength = kPrintableLength);

// A path for a message: printable, in double quotes, up to kPrintablePathLength characters;
// a longer one keeps its beginning and its end: "/a/b/...(5000 bytes).../report.xlsx".
std::string quotedPath(const std::filesystem::path& path);

}  // namespace tabulix::framework
