#include "xml_text.h"

#include <array>
#include <cstdint>

#include "spreadsheet/cells/utf8.h"

namespace tabulix::spreadsheet {

namespace {

// What a byte needs: nothing (most of a sheet's text), a look at the sequence it starts, or
// a replacement. Saving millions of cells goes through here, so plain runs are copied whole.
enum : std::uint8_t { kPlain, kMarkup, kForbidden, kUnderscore, kMultiByte };

constexpr std::array<std::uint8_t, 256> byteClasses() {
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 0x20; ++c) table[c] = kForbidden;
    table['\t'] = table['\n'] = kPlain;
    table['&'] = table['<'] = table['>'] = table['"'] = kMarkup;
    table['_'] = kUnderscore;
    for (int c = 0x80; c < 0x100; ++c) table[c] = kMultiByte;
    return table;
}
constexpr std::array<std::uint8_t, 256> kByteClass = byteClasses();

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Whether text[at] begins "_xHHHH_", which readers would decode as an escape.
bool looksEscaped(std::string_view text, std::size_t at) {
    if (text.size() - at < 7 || text[at + 1] != 'x' || text[at + 6] != '_') return false;
    for (std::size_t k = 2; k < 6; ++k)
        if (!isHexDigit(text[at + k])) return false;
    return true;
}

void appendEscape(std::string& out, unsigned code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const char escape[] = {'_', 'x', kDigits[(code >> 12) & 15], kDigits[(code >> 8) & 15],
                           kDigits[(code >> 4) & 15], kDigits[code & 15], '_'};
    out.append(escape, sizeof escape);
}

template <bool kEscapeMarkup>
void appendFileText(std::string& out, std::string_view text) {
    const std::size_t n = text.size();
    std::size_t plainFrom = 0;
    std::size_t i = 0;
    auto flush = [&] { out.append(text.data() + plainFrom, i - plainFrom); };
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (kByteClass[c]) {
            case kPlain: ++i; continue;
            case kMultiByte: {
                const std::size_t length = utf8::sequenceLength(text, i);
                // U+FFFE and U+FFFF are well-formed UTF-8 but not characters XML allows.
                const bool nonCharacter = length == 3 && c == 0xEF && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
                                          static_cast<unsigned char>(text[i + 2]) >= 0xBE;
                if (length != 0 && !nonCharacter) {
                    i += length;
                    continue;
                }
                flush();
                if (nonCharacter)
                    appendEscape(out, static_cast<unsigned char>(text[i + 2]) == 0xBE ? 0xFFFE : 0xFFFF);
                else
                    out += "\xEF\xBF\xBD";
                i += length == 0 ? 1 : length;
                plainFrom = i;
                continue;
            }
            case kUnderscore:
                if (!looksEscaped(text, i)) {
                    ++i;
                    continue;
                }
                flush();
                appendEscape(out, '_');
                ++i;
                plainFrom = i;
                continue;
            case kForbidden:
                flush();
                appendEscape(out, c);
                ++i;
                plainFrom = i;
                continue;
            case kMarkup:
                if constexpr (!kEscapeMarkup) {
                    ++i;
                    continue;
                }
                flush();
                out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : "&quot;";
                ++i;
                plainFrom = i;
                continue;
        }
    }
    flush();
}

}  // namespace

std::string fileText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendFileText<false>(out, text);
    return out;
}

void appendXmlText(std::string& out, std::string_view text) { appendFileText<true>(out, text); }

}  // namespace tabulix::spreadsheet
