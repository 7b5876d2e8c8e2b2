#pragma once
// The little UTF-8 handling that names, format codes, text measuring and the file writer need.

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulix::spreadsheet::utf8 {

// Length of the well-formed UTF-8 sequence starting at text[at], or 0 when it is malformed
// (bad lead byte, missing or bad continuation, overlong form, surrogate, beyond U+10FFFF).
std::size_t sequenceLength(std::string_view text, std::size_t at);

// Decodes the code point at text[at] and advances at past it; a malformed byte gives U+FFFD and
// advances by one, so decoding always makes progress.
char32_t next(std::string_view text, std::size_t& at);

// 1-based character position of a byte offset, for messages.
std::size_t characterPosition(std::string_view text, std::size_t offset);

// The text with every malformed byte replaced by U+FFFD; well-formed text comes back unchanged.
std::string repaired(std::string_view text);

// Length of well-formed text in UTF-16 code units, the unit the file format counts cell text in:
// a character beyond U+FFFF counts two.
std::size_t utf16Length(std::string_view text);

}  // namespace tabulix::spreadsheet::utf8
