// Recursive-descent parser from formula text to the postfix token sequence of Formula.
// Precedence, loosest first: comparisons; &; + -; * /; ^ (left-associative); unary + -;
// postfix %. Unary minus binds tighter than ^, so -2^2 is 4, as in spreadsheets.

#include <charconv>
#include <cmath>
#include <string>

#include "automation/automation_error.h"
#include "spreadsheet/formula/formula.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/text_rules.h"

namespace tabulix::spreadsheet::formula {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isWordChar(char c) {
    return isLetter(c) || isDigit(c) || c == '_' || c == '.' || c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

// Column number of 1 to 3 letters, 0 when beyond XFD.
int columnNumber(std::string_view letters) {
    if (letters.empty() || letters.size() > 3) return 0;
    int column = 0;
    for (char c : letters) column = column * 26 + ((c | 0x20) - 'a' + 1);
    return column <= kMaxColumns ? column : 0;
}

// Row number of a digit string, 0 when out of range.
int rowNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 7) return 0;
    int row = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), row);
    return row >= 1 && row <= kMaxRows ? row : 0;
}

// One corner of a reference as written: "$B$12", "C", "$7". Parts not present stay empty.
struct Corner {
    bool columnAbsolute = false, rowAbsolute = false;
    std::string_view letters, digits;
};

// Splits a word of the shape [$]letters[$]digits, [$]letters or [$]digits; false for anything else.
bool splitCorner(std::string_view word, Corner& corner) {
    std::size_t i = 0;
    if (i < word.size() && word[i] == '$') corner.columnAbsolute = true, ++i;
    std::size_t start = i;
    while (i < word.size() && isLetter(word[i])) ++i;
    corner.letters = word.substr(start, i - start);
    if (i < word.size() && word[i] == '$') {
        if (corner.letters.empty()) {
            return false;  // "$$1"
        }
        corner.rowAbsolute = true, ++i;
    }
    start = i;
    while (i < word.size() && isDigit(word[i])) ++i;
    corner.digits = word.substr(start, i - start);
    if (i != word.size() || (corner.letters.empty() && corner.digits.empty())) return false;
    if (corner.rowAbsolute && corner.digits.empty()) return false;  // "A$"
    if (corner.letters.empty()) {  // a row: the leading "$" belonged to it
        corner.rowAbsolute = corner.columnAbsolute;
        corner.columnAbsolute = false;
    }
    return true;
}

}  // namespace

class FormulaParser {
public:
    explicit FormulaParser(std::string_view text) : text_(text) {}

    Formula run() {
        if (text_.size() > kMaxFormulaLength)
            refuse(kMaxFormulaLength, "the formula is longer than " + std::to_string(kMaxFormulaLength) + " characters");
        if (text_.empty() || text_[0] != '=') refuse(0, "a formula must begin with \"=\"");
        pos_ = 1;
        skipBlanks();
        if (atEnd()) refuse(pos_, "the formula is empty");
        parseComparison();
        skipBlanks();
        if (!atEnd()) refuse(pos_, "unexpected " + quotedCharacterAt(pos_));
        return std::move(formula_);
    }

private:
    [[noreturn]] void refuse(std::size_t bytePosition, const std::string& problem) const {
        std::size_t position = characterCount(text_.substr(0, bytePosition)) + 1;
        throw automation::AutomationError("Formula \"" + std::string(text_) + "\" refused at position " +
                                          std::to_string(position) + ": " + problem);
    }

    std::string quotedCharacterAt(std::size_t at) const {
        std::size_t end = at + 1;
        while (end < text_.size() && (static_cast<unsigned char>(text_[end]) & 0xC0) == 0x80) ++end;
        return "\"" + std::string(text_.substr(at, end - at)) + "\"";
    }

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    char peekAt(std::size_t offset) const { return pos_ + offset < text_.size() ? text_[pos_ + offset] : '\0'; }
    void skipBlanks() {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) ++pos_;
    }

    void emit(TokenKind kind, std::uint32_t operand = 0, std::uint16_t argumentCount = 0) {
        formula_.tokens_.push_back(Token{kind, arrayDepth_ > 0, argumentCount, operand});
    }

    void enterNesting(std::size_t at) {
        if (++nesting_ > kMaxNesting)
            refuse(at, "more than " + std::to_string(kMaxNesting) + " levels of parentheses and functions");
    }

    void parseComparison() {
        parseConcatenation();
        for (;;) {
            skipBlanks();
            TokenKind kind;
            std::size_t length = 1;
            if (peek() == '=') {
                kind = TokenKind::Equal;
            } else if (peek() == '<' && peekAt(1) == '>') {
                kind = TokenKind::NotEqual, length = 2;
            } else if (peek() == '<' && peekAt(1) == '=') {
                kind = TokenKind::LessEqual, length = 2;
            } else if (peek() == '>' && peekAt(1) == '=') {
                kind = TokenKind::GreaterEqual, length = 2;
            } else if (peek() == '<') {
                kind = TokenKind::Less;
            } else if (peek() == '>') {
                kind = TokenKind::Greater;
            } else {
                return;
            }
            pos_ += length;
            parseConcatenation();
            emit(kind);
        }
    }

    void parseConcatenation() {
        parseAdditive();
        for (;;) {
            skipBlanks();
            if (peek() != '&') return;
            ++pos_;
            parseAdditive();
            emit(TokenKind::Concatenate);
        }
    }

    void parseAdditive() {
        parseMultiplicative();
        for (;;) {
            skipBlanks();
            if (peek() != '+' && peek() != '-') return;
            TokenKind kind = peek() == '+' ? TokenKind::Add : TokenKind::Subtract;
            ++pos_;
            parseMultiplicative();
            emit(kind);
        }
    }

    void parseMultiplicative() {
        parsePower();
        for (;;) {
            skipBlanks();
            if (peek() != '*' && peek() != '/') return;
            TokenKind kind = peek() == '*' ? TokenKind::Multiply : TokenKind::Divide;
            ++pos_;
            parsePower();
            emit(kind);
        }
    }

    void parsePower() {
        parseUnary();
        for (;;) {
            skipBlanks();
            if (peek() != '^') return;
            ++pos_;
            parseUnary();
            emit(TokenKind::Power);
        }
    }

    // Signs are collected in a loop rather than by recursion so that "=------1" cannot exhaust
    // the stack; the sign nearest the operand applies first.
    void parseUnary() {
        std::string signs;
        for (;;) {
            skipBlanks();
            if (peek() != '+' && peek() != '-') break;
            signs += peek();
            ++pos_;
        }
        parsePrimary();
        for (;;) {
            skipBlanks();
            if (peek() != '%') break;
            ++pos_;
            emit(TokenKind::Percent);
        }
        for (auto it = signs.rbegin(); it != signs.rend(); ++it)
            emit(*it == '-' ? TokenKind::Negate : TokenKind::UnaryPlus);
    }

    void parsePrimary() {
        skipBlanks();
        if (atEnd()) refuse(pos_, "expected a value");
        const char c = peek();
        if (c == '(') {
            enterNesting(pos_);
            ++pos_;
            parseComparison();
            skipBlanks();
            if (peek() != ')') refuse(pos_, atEnd() ? "expected \")\"" : "expected \")\" instead of " + quotedCharacterAt(pos_));
            ++pos_;
            --nesting_;
            emit(TokenKind::Parentheses);
        } else if (c == '"') {
            parseText();
        } else if (c == '#') {
            parseErrorLiteral();
        } else if (isDigit(c) || (c == '.' && isDigit(peekAt(1)))) {
            parseNumberOrRows();
        } else if (c == '\'') {
            parseQuotedSheetReference();
        } else if (isWordChar(c) && c != '.') {
            parseWord();
        } else {
            refuse(pos_, "unexpected " + quotedCharacterAt(pos_));
        }
    }

    void parseText() {
        const std::size_t start = pos_++;
        std::string value;
        for (;;) {
            if (atEnd()) refuse(start, "the text is not closed with a double quote");
            if (peek() == '"') {
                if (peekAt(1) != '"') break;
                ++pos_;
            }
            value += text_[pos_++];
        }
        ++pos_;
        formula_.texts_.push_back(std::move(value));
        emit(TokenKind::Text, static_cast<std::uint32_t>(formula_.texts_.size() - 1));
    }

    void parseErrorLiteral() {
        for (ErrorCode code : {ErrorCode::Div0, ErrorCode::Value, ErrorCode::Null, ErrorCode::Name, ErrorCode::Ref,
                               ErrorCode::Num, ErrorCode::NA}) {
            std::string_view name = errorText(code);
            if (equalsIgnoringCase(text_.substr(pos_, name.size()), name)) {
                pos_ += name.size();
                emit(TokenKind::Error, static_cast<std::uint32_t>(code));
                return;
            }
        }
        refuse(pos_, "unknown error value");
    }

    void parseNumberOrRows() {
        const std::size_t start = pos_;
        while (isDigit(peek())) ++pos_;
        if (peek() == ':' && pos_ > start) {
            pos_ = start;
            parseWord();  // "3:5", whole rows
            return;
        }
        if (peek() == '.') {
            ++pos_;
            while (isDigit(peek())) ++pos_;
        }
        if (peek() == 'e' || peek() == 'E') {
            std::size_t exponent = pos_ + 1;
            if (exponent < text_.size() && (text_[exponent] == '+' || text_[exponent] == '-')) ++exponent;
            if (exponent >= text_.size() || !isDigit(text_[exponent])) refuse(pos_, "the exponent of the number has no digits");
            pos_ = exponent;
            while (isDigit(peek())) ++pos_;
        }
        double value = 0.0;
        std::string_view literal = text_.substr(start, pos_ - start);
        auto result = std::from_chars(literal.data(), literal.data() + literal.size(), value);
        if (result.ec != std::errc() || !std::isfinite(value)) refuse(start, "the number " + std::string(literal) + " is out of range");
        formula_.numbers_.push_back(value);
        emit(TokenKind::Number, static_cast<std::uint32_t>(formula_.numbers_.size() - 1));
    }

    std::string_view readWord() {
        const std::size_t start = pos_;
        while (!atEnd() && isWordChar(peek())) ++pos_;
        return text_.substr(start, pos_ - start);
    }

    void parseQuotedSheetReference() {
        const std::size_t start = pos_++;
        std::string name;
        for (;;) {
            if (atEnd()) refuse(start, "the sheet name is not closed with a quote");
            if (peek() == '\'') {
                if (peekAt(1) != '\'') break;
                ++pos_;
            }
            name += text_[pos_++];
        }
        ++pos_;
        if (name.empty()) refuse(start, "empty sheet name");
        if (peek() != '!') refuse(pos_, "expected \"!\" after the sheet name");
        ++pos_;
        parseReferenceOnSheet(std::move(name));
    }

    void parseReferenceOnSheet(std::string sheetName) {
        formula_.texts_.push_back(std::move(sheetName));
        const auto sheet = static_cast<std::uint32_t>(formula_.texts_.size() - 1);
        const std::size_t start = pos_;
        std::string_view word = readWord();
        if (!parseReference(word, start, sheet)) refuse(start, "expected a cell reference after \"!\"");
    }

    // A word: a function call, a reference (maybe the start of a range), TRUE/FALSE, or a sheet
    // name before "!".
    void parseWord() {
        const std::size_t start = pos_;
        std::string_view word = readWord();
        if (peek() == '!') {
            if (word.find('$') != std::string_view::npos) refuse(start, "invalid sheet name " + std::string(word));
            ++pos_;
            parseReferenceOnSheet(std::string(word));
            return;
        }
        const std::size_t afterWord = pos_;
        skipBlanks();
        if (peek() == '(') {
            parseCall(word, start);
            return;
        }
        pos_ = afterWord;
        if (parseReference(word, start, Reference::kOwnSheet)) return;
        if (equalsIgnoringCase(word, "TRUE") || equalsIgnoringCase(word, "FALSE")) {
            emit(TokenKind::Boolean, equalsIgnoringCase(word, "TRUE") ? 1 : 0);
            return;
        }
        Corner corner;
        if (splitCorner(word, corner) && !corner.letters.empty() && !corner.digits.empty())
            refuse(start, std::string(word) + " is not a valid cell reference");
        refuse(start, "unknown name " + std::string(word));
    }

    // Reads a reference starting with `word` (already consumed), with an optional ":" second
    // corner. False when `word` is no reference at all; refuses a malformed one.
    bool parseReference(std::string_view word, std::size_t start, std::uint32_t sheet) {
        Corner first;
        if (!splitCorner(word, first)) return false;
        const bool isCell = !first.letters.empty() && !first.digits.empty();
        if (isCell && (columnNumber(first.letters) == 0 || rowNumber(first.digits) == 0)) return false;
        if (peek() != ':') {
            if (!isCell) return false;
            pushReference(first, first, Reference::Shape::Cell, sheet);
            return true;
        }
        const bool isColumn = first.digits.empty() && columnNumber(first.letters) != 0;
        const bool isRow = first.letters.empty() && rowNumber(first.digits) != 0;
        if (!isCell && !isColumn && !isRow) return false;
        ++pos_;
        const std::size_t secondStart = pos_;
        std::string_view secondWord = readWord();
        Corner second;
        const bool ok = splitCorner(secondWord, second) &&
                        (isCell ? (columnNumber(second.letters) != 0 && rowNumber(second.digits) != 0)
                         : isColumn ? (second.digits.empty() && columnNumber(second.letters) != 0)
                                    : (second.letters.empty() && rowNumber(second.digits) != 0));
        if (!ok) {
            refuse(secondStart, secondWord.empty() ? "expected the end of the range after \":\""
                                                   : std::string(secondWord) + " is not a valid end of the range " +
                                                         std::string(text_.substr(start, pos_ - start)));
        }
        pushReference(first, second,
                      isCell ? Reference::Shape::Area : isColumn ? Reference::Shape::Columns : Reference::Shape::Rows,
                      sheet);
        return true;
    }

    void pushReference(const Corner& a, const Corner& b, Reference::Shape shape, std::uint32_t sheet) {
        Reference ref;
        ref.shape = shape;
        ref.sheetName = sheet;
        int firstColumn = a.letters.empty() ? 1 : columnNumber(a.letters);
        int lastColumn = b.letters.empty() ? kMaxColumns : columnNumber(b.letters);
        int firstRow = a.digits.empty() ? 1 : rowNumber(a.digits);
        int lastRow = b.digits.empty() ? kMaxRows : rowNumber(b.digits);
        ref.firstColumnAbsolute = a.columnAbsolute, ref.lastColumnAbsolute = b.columnAbsolute;
        ref.firstRowAbsolute = a.rowAbsolute, ref.lastRowAbsolute = b.rowAbsolute;
        // "B5:A1" means A1:B5; the "$" markers travel with their coordinates.
        if (shape != Reference::Shape::Rows && firstColumn > lastColumn) {
            std::swap(firstColumn, lastColumn);
            std::swap(ref.firstColumnAbsolute, ref.lastColumnAbsolute);
        }
        if (shape != Reference::Shape::Columns && firstRow > lastRow) {
            std::swap(firstRow, lastRow);
            std::swap(ref.firstRowAbsolute, ref.lastRowAbsolute);
        }
        if (shape == Reference::Shape::Rows) firstColumn = 1, lastColumn = kMaxColumns;
        if (shape == Reference::Shape::Columns) firstRow = 1, lastRow = kMaxRows;
        ref.rect = CellRect{firstRow, firstColumn, lastRow, lastColumn};
        formula_.references_.push_back(ref);
        emit(TokenKind::Reference, static_cast<std::uint32_t>(formula_.references_.size() - 1));
    }

    void parseCall(std::string_view name, std::size_t nameStart) {
        auto id = findFunction(name);
        if (!id) refuse(nameStart, "unknown function " + toUpperCase(name));
        const FunctionInfo& info = functionInfo(*id);
        enterNesting(nameStart);
        ++pos_;  // "("
        if (info.arrayArguments) ++arrayDepth_;
        int count = 0;
        skipBlanks();
        if (atEnd()) refuse(pos_, "expected an argument or \")\"");
        if (peek() == ')') {
            ++pos_;
        } else {
            for (;;) {
                skipBlanks();
                if (atEnd()) refuse(pos_, "expected an argument or \")\"");
                if (peek() == ',' || peek() == ')')
                    emit(TokenKind::Missing);
                else
                    parseComparison();
                ++count;
                skipBlanks();
                if (atEnd()) refuse(pos_, "expected \",\" or \")\"");
                if (peek() == ')') {
                    ++pos_;
                    break;
                }
                if (peek() != ',') refuse(pos_, "expected \",\" or \")\" instead of " + quotedCharacterAt(pos_));
                ++pos_;
            }
        }
        if (info.arrayArguments) --arrayDepth_;
        --nesting_;
        checkArgumentCount(info, count, nameStart);
        if (info.isVolatile) formula_.volatile_ = true;
        emit(TokenKind::Call, *id, static_cast<std::uint16_t>(count));
    }

    void checkArgumentCount(const FunctionInfo& info, int count, std::size_t nameStart) const {
        auto plural = [](int n) { return std::to_string(n) + (n == 1 ? " argument" : " arguments"); };
        const std::string name(info.name);
        if (info.minArguments == info.maxArguments && count != info.minArguments)
            refuse(nameStart, name + " takes " + plural(info.minArguments) + ", not " + std::to_string(count));
        if (count < info.minArguments) refuse(nameStart, name + " needs at least " + plural(info.minArguments));
        if (count > info.maxArguments) refuse(nameStart, name + " takes at most " + plural(info.maxArguments));
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int nesting_ = 0;
    int arrayDepth_ = 0;
    Formula formula_;
};

Formula Formula::parse(std::string_view text) { return FormulaParser(text).run(); }

}  // namespace tabulix::spreadsheet::formula
