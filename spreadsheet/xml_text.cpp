#include "spreadsheet/xml_text.h"

#include <cstdio>

#include "spreadsheet/utf8.h"

namespace tabulix::spreadsheet {

namespace {

bool xmlForbids(char32_t c) {
    return (c < 0x20 && c != U'\t' && c != U'\n') || c == U'\r' || c == 0xFFFE || c == 0xFFFF;
}

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Whether text[at] begins "_xHHHH_", which readers would decode as an escape.
bool looksEscaped(std::string_view text, std::size_t at) {
    if (text.size() - at < 7 || text[at + 1] != 'x' || text[at + 6] != '_') return false;
    for (std::size_t k = 2; k < 6; ++k)
        if (!isHexDigit(text[at + k])) return false;
    return true;
}

void appendEscape(std::string& out, char32_t c) {
    char code[8];
    std::snprintf(code, sizeof code, "_x%04X_", static_cast<unsigned>(c));
    out += code;
}

}  // namespace

std::string fileText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8::sequenceLength(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        const std::size_t start = i;
        const char32_t c = utf8::next(text, i);
        if (xmlForbids(c) || (c == U'_' && looksEscaped(text, start)))
            appendEscape(out, c);
        else
            out.append(text.substr(start, length));
    }
    return out;
}

void appendXmlText(std::string& out, std::string_view text) {
    for (char c : fileText(text)) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
}

}  // namespace tabulix::spreadsheet
