#include "framework/printable.h"

#include <cstdio>

#include "framework/utf8_text.h"

namespace tabulix::framework {

std::string printable(std::string_view text, std::size_t maxLength) {
    std::string out;
    std::size_t characters = 0;
    std::size_t at = 0;
    while (at < text.size() && characters < maxLength) {
        const auto d = utf8::decode(text, at);
        if (d && d->codePoint >= 0x20 && d->codePoint != 0x7F) {
            out.append(text.substr(at, d->length));
            at += d->length;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(text[at]));
            out += hex;
            ++at;
        }
        ++characters;
    }
    if (at < text.size()) out += "... (" + std::to_string(text.size()) + " bytes)";
    return out;
}

}  // namespace tabulix::framework
