// Reads a number format code into sections of tokens and derives the code in the file's notation.
//
// The code is read in the caller's notation: with a comma-decimal locale "," is the decimal mark
// and "." the thousands separator. Each character keeps the role it has in the caller's notation
// and is written back with the file notation's character for that role. Literal points and commas
// (in date sections, such as "dd.mm.yyyy", in text sections, inside quotes or after a backslash)
// are not decimal marks or separators in either notation, so they are written back unchanged.

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "automation/automation_error.h"
#include "framework/printable.h"
#include "spreadsheet/cells/utf8.h"
#include "number_format_model.h"

namespace tabulix::spreadsheet::numfmt {
namespace {

constexpr std::size_t kMaxCodeLength = 255;  // characters, as the spreadsheet allows
constexpr std::size_t kMaxSections = 4;

// A lexed item whose meaning may depend on the kind of its section.
enum class Raw { Ready, Point, Comma, Digit, Percent, Exponent };

struct Item {
    Raw raw = Raw::Ready;
    Token token;           // for Ready; for Digit/Exponent the placeholder or sign
    std::size_t offset = 0;
    std::string source;    // the characters as written, for turning the item into a literal
};

struct RawSection {
    std::vector<Item> items;
    std::optional<Condition> condition;
    std::optional<DateLanguage> dateNames;
};

bool isDateKind(TokenKind k) {
    switch (k) {
    case TokenKind::Year: case TokenKind::Month: case TokenKind::Day: case TokenKind::Hour:
    case TokenKind::Minute: case TokenKind::Second: case TokenKind::AmPm:
    case TokenKind::ElapsedHours: case TokenKind::ElapsedMinutes: case TokenKind::ElapsedSeconds:
        return true;
    default:
        return false;
    }
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
    if (text.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (lower(text[at + i]) != lower(word[i])) return false;
    return true;
}

Token literal(std::string text) {
    Token t;
    t.kind = TokenKind::Literal;
    t.text = std::move(text);
    return t;
}

class Parser {
public:
    Parser(std::string_view code, bool commaDecimal) : code_(code), commaDecimal_(commaDecimal), file_(code) {}

    CompiledFormat run() {
        validateCharacters();
        CompiledFormat result;
        if (code_.empty() || (code_.size() == 7 && startsWithNoCase(code_, 0, "General"))) {
            result.general = true;
            result.fileCode = "General";
            return result;
        }
        std::vector<RawSection> raws = lex();
        for (std::size_t i = 0; i < raws.size(); ++i) {
            Section s = finish(raws[i], i, raws.size());
            if (s.kind == SectionKind::Text)
                result.textSection = static_cast<int>(i);
            else
                result.numberSections.push_back(static_cast<int>(i));
            result.sections.push_back(std::move(s));
        }
        result.fileCode = std::move(file_);
        return result;
    }

private:
    [[noreturn]] void fail(const std::string& problem, std::size_t offset) const {
        throw automation::AutomationError("Number format \"" + framework::printable(code_) + "\" is not valid: " + problem +
                                          " at position " + std::to_string(utf8::characterPosition(code_, offset)));
    }

    void validateCharacters() const {
        std::size_t count = 0;
        for (std::size_t i = 0; i < code_.size();) {
            const std::size_t len = utf8::sequenceLength(code_, i);
            if (len == 0) fail("invalid UTF-8 byte", i);
            if (static_cast<unsigned char>(code_[i]) < 0x20 || code_[i] == 0x7F) fail("control character", i);
            if (++count > kMaxCodeLength)
                fail("code longer than " + std::to_string(kMaxCodeLength) + " characters", i);
            i += len;
        }
    }

    // Role of '.' and ',' in the caller's notation.
    Raw roleOf(char c) const {
        const bool point = (c == '.');
        return (point != commaDecimal_) ? Raw::Point : Raw::Comma;
    }

    std::vector<RawSection> lex() {
        std::vector<RawSection> sections(1);
        std::size_t i = 0;
        while (i < code_.size()) {
            RawSection& section = sections.back();
            const char c = code_[i];
            const std::size_t start = i;
            Item item;
            item.offset = start;
            switch (c) {
            case ';':
                if (sections.size() == kMaxSections) fail("more than four sections", i);
                sections.emplace_back();
                ++i;
                continue;
            case '"': {
                const std::size_t close = code_.find('"', i + 1);
                if (close == std::string_view::npos) fail("unterminated quoted text", i);
                item.token = literal(std::string(code_.substr(i + 1, close - i - 1)));
                i = close + 1;
                break;
            }
            case '\\': case '_': case '*': {
                if (i + 1 >= code_.size()) {
                    fail(c == '\\' ? "backslash without a character after it"
                                   : std::string("'") + c + "' without a character after it", i);
                }
                const std::size_t len = utf8::sequenceLength(code_, i + 1);
                const std::string next(code_.substr(i + 1, len));
                item.token = literal(next);
                if (c == '_') item.token.kind = TokenKind::Pad;
                if (c == '*') item.token.kind = TokenKind::Fill;
                i += 1 + len;
                break;
            }
            case '[': {
                const std::size_t close = code_.find_first_of("[]", i + 1);
                if (close == std::string_view::npos || code_[close] != ']') fail("unterminated bracket", i);
                const bool produced = bracket(code_.substr(i + 1, close - i - 1), i, section, item.token);
                i = close + 1;
                if (!produced) continue;
                break;
            }
            case '0': case '#': case '?':
                item.raw = Raw::Digit;
                item.token.placeholder = c;
                ++i;
                break;
            case '.': case ',':
                item.raw = roleOf(c);
                ++i;
                break;
            case '%':
                item.raw = Raw::Percent;
                ++i;
                break;
            case '@':
                item.token.kind = TokenKind::TextValue;
                ++i;
                break;
            default:
                lexWord(i, item);
                break;
            }
            item.source = std::string(code_.substr(start, i - start));
            section.items.push_back(std::move(item));
        }
        return sections;
    }

    // Letters and everything else that is not a one-character code.
    void lexWord(std::size_t& i, Item& item) {
        const char c = code_[i];
        const char l = lower(c);
        if (l == 'e' && i + 1 < code_.size() && (code_[i + 1] == '+' || code_[i + 1] == '-')) {
            item.raw = Raw::Exponent;
            item.token.placeholder = code_[i + 1];
            item.token.text = std::string(1, c);
            i += 2;
            return;
        }
        if (startsWithNoCase(code_, i, "general")) {
            item.token.kind = TokenKind::GeneralNumber;
            i += 7;
            return;
        }
        if (startsWithNoCase(code_, i, "am/pm") || startsWithNoCase(code_, i, "a/p")) {
            const std::size_t len = (code_[i + 1] == '/') ? 3 : 5;
            item.token.kind = TokenKind::AmPm;
            item.token.text = std::string(code_.substr(i, len));
            i += len;
            return;
        }
        TokenKind kind;
        switch (l) {
        case 'y': kind = TokenKind::Year; break;
        case 'm': kind = TokenKind::Month; break;
        case 'd': kind = TokenKind::Day; break;
        case 'h': kind = TokenKind::Hour; break;
        case 's': kind = TokenKind::Second; break;
        default: {
            const std::size_t len = utf8::sequenceLength(code_, i);
            item.token = literal(std::string(code_.substr(i, len)));
            i += len;
            return;
        }
        }
        std::size_t end = i;
        while (end < code_.size() && lower(code_[end]) == l) ++end;
        item.token.kind = kind;
        item.token.width = static_cast<int>(std::min<std::size_t>(end - i, 16));
        i = end;
    }

    // Reads the text between '[' and ']'. Returns true when it produced a token.
    bool bracket(std::string_view content, std::size_t at, RawSection& section, Token& out) {
        std::string lc;
        for (char ch : content) lc += lower(ch);
        static constexpr std::string_view kColours[] = {"black", "blue", "cyan", "green", "magenta", "red", "white", "yellow"};
        if (std::find(std::begin(kColours), std::end(kColours), lc) != std::end(kColours)) return false;
        if (lc.starts_with("color") && lc.size() > 5) {
            int n = 0;
            const auto [end, ec] = std::from_chars(lc.data() + 5, lc.data() + lc.size(), n);
            if (ec == std::errc() && end == lc.data() + lc.size() && n >= 1 && n <= 56) return false;
            fail("colour number must be 1 to 56 in [" + framework::printable(content) + "]", at);
        }
        if (!content.empty() && (content[0] == '<' || content[0] == '>' || content[0] == '=')) {
            if (section.condition) fail("second condition in one section", at);
            section.condition = condition(content, at);
            return false;
        }
        if (!content.empty() && content[0] == '$') {
            if (const auto language = tagLanguage(content.substr(1))) section.dateNames = language;
            out = literal(currencySymbol(content.substr(1)));
            return !out.text.empty();
        }
        if (!lc.empty() && (lc[0] == 'h' || lc[0] == 'm' || lc[0] == 's') &&
            std::all_of(lc.begin(), lc.end(), [&](char ch) { return ch == lc[0]; })) {
            out.kind = lc[0] == 'h' ? TokenKind::ElapsedHours
                     : lc[0] == 'm' ? TokenKind::ElapsedMinutes
                                    : TokenKind::ElapsedSeconds;
            out.width = static_cast<int>(std::min<std::size_t>(lc.size(), 16));
            return true;
        }
        fail("unknown code in brackets [" + framework::printable(content) + "]", at);
    }

    // The language whose day and month names the locale of a "[$€-C0A]" tag gives, if it is one
    // the renderer knows.
    static std::optional<DateLanguage> tagLanguage(std::string_view tag) {
        const std::size_t dash = tag.rfind('-');
        if (dash == std::string_view::npos) return std::nullopt;
        const std::string_view hex = tag.substr(dash + 1);
        std::uint32_t lcid = 0;
        const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), lcid, 16);
        if (hex.empty() || ec != std::errc() || end != hex.data() + hex.size()) return std::nullopt;
        switch (lcid & 0x3FF) {
        case 0x09: return DateLanguage::English;
        case 0x0A: return DateLanguage::Spanish;
        default: return std::nullopt;
        }
    }

    // "[$€-C0A]": the symbol, then an optional hexadecimal locale after the last '-'.
    static std::string currencySymbol(std::string_view tag) {
        const std::size_t dash = tag.rfind('-');
        if (dash != std::string_view::npos) {
            const std::string_view hex = tag.substr(dash + 1);
            const bool isHex = !hex.empty() && hex.size() <= 8 &&
                               std::all_of(hex.begin(), hex.end(), [](char ch) { return std::isxdigit(static_cast<unsigned char>(ch)) != 0; });
            if (isHex) return std::string(tag.substr(0, dash));
        }
        return std::string(tag);
    }

    Condition condition(std::string_view content, std::size_t at) {
        Condition cond;
        std::size_t n = 1;
        if (content.starts_with("<=")) { cond.op = Comparison::LessEqual; n = 2; }
        else if (content.starts_with(">=")) { cond.op = Comparison::GreaterEqual; n = 2; }
        else if (content.starts_with("<>")) { cond.op = Comparison::NotEqual; n = 2; }
        else if (content[0] == '<') cond.op = Comparison::Less;
        else if (content[0] == '>') cond.op = Comparison::Greater;
        else cond.op = Comparison::Equal;
        const std::size_t first = content.find_first_not_of(' ', n);
        const std::size_t last = content.find_last_not_of(' ');
        const std::size_t start = first == std::string_view::npos ? content.size() : first;
        std::string number(first == std::string_view::npos ? std::string_view() : content.substr(start, last + 1 - start));
        const char decimalMark = commaDecimal_ ? ',' : '.';
        for (std::size_t k = 0; k < number.size(); ++k) {
            if (number[k] == decimalMark) {
                number[k] = '.';
                file_[at + 1 + start + k] = '.';
            } else if (number[k] == '.' || number[k] == ',') {
                fail("unexpected '" + std::string(1, number[k]) + "' in a condition", at + 1 + start + k);
            }
        }
        const char* begin = number.data();
        const char* end = number.data() + number.size();
        if (begin != end && *begin == '+') ++begin;
        const auto [stop, ec] = std::from_chars(begin, end, cond.value);
        if (number.empty() || ec != std::errc() || stop != end || !std::isfinite(cond.value))
            fail("condition [" + framework::printable(content) + "] needs a number", at);
        return cond;
    }

    // Sets the file's character for a point or comma item.
    void writeBack(const Item& item, char c) { file_[item.offset] = c; }

    Section finish(RawSection& raw, std::size_t index, std::size_t count) {
        Section s;
        s.condition = raw.condition;
        s.dateNames = raw.dateNames;
        const bool hasText = std::any_of(raw.items.begin(), raw.items.end(),
                                         [](const Item& it) { return it.raw == Raw::Ready && it.token.kind == TokenKind::TextValue; });
        const bool hasDate = std::any_of(raw.items.begin(), raw.items.end(),
                                         [](const Item& it) { return it.raw == Raw::Ready && isDateKind(it.token.kind); });
        if (hasText && index + 1 != count) {
            const auto at = std::find_if(raw.items.begin(), raw.items.end(),
                                         [](const Item& it) { return it.raw == Raw::Ready && it.token.kind == TokenKind::TextValue; });
            fail("the text placeholder @ may only stand in the last section", at->offset);
        }
        if (hasText || index == 3) {
            s.kind = SectionKind::Text;
            finishText(raw, s);
        } else if (hasDate) {
            s.kind = SectionKind::DateTime;
            finishDate(raw, s);
        } else {
            s.kind = SectionKind::Number;
            finishNumber(raw, s);
        }
        return s;
    }

    void finishText(RawSection& raw, Section& s) {
        for (Item& it : raw.items) {
            const TokenKind k = it.token.kind;
            const bool keeps = it.raw == Raw::Ready &&
                               (k == TokenKind::TextValue || k == TokenKind::Literal || k == TokenKind::Pad || k == TokenKind::Fill);
            s.tokens.push_back(keeps ? std::move(it.token) : literal(it.source));
        }
    }

    void finishDate(RawSection& raw, Section& s) {
        auto& items = raw.items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            Item& it = items[i];
            const bool afterSeconds = !s.tokens.empty() && (s.tokens.back().kind == TokenKind::Second ||
                                                            s.tokens.back().kind == TokenKind::ElapsedSeconds);
            if (it.raw == Raw::Point && afterSeconds && i + 1 < items.size() && items[i + 1].raw == Raw::Digit &&
                items[i + 1].token.placeholder == '0') {
                std::size_t end = i + 1;
                while (end < items.size() && items[end].raw == Raw::Digit && items[end].token.placeholder == '0') ++end;
                Token t;
                t.kind = TokenKind::SubSecond;
                t.width = static_cast<int>(std::min<std::size_t>(end - i - 1, 3));
                s.subSecondDigits = std::max(s.subSecondDigits, t.width);
                s.tokens.push_back(std::move(t));
                writeBack(it, '.');
                for (std::size_t k = i + 1 + 3; k < end; ++k) s.tokens.push_back(literal("0"));
                i = end - 1;
                continue;
            }
            if (it.raw == Raw::Ready) {
                if (it.token.kind == TokenKind::AmPm) s.twelveHour = true;
                if (it.token.kind == TokenKind::TextValue || it.token.kind == TokenKind::GeneralNumber)
                    s.tokens.push_back(literal(it.source));
                else
                    s.tokens.push_back(std::move(it.token));
            } else {
                s.tokens.push_back(literal(it.source));
            }
        }
        resolveMinutes(s.tokens);
    }

    // "m" and "mm" are minutes right after hours or right before seconds, months otherwise.
    static void resolveMinutes(std::vector<Token>& tokens) {
        auto dateIndex = [&](std::size_t from, int step) -> const Token* {
            for (std::ptrdiff_t k = static_cast<std::ptrdiff_t>(from) + step; k >= 0 && k < static_cast<std::ptrdiff_t>(tokens.size()); k += step)
                if (isDateKind(tokens[k].kind)) return &tokens[k];
            return nullptr;
        };
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i].kind != TokenKind::Month || tokens[i].width > 2) continue;
            const Token* before = dateIndex(i, -1);
            const Token* after = dateIndex(i, +1);
            const bool minutes = (before && (before->kind == TokenKind::Hour || before->kind == TokenKind::ElapsedHours)) ||
                                 (after && (after->kind == TokenKind::Second || after->kind == TokenKind::ElapsedSeconds));
            if (minutes) tokens[i].kind = TokenKind::Minute;
        }
    }

    // A fraction: a run of digit placeholders, '/', and either placeholders or a number; digit
    // placeholders before the numerator, set apart from it, are the whole part.
    bool finishFraction(RawSection& raw, Section& s) {
        auto& items = raw.items;
        const auto isSlash = [](const Item& it) { return it.raw == Raw::Ready && it.source == "/"; };
        const auto slash = std::find_if(items.begin(), items.end(), isSlash);
        if (slash == items.end() || slash == items.begin()) return false;
        if (std::any_of(items.begin(), items.end(), [](const Item& it) { return it.raw == Raw::Point || it.raw == Raw::Exponent; }))
            return false;
        const std::size_t at = static_cast<std::size_t>(slash - items.begin());
        std::size_t numeratorFirst = at;
        while (numeratorFirst > 0 && items[numeratorFirst - 1].raw == Raw::Digit) --numeratorFirst;
        if (numeratorFirst == at || at + 1 >= items.size()) return false;
        const auto isFixedDigit = [](const Item& it) {
            return (it.raw == Raw::Ready && it.token.kind == TokenKind::Literal && it.source.size() == 1 &&
                    it.source[0] >= '0' && it.source[0] <= '9') ||
                   (it.raw == Raw::Digit && it.token.placeholder == '0');
        };
        std::size_t denominatorEnd = at + 1;
        const bool fixed = items[at + 1].raw == Raw::Ready && isFixedDigit(items[at + 1]);
        if (fixed) {
            while (denominatorEnd < items.size() && isFixedDigit(items[denominatorEnd]) && s.fixedDenominator < 1000000000)
                s.fixedDenominator = s.fixedDenominator * 10 + (items[denominatorEnd++].source[0] - '0');
        } else {
            while (denominatorEnd < items.size() && items[denominatorEnd].raw == Raw::Digit) ++denominatorEnd;
            if (denominatorEnd == at + 1) return false;
        }
        s.fraction = true;
        for (std::size_t i = 0; i < items.size(); ++i) {
            Item& it = items[i];
            if (i == numeratorFirst) s.fractionBegin = s.tokens.size();
            if (i == at + 1 && fixed) {
                s.tokens.push_back(literal(std::to_string(s.fixedDenominator)));
                i = denominatorEnd - 1;
            } else if (it.raw == Raw::Digit) {
                Token t;
                t.kind = TokenKind::Digit;
                t.placeholder = it.token.placeholder;
                t.zone = i < numeratorFirst ? DigitZone::Integer : i < at ? DigitZone::Numerator : DigitZone::Denominator;
                if (t.zone == DigitZone::Integer) ++s.integerDigits;
                if (t.zone == DigitZone::Numerator) ++s.numeratorDigits;
                if (t.zone == DigitZone::Numerator && t.placeholder == '0') s.numeratorShowsZero = true;
                if (t.zone == DigitZone::Denominator) ++s.denominatorDigits;
                s.tokens.push_back(std::move(t));
            } else if (it.raw == Raw::Ready) {
                s.tokens.push_back(std::move(it.token));
            } else {
                if (it.raw == Raw::Comma) writeBack(it, ',');
                if (it.raw == Raw::Percent) ++s.percentCount;
                Token t = literal(it.raw == Raw::Comma ? "," : it.source);
                if (it.raw == Raw::Percent) t.kind = TokenKind::Percent;
                s.tokens.push_back(std::move(t));
            }
            if (i + 1 == denominatorEnd) s.fractionEnd = s.tokens.size();
        }
        s.denominatorDigits = std::min(s.denominatorDigits, 9);
        s.percentCount = std::min(s.percentCount, 100);
        return true;
    }

    void finishNumber(RawSection& raw, Section& s) {
        auto& items = raw.items;
        if (finishFraction(raw, s)) return;
        const auto isExp = [](const Item& it) { return it.raw == Raw::Exponent; };
        const std::size_t expAt = std::find_if(items.begin(), items.end(), isExp) - items.begin();
        std::size_t pointAt = items.size();
        for (std::size_t i = 0; i < expAt; ++i)
            if (items[i].raw == Raw::Point) { pointAt = i; break; }

        auto zoneOf = [&](std::size_t i) {
            return i > expAt ? DigitZone::Exponent : i > pointAt ? DigitZone::Fraction : DigitZone::Integer;
        };
        // Nearest item other than a comma on each side, for telling grouping from scaling commas.
        auto neighbour = [&](std::size_t i, int step) -> const Item* {
            for (std::ptrdiff_t k = static_cast<std::ptrdiff_t>(i) + step; k >= 0 && k < static_cast<std::ptrdiff_t>(items.size()); k += step)
                if (items[k].raw != Raw::Comma) return &items[k];
            return nullptr;
        };

        for (std::size_t i = 0; i < items.size(); ++i) {
            Item& it = items[i];
            switch (it.raw) {
            case Raw::Digit: {
                Token t;
                t.kind = TokenKind::Digit;
                t.placeholder = it.token.placeholder;
                t.zone = zoneOf(i);
                if (t.zone == DigitZone::Integer) ++s.integerDigits;
                if (t.zone == DigitZone::Fraction) ++s.fractionDigits;
                s.tokens.push_back(std::move(t));
                break;
            }
            case Raw::Point: {
                writeBack(it, '.');
                if (i == pointAt) {
                    Token t;
                    t.kind = TokenKind::DecimalMark;
                    s.hasDecimalMark = true;
                    s.tokens.push_back(std::move(t));
                } else {
                    s.tokens.push_back(literal("."));
                }
                break;
            }
            case Raw::Comma: {
                writeBack(it, ',');
                const Item* before = neighbour(i, -1);
                const Item* after = neighbour(i, +1);
                const bool digitBefore = before && before->raw == Raw::Digit && i < expAt;
                const bool digitAfter = after && after->raw == Raw::Digit && zoneOf(after - items.data()) == zoneOf(i);
                if (digitBefore && digitAfter && zoneOf(i) == DigitZone::Integer)
                    s.grouping = true;
                else if (digitBefore && !digitAfter)
                    ++s.scaleThousands;
                else
                    s.tokens.push_back(literal(","));
                break;
            }
            case Raw::Percent: {
                Token t;
                t.kind = TokenKind::Percent;
                ++s.percentCount;
                s.tokens.push_back(std::move(t));
                break;
            }
            case Raw::Exponent:
                if (i == expAt) {
                    Token t;
                    t.kind = TokenKind::Exponent;
                    t.placeholder = it.token.placeholder;
                    t.text = it.token.text;
                    s.scientific = true;
                    s.tokens.push_back(std::move(t));
                } else {
                    s.tokens.push_back(literal(it.source));
                }
                break;
            case Raw::Ready:
                s.tokens.push_back(std::move(it.token));
                break;
            }
        }
        // Thousands scaling and percent are applied as powers of ten; keep them in range.
        s.scaleThousands = std::min(s.scaleThousands, 100);
        s.percentCount = std::min(s.percentCount, 100);
    }

    std::string_view code_;
    bool commaDecimal_;
    std::string file_;
};

}  // namespace

bool Condition::holds(double x) const {
    switch (op) {
    case Comparison::Less: return x < value;
    case Comparison::LessEqual: return x <= value;
    case Comparison::Greater: return x > value;
    case Comparison::GreaterEqual: return x >= value;
    case Comparison::Equal: return x == value;
    case Comparison::NotEqual: return x != value;
    }
    return false;
}

bool Condition::onlyNegatives() const {
    return (op == Comparison::Less && value <= 0.0) || (op == Comparison::LessEqual && value < 0.0);
}

bool Condition::allNonNegatives() const {
    return (op == Comparison::GreaterEqual && value <= 0.0) || (op == Comparison::Greater && value < 0.0);
}

CompiledFormat compileFormat(std::string_view code, bool commaDecimal) {
    return Parser(code, commaDecimal).run();
}

}  // namespace tabulix::spreadsheet::numfmt
