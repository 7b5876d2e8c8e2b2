#include "spreadsheet/cells/utf8.h"

namespace tabulix::spreadsheet::utf8 {
namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::size_t sequenceLength(std::string_view text, std::size_t at) {
    if (at >= text.size()) return 0;
    const auto b0 = static_cast<unsigned char>(text[at]);
    if (b0 < 0x80) return 1;
    std::size_t len;
    char32_t min;
    char32_t cp;
    if ((b0 & 0xE0) == 0xC0) { len = 2; min = 0x80; cp = b0 & 0x1F; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; min = 0x800; cp = b0 & 0x0F; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; min = 0x10000; cp = b0 & 0x07; }
    else return 0;
    if (text.size() - at < len) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(text[at + k]);
        if (!isContinuation(b)) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

char32_t next(std::string_view text, std::size_t& at) {
    const std::size_t len = sequenceLength(text, at);
    if (len == 0) {
        ++at;
        return U'\uFFFD';
    }
    const auto b0 = static_cast<unsigned char>(text[at]);
    char32_t cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
    for (std::size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
    at += len;
    return cp;
}

std::size_t characterPosition(std::string_view text, std::size_t offset) {
    std::size_t position = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        if (!isContinuation(static_cast<unsigned char>(text[i]))) ++position;
    return position;
}

std::string repaired(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = sequenceLength(text, i);
        if (len == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, len));
            i += len;
        }
    }
    return out;
}

std::size_t utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size();) units += next(text, i) > 0xFFFF ? 2 : 1;
    return units;
}

}  // namespace tabulix::spreadsheet::utf8
