#include "framework/printable.h"

#include <algorithm>
#include <cstdio>

#include "framework/utf8_text.h"

namespace tabulix::framework {

namespace {

// Characters that are well-formed but change how a terminal shows what follows.
bool invisibleControl(char32_t c) {
    return (c >= 0x80 && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) ||
           c == 0x200E || c == 0x200F || c == 0x061C || c == 0x2028 || c == 0x2029;
}

// Appends the characters of `text` from `at` until `maxCharacters` were written or the text
// ends; returns where it stopped.
std::size_t appendPrintable(std::string& out, std::string_view text, std::size_t at, std::size_t maxCharacters) {
    for (std::size_t characters = 0; at < text.size() && characters < maxCharacters; ++characters) {
        const auto d = utf8::decode(text, at);
        char escape[16];
        if (!d || d->codePoint < 0x20 || d->codePoint == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[at]));
            out += escape;
            ++at;
        } else if (invisibleControl(d->codePoint)) {
            std::snprintf(escape, sizeof escape, "\\u{%04X}", static_cast<unsigned>(d->codePoint));
            out += escape;
            at += d->length;
        } else {
            out.append(text.substr(at, d->length));
            at += d->length;
        }
    }
    return at;
}

// Where the last `characters` characters of `text` begin (counting a malformed byte as one).
std::size_t startOfLast(std::string_view text, std::size_t characters) {
    std::size_t at = text.size();
    while (at > 0 && characters > 0) {
        --at;
        for (int back = 0; at > 0 && back < 3 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80; ++back) --at;
        --characters;
    }
    return at;
}

}  // namespace

std::string printable(std::string_view text, std::size_t maxLength) {
    std::string out;
    const std::size_t stop = appendPrintable(out, text, 0, maxLength);
    if (stop < text.size()) out += "... (" + std::to_string(text.size()) + " bytes)";
    return out;
}

std::string quotedPath(const std::filesystem::path& path) {
    const std::string& text = path.native();
    std::string out = "\"";
    const std::size_t head = kPrintablePathLength / 2;
    const std::size_t stop = appendPrintable(out, text, 0, kPrintablePathLength);
    if (stop < text.size()) {
        out = "\"";
        const std::size_t headEnd = appendPrintable(out, text, 0, head);
        const std::size_t tail = std::max(startOfLast(text, head), headEnd);
        out += "...(" + std::to_string(text.size()) + " bytes)...";
        appendPrintable(out, text, tail, head);
    }
    return out + "\"";
}

}  // namespace tabulix::framework
