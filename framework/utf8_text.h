#pragma once
// UTF-8 checks and repairs for texts that come from outside (data files, databases, form
// files): every layer that takes bytes in and hands text on goes through these, so that a cell,
// a message or a saved file never holds a malformed sequence.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tabulix::framework::utf8 {

struct Decoded {
    char32_t codePoint;
    std::size_t length;  // bytes
};

// The code point at `at`, or nothing when the bytes there are not well-formed UTF-8 (bad lead
// byte, missing continuation, overlong form, surrogate, beyond U+10FFFF, cut short).
std::optional<Decoded> decode(std::string_view text, std::size_t at);

void append(std::string& out, char32_t codePoint);

bool isValid(std::string_view text);

// The text with every byte that does not start a well-formed sequence replaced by U+FFFD.
// Everything else, NUL and other control characters included, is kept.
std::string sanitize(std::string_view text);

}  // namespace tabulix::framework::utf8
