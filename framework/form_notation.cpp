#include "framework/form_notation.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

#include "framework/form_file_error.h"
#include "framework/printable.h"
#include "framework/text_compare.h"
#include "framework/utf8_text.h"

namespace tabulix::framework::form_notation {

namespace {

// Windows-1252 code points of the bytes 0x80 to 0x9F; the others equal their byte.
constexpr std::array<std::uint16_t, 32> kCp1252{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::uint32_t fromCp1252(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kCp1252[b - 0x80] : b; }

bool isIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isIdentChar(char c) { return isIdentStart(c) || (c >= '0' && c <= '9'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// --- Tokens ---------------------------------------------------------------------------------

enum class Tok { End, Identifier, Integer, Float, String, Symbol };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // identifier, string (decoded), or the symbol character
    std::int64_t integer = 0;
    double number = 0;
    int line = 1;
};

std::string describe(const Token& t) {
    switch (t.kind) {
    case Tok::End: return "the end of the file";
    case Tok::Identifier: return "'" + printable(t.text) + "'";
    case Tok::Integer:
    case Tok::Float: return "a number";
    case Tok::String: return "a string";
    case Tok::Symbol: return "'" + printable(t.text) + "'";
    }
    return "?";
}

class Lexer {
public:
    Lexer(std::string_view text, const std::string& file) : s_(text), file_(file) {}

    const Token& Peek() {
        if (!peeked_) {
            next_ = scan();
            peeked_ = true;
        }
        return next_;
    }
    Token Take() {
        Peek();
        peeked_ = false;
        return std::move(next_);
    }
    [[noreturn]] void Fail(int line, const std::string& reason) const { throw FormFileError(file_, line, reason); }

private:
    char at(std::size_t i) const { return i < s_.size() ? s_[i] : '\0'; }

    Token scan() {
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\n') ++line_;
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
            ++pos_;
        }
        Token t;
        t.line = line_;
        if (pos_ >= s_.size()) return t;
        char c = s_[pos_];
        if (isIdentStart(c)) return identifier(t);
        if (c == '\'' || c == '#') return string(t);
        if (isDigit(c) || c == '$' || ((c == '-' || c == '+') && (isDigit(at(pos_ + 1)) || at(pos_ + 1) == '$')))
            return number(t);
        static constexpr std::string_view kSymbols = "=:[](),+<>{}";
        if (kSymbols.find(c) != std::string_view::npos) {
            t.kind = Tok::Symbol;
            t.text = std::string(1, c);
            ++pos_;
            return t;
        }
        auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F) Fail(line_, std::string("unexpected character '") + c + "'");
        Fail(line_, "unexpected character #" + std::to_string(b));
    }

    Token identifier(Token& t) {
        std::size_t start = pos_;
        while (isIdentChar(at(pos_)) || (at(pos_) == '.' && isIdentStart(at(pos_ + 1)))) ++pos_;
        t.kind = Tok::Identifier;
        t.text = std::string(s_.substr(start, pos_ - start));
        return t;
    }

    Token number(Token& t) {
        std::size_t start = pos_;
        bool negative = false;
        if (s_[pos_] == '-' || s_[pos_] == '+') negative = s_[pos_++] == '-';
        if (at(pos_) == '$') {
            std::size_t digits = ++pos_;
            while (isHexDigit(at(pos_))) ++pos_;
            std::uint64_t v = 0;
            auto [end, ec] = std::from_chars(s_.data() + digits, s_.data() + pos_, v, 16);
            if (digits == pos_ || ec != std::errc() || v > static_cast<std::uint64_t>(INT64_MAX))
                Fail(line_, "bad number '" + printable(s_.substr(start, pos_ - start)) + "'");
            t.kind = Tok::Integer;
            t.integer = negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
        } else {
            while (isDigit(at(pos_))) ++pos_;
            bool isFloat = false;
            if (at(pos_) == '.' && isDigit(at(pos_ + 1))) {
                isFloat = true;
                ++pos_;
                while (isDigit(at(pos_))) ++pos_;
            }
            if ((at(pos_) == 'e' || at(pos_) == 'E') &&
                (isDigit(at(pos_ + 1)) || ((at(pos_ + 1) == '-' || at(pos_ + 1) == '+') && isDigit(at(pos_ + 2))))) {
                isFloat = true;
                pos_ += 2;
                while (isDigit(at(pos_))) ++pos_;
            }
            const char* first = s_.data() + start + (s_[start] == '+' ? 1 : 0);
            const char* last = s_.data() + pos_;
            std::from_chars_result r;
            if (isFloat) {
                t.kind = Tok::Float;
                r = std::from_chars(first, last, t.number);
            } else {
                t.kind = Tok::Integer;
                r = std::from_chars(first, last, t.integer);
            }
            if (r.ec != std::errc() || r.ptr != last)
                Fail(line_, "bad number '" + printable(s_.substr(start, pos_ - start)) + "'");
        }
        if (isIdentChar(at(pos_)) || at(pos_) == '.')
            Fail(line_, "bad number '" + printable(s_.substr(start, pos_ - start + 1)) + "'");
        return t;
    }

    Token string(Token& t) {
        t.kind = Tok::String;
        while (true) {
            if (at(pos_) == '\'') {
                ++pos_;
                while (true) {
                    if (pos_ >= s_.size() || s_[pos_] == '\n' || s_[pos_] == '\r') Fail(line_, "unterminated string");
                    char c = s_[pos_];
                    if (c == '\'') {
                        if (at(pos_ + 1) != '\'') {
                            ++pos_;
                            break;
                        }
                        t.text += '\'';
                        pos_ += 2;
                    } else if (static_cast<unsigned char>(c) < 0x80) {
                        t.text += c;
                        ++pos_;
                    } else if (auto d = utf8::decode(s_, pos_)) {
                        t.text.append(s_.substr(pos_, d->length));
                        pos_ += d->length;
                    } else {
                        utf8::append(t.text, fromCp1252(static_cast<unsigned char>(c)));
                        ++pos_;
                    }
                }
            } else if (at(pos_) == '#') {
                std::size_t start = ++pos_;
                int base = 10;
                if (at(pos_) == '$') {
                    base = 16;
                    start = ++pos_;
                    while (isHexDigit(at(pos_))) ++pos_;
                } else {
                    while (isDigit(at(pos_))) ++pos_;
                }
                std::uint32_t cp = 0;
                auto [end, ec] = std::from_chars(s_.data() + start, s_.data() + pos_, cp, base);
                if (start == pos_) Fail(line_, "expected a character code after '#'");
                if (ec != std::errc() || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
                    Fail(line_, "bad character code #" + printable(s_.substr(start, pos_ - start)));
                utf8::append(t.text, cp);
            } else {
                return t;
            }
        }
    }

    std::string_view s_;
    const std::string& file_;
    std::size_t pos_ = 0;
    int line_ = 1;
    Token next_;
    bool peeked_ = false;
};

// --- Parser ---------------------------------------------------------------------------------

bool isWord(const Token& t, std::string_view word) { return t.kind == Tok::Identifier && sameText(t.text, word); }
bool isSymbol(const Token& t, char c) { return t.kind == Tok::Symbol && t.text[0] == c; }

class Parser {
public:
    Parser(std::string_view text, const std::string& file) : lex_(text, file) {}

    ObjectNode Form() {
        ObjectNode root = object(1);
        const Token& rest = lex_.Peek();
        if (rest.kind != Tok::End) lex_.Fail(rest.line, "unexpected " + describe(rest) + " after the end of the form");
        return root;
    }

private:
    ObjectNode object(int depth) {
        Token head = lex_.Take();
        if (!isWord(head, "object")) lex_.Fail(head.line, "expected 'object', found " + describe(head));
        if (depth > kMaxDepth) lex_.Fail(head.line, "objects nested too deeply");
        ObjectNode node;
        node.line = head.line;
        Token first = lex_.Take();
        if (first.kind != Tok::Identifier || !IsIdentifier(first.text))
            lex_.Fail(first.line, "expected an object name or class, found " + describe(first));
        if (isSymbol(lex_.Peek(), ':')) {
            lex_.Take();
            Token cls = lex_.Take();
            if (cls.kind != Tok::Identifier || !IsIdentifier(cls.text))
                lex_.Fail(cls.line, "expected a class name, found " + describe(cls));
            node.name = first.text;
            node.className = cls.text;
        } else {
            node.className = first.text;
        }
        while (true) {
            const Token& t = lex_.Peek();
            if (isWord(t, "end")) {
                lex_.Take();
                return node;
            }
            if (isWord(t, "object")) {
                node.children.push_back(object(depth + 1));
            } else if (t.kind == Tok::Identifier) {
                node.properties.push_back(property());
            } else if (t.kind == Tok::End) {
                std::string what = node.name.empty() ? node.className : "'" + node.name + "'";
                lex_.Fail(t.line, "expected 'end' of object " + what + " (begun at line " + std::to_string(node.line) + ")");
            } else {
                lex_.Fail(t.line, "expected a property, 'object' or 'end', found " + describe(t));
            }
        }
    }

    PropertyNode property() {
        Token name = lex_.Take();
        PropertyNode p;
        p.path = name.text;
        p.line = name.line;
        Token eq = lex_.Take();
        if (!isSymbol(eq, '='))
            lex_.Fail(eq.line, "expected '=' after '" + printable(name.text) + "', found " + describe(eq));
        p.value = value();
        return p;
    }

    std::string continuedString(Token first) {
        std::string text = std::move(first.text);
        while (isSymbol(lex_.Peek(), '+')) {
            lex_.Take();
            Token more = lex_.Take();
            if (more.kind != Tok::String) lex_.Fail(more.line, "expected a string after '+', found " + describe(more));
            text += more.text;
        }
        return text;
    }

    FormValue value() {
        Token t = lex_.Take();
        switch (t.kind) {
        case Tok::String: return FormValue::Str(continuedString(std::move(t)));
        case Tok::Integer: return FormValue::Int(t.integer);
        case Tok::Float: return FormValue::Real(t.number);
        case Tok::Identifier: return FormValue::Ident(t.text);
        case Tok::Symbol:
            if (t.text[0] == '[') return set();
            if (t.text[0] == '(') return list(t.line);
            if (t.text[0] == '{' || t.text[0] == '<')
                lex_.Fail(t.line, "binary data and collections are not supported in form files");
            break;
        case Tok::End: break;
        }
        lex_.Fail(t.line, "expected a value, found " + describe(t));
    }

    FormValue set() {
        FormValue v = FormValue::SetOfNames({});
        if (isSymbol(lex_.Peek(), ']')) {
            lex_.Take();
            return v;
        }
        while (true) {
            Token member = lex_.Take();
            if (member.kind != Tok::Identifier) lex_.Fail(member.line, "expected a set member, found " + describe(member));
            v.items.push_back(member.text);
            Token sep = lex_.Take();
            if (isSymbol(sep, ']')) return v;
            if (!isSymbol(sep, ',')) lex_.Fail(sep.line, "expected ',' or ']' in the set, found " + describe(sep));
        }
    }

    FormValue list(int openLine) {
        FormValue v = FormValue::Lines({});
        while (true) {
            Token t = lex_.Take();
            if (isSymbol(t, ')')) return v;
            if (t.kind == Tok::End) lex_.Fail(t.line, "expected ')' closing the list begun at line " + std::to_string(openLine));
            if (t.kind != Tok::String) lex_.Fail(t.line, "expected a string in the list, found " + describe(t));
            v.items.push_back(continuedString(std::move(t)));
        }
    }

    Lexer lex_;
};

}  // namespace

ObjectNode Parse(std::string_view text, const std::string& fileName) {
    // A byte-order mark some editors put first is not part of the notation.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return Parser(text, fileName).Form();
}

bool IsIdentifier(std::string_view name) {
    if (name.empty() || !isIdentStart(name[0])) return false;
    for (char c : name)
        if (!isIdentChar(c)) return false;
    return true;
}

std::vector<std::string> QuoteString(std::string_view text, std::size_t width) {
    // Units that cannot be split: one quoted character (a quote doubled) or one #code.
    std::vector<std::pair<std::string, bool>> units;  // (spelling, inside quotes)
    for (std::size_t pos = 0; pos < text.size();) {
        auto d = utf8::decode(text, pos);
        if (!d) throw FormWriteError("text is not valid UTF-8 at byte " + std::to_string(pos) + ": '" + printable(text) + "'");
        if (d->codePoint >= 0x20 && d->codePoint < 0x7F)
            units.emplace_back(d->codePoint == '\'' ? "''" : std::string(1, static_cast<char>(d->codePoint)), true);
        else
            units.emplace_back("#" + std::to_string(d->codePoint), false);
        pos += d->length;
    }
    std::vector<std::string> pieces;
    std::string piece;
    bool open = false;  // a quote is open in `piece`
    for (const auto& [spelling, quoted] : units) {
        // Length the piece would have with this unit, closed.
        std::size_t closed = piece.size() + spelling.size() + (quoted && !open ? 1 : 0) + (!quoted && open ? 1 : 0) +
                             (quoted ? 1 : 0);
        if (!piece.empty() && closed > width) {
            if (open) piece += '\'';
            pieces.push_back(std::move(piece));
            piece.clear();
            open = false;
        }
        if (quoted && !open) piece += '\'';
        if (!quoted && open) piece += '\'';
        open = quoted;
        piece += spelling;
    }
    if (open) piece += '\'';
    if (piece.empty()) piece = "''";
    pieces.push_back(std::move(piece));
    return pieces;
}

}  // namespace tabulix::framework::form_notation
