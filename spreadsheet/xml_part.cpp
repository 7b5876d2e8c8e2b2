#include "spreadsheet/xml_part.h"

#include <array>

#include "spreadsheet/utf8.h"

namespace tabulix::spreadsheet {

namespace {

enum : std::uint8_t { kPlain, kMarkup, kControl, kUnderscore, kMultiByte };

constexpr std::array<std::uint8_t, 256> classes() {
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 0x20; ++c) table[c] = kControl;
    table['&'] = table['<'] = table['>'] = table['"'] = kMarkup;
    table['_'] = kUnderscore;
    for (int c = 0x80; c < 0x100; ++c) table[c] = kMultiByte;
    return table;
}
constexpr std::array<std::uint8_t, 256> kClass = classes();

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

void appendHexEscape(std::string& out, unsigned code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += "_x00";
    out += kDigits[(code >> 4) & 15];
    out += kDigits[code & 15];
    out += '_';
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

}  // namespace

void appendXmlText(std::string& out, std::string_view text, bool attribute) {
    std::size_t plainFrom = 0;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::uint8_t kind = kClass[c];
        if (kind == kPlain) {
            ++i;
            continue;
        }
        if (kind == kMultiByte) {
            const std::size_t length = utf8::sequenceLength(text, i);
            // U+FFFE and U+FFFF are not characters XML allows.
            const bool nonCharacter = length == 3 && c == 0xEF && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
                                      static_cast<unsigned char>(text[i + 2]) >= 0xBE;
            if (length != 0 && !nonCharacter) {
                i += length;
                continue;
            }
            out.append(text, plainFrom, i - plainFrom);
            out += kReplacement;
            i += length == 0 ? 1 : length;
            plainFrom = i;
            continue;
        }
        if (kind == kUnderscore) {
            // Only "_x" + four hex digits + "_" would be read as an escape.
            const bool looksEscaped = i + 6 < n && text[i + 1] == 'x' && isHex(text[i + 2]) && isHex(text[i + 3]) &&
                                      isHex(text[i + 4]) && isHex(text[i + 5]) && text[i + 6] == '_';
            if (!looksEscaped) {
                ++i;
                continue;
            }
            out.append(text, plainFrom, i - plainFrom);
            out += "_x005F";
            plainFrom = i;  // the original underscore follows
            ++i;
            continue;
        }
        out.append(text, plainFrom, i - plainFrom);
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"':
                if (attribute)
                    out += "&quot;";
                else
                    out += '"';
                break;
            case '\r': out += "&#13;"; break;
            case '\t':
                if (attribute)
                    out += "&#9;";
                else
                    out += '\t';
                break;
            case '\n':
                if (attribute)
                    out += "&#10;";
                else
                    out += '\n';
                break;
            default: appendHexEscape(out, c); break;
        }
        ++i;
        plainFrom = i;
    }
    out.append(text, plainFrom, n - plainFrom);
}

}  // namespace tabulix::spreadsheet
