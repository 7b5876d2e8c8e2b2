#pragma once
// Internal: text as it goes into the parts of a saved file. XML 1.0 has no place for bytes that
// are not UTF-8 nor for most control characters, yet a cell may hold any character, so every text
// a writer puts in a part passes through here and no part can come out malformed.

#ifndef TABULIX_ROOM_XLSX
#error "an internal header of spreadsheet/xlsx/: outside it, include its public headers"
#endif

#include <string>
#include <string_view>

namespace tabulix::spreadsheet {

// The text in the file format's own escaping: ill-formed UTF-8 becomes U+FFFD; a character XML
// cannot hold (the C0 controls but tab and line feed, carriage return, which a parser would turn
// into a line feed, and U+FFFE, U+FFFF) becomes "_xHHHH_"; the underscore of a literal "_xHHHH_"
// becomes "_x005F_", so that a reader decoding the escapes gets back exactly the cell's text.
// XML's own markup characters are left as they are, for writers that escape them themselves.
std::string fileText(std::string_view text);

// fileText with & < > " also escaped: ready for element content or a quoted attribute value.
void appendXmlText(std::string& out, std::string_view text);

}  // namespace tabulix::spreadsheet
