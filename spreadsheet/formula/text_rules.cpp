#include "spreadsheet/formula/text_rules.h"

#include <algorithm>

namespace tabulix::spreadsheet::formula {

namespace {

constexpr unsigned char kLatin1Lead = 0xC3;  // first byte of U+00C0..U+00FF in UTF-8

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Case mapping of one byte, given the byte before it. In UTF-8, U+00C0..U+00DE and U+00E0..U+00FE
// are C3 80..9E and C3 A0..BE, upper and lower case 0x20 apart, except the multiplication and
// division signs (C3 97, C3 B7).
unsigned char upperByte(unsigned char previous, unsigned char byte) {
    if (byte >= 'a' && byte <= 'z') return static_cast<unsigned char>(byte - 0x20);
    if (previous == kLatin1Lead && byte >= 0xA0 && byte <= 0xBE && byte != 0xB7) return static_cast<unsigned char>(byte - 0x20);
    return byte;
}

unsigned char lowerByte(unsigned char previous, unsigned char byte) {
    if (byte >= 'A' && byte <= 'Z') return static_cast<unsigned char>(byte + 0x20);
    if (previous == kLatin1Lead && byte >= 0x80 && byte <= 0x9E && byte != 0x97) return static_cast<unsigned char>(byte + 0x20);
    return byte;
}

template <class Map>
std::string mapBytes(std::string_view text, Map map) {
    std::string result(text.size(), '\0');
    unsigned char previous = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        result[i] = static_cast<char>(map(previous, byte));
        previous = byte;
    }
    return result;
}

// Byte offset of character number `count` (or the end of the text).
std::size_t offsetOfCharacter(std::string_view text, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isContinuation(static_cast<unsigned char>(text[i]))) continue;
        if (seen == count) return i;
        ++seen;
    }
    return text.size();
}

}  // namespace

std::string toUpperCase(std::string_view text) { return mapBytes(text, upperByte); }
std::string toLowerCase(std::string_view text) { return mapBytes(text, lowerByte); }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && compareIgnoringCase(a, b) == 0;
}

int compareIgnoringCase(std::string_view a, std::string_view b) {
    unsigned char previousA = 0, previousB = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const auto byteA = static_cast<unsigned char>(a[i]), byteB = static_cast<unsigned char>(b[i]);
        const unsigned char upperA = upperByte(previousA, byteA), upperB = upperByte(previousB, byteB);
        if (upperA != upperB) return upperA < upperB ? -1 : 1;
        previousA = byteA, previousB = byteB;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::size_t characterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return !isContinuation(static_cast<unsigned char>(c)); }));
}

std::string_view firstCharacters(std::string_view text, std::size_t count) {
    return text.substr(0, offsetOfCharacter(text, count));
}

std::string_view lastCharacters(std::string_view text, std::size_t count) {
    std::size_t total = characterCount(text);
    if (count >= total) return text;
    return text.substr(offsetOfCharacter(text, total - count));
}

std::string trimSpaces(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    bool pendingSpace = false;
    for (char c : text) {
        if (c == ' ') {
            pendingSpace = !result.empty();
            continue;
        }
        if (pendingSpace) result += ' ';
        pendingSpace = false;
        result += c;
    }
    return result;
}

}  // namespace tabulix::spreadsheet::formula
