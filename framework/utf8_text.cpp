#include "framework/utf8_text.h"

namespace tabulix::framework::utf8 {

std::optional<Decoded> decode(std::string_view text, std::size_t at) {
    if (at >= text.size()) return std::nullopt;
    const auto b0 = static_cast<unsigned char>(text[at]);
    if (b0 < 0x80) return Decoded{b0, 1};
    std::size_t length;
    char32_t cp;
    char32_t minimum;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2, cp = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, cp = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, cp = b0 & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - at < length) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[at + k]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    return Decoded{cp, length};
}

void append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

namespace {

// Bytes from `at` that are plain ASCII (the common case, copied without decoding).
std::size_t asciiRun(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) ++end;
    return end - at;
}

}  // namespace

bool isValid(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        at += asciiRun(text, at);
        if (at >= text.size()) break;
        const auto d = decode(text, at);
        if (!d) return false;
        at += d->length;
    }
    return true;
}

std::string sanitize(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t run = asciiRun(text, at);
        out.append(text.substr(at, run));
        at += run;
        if (at >= text.size()) break;
        if (const auto d = decode(text, at)) {
            out.append(text.substr(at, d->length));
            at += d->length;
        } else {
            append(out, 0xFFFD);
            ++at;
        }
    }
    return out;
}

}  // namespace tabulix::framework::utf8
