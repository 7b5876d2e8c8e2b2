#pragma once
// Text handling shared by the parser and the text functions. Texts are UTF-8; lengths and
// positions count characters, not bytes. Letter case is folded for ASCII and the accented
// letters of Latin-1 (á/Á, ñ/Ñ, ü/Ü...), which covers the Western European texts we handle.

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulix::spreadsheet::formula {

std::string toUpperCase(std::string_view text);
std::string toLowerCase(std::string_view text);

bool equalsIgnoringCase(std::string_view a, std::string_view b);
// <0, 0 or >0, comparing the upper-cased texts byte by byte.
int compareIgnoringCase(std::string_view a, std::string_view b);

// Number of characters (UTF-8 code points; a stray byte counts as one).
std::size_t characterCount(std::string_view text);
// The first / last `count` characters (all of them when there are fewer).
std::string_view firstCharacters(std::string_view text, std::size_t count);
std::string_view lastCharacters(std::string_view text, std::size_t count);

// Leading and trailing spaces removed and inner runs of spaces reduced to one.
std::string trimSpaces(std::string_view text);

}  // namespace tabulix::spreadsheet::formula
