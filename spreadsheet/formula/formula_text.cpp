// The canonical text of a parsed formula, rebuilt from its postfix tokens.

#include <charconv>
#include <string>
#include <vector>

#include "spreadsheet/formula/formula.h"
#include "spreadsheet/formula/function_table.h"

namespace tabulix::spreadsheet::formula {

namespace {

std::string numberLiteral(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == 'e') c = 'E';
    return text;
}

std::string quoted(const std::string& text, char quote) {
    std::string result(1, quote);
    for (char c : text) {
        result += c;
        if (c == quote) result += quote;
    }
    return result + quote;
}

bool isPlainNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// A sheet name is written bare only when it cannot be read as anything else: plain characters,
// not starting with a digit, and not shaped like a cell reference ("AB12", not "Hoja1") or an R1C1 one.
std::string sheetPrefix(const std::string& name) {
    bool plain = !name.empty() && !(name[0] >= '0' && name[0] <= '9');
    for (char c : name) plain = plain && isPlainNameChar(c);
    if (plain) {
        std::size_t letters = 0;
        while (letters < name.size() && ((name[letters] | 0x20) >= 'a' && (name[letters] | 0x20) <= 'z')) ++letters;
        const bool digitsFollow = letters < name.size() && name[letters] >= '0' && name[letters] <= '9';
        bool allDigitsAfter = digitsFollow;
        for (std::size_t i = letters; i < name.size(); ++i) allDigitsAfter = allDigitsAfter && name[i] >= '0' && name[i] <= '9';
        const char first = static_cast<char>(name[0] | 0x20);
        if ((letters > 0 && letters <= 3 && allDigitsAfter) || ((first == 'r' || first == 'c') && name.size() > 1 && name[1] >= '0' && name[1] <= '9'))
            plain = false;
        const std::string upper = [&] {
            std::string u = name;
            for (char& c : u) c = static_cast<char>((c >= 'a' && c <= 'z') ? c - 0x20 : c);
            return u;
        }();
        if (upper == "TRUE" || upper == "FALSE") plain = false;
    }
    return (plain ? name : quoted(name, '\'')) + "!";
}

std::string corner(int row, int column, bool rowAbsolute, bool columnAbsolute, bool withRow, bool withColumn) {
    std::string text;
    if (withColumn) text += (columnAbsolute ? "$" : "") + columnName(column);
    if (withRow) text += (rowAbsolute ? "$" : "") + std::to_string(row);
    return text;
}

std::string referenceText(const Formula& formula, const Reference& ref) {
    std::string text = ref.sheetName == Reference::kOwnSheet ? "" : sheetPrefix(formula.text(ref.sheetName));
    const bool withRow = ref.shape != Reference::Shape::Columns;
    const bool withColumn = ref.shape != Reference::Shape::Rows;
    const CellRect& r = ref.rect;
    text += corner(r.firstRow, r.firstColumn, ref.firstRowAbsolute, ref.firstColumnAbsolute, withRow, withColumn);
    if (ref.shape != Reference::Shape::Cell)
        text += ":" + corner(r.lastRow, r.lastColumn, ref.lastRowAbsolute, ref.lastColumnAbsolute, withRow, withColumn);
    return text;
}

std::string_view binaryOperator(TokenKind kind) {
    switch (kind) {
    case TokenKind::Add: return "+";
    case TokenKind::Subtract: return "-";
    case TokenKind::Multiply: return "*";
    case TokenKind::Divide: return "/";
    case TokenKind::Power: return "^";
    case TokenKind::Concatenate: return "&";
    case TokenKind::Equal: return "=";
    case TokenKind::NotEqual: return "<>";
    case TokenKind::Less: return "<";
    case TokenKind::LessEqual: return "<=";
    case TokenKind::Greater: return ">";
    case TokenKind::GreaterEqual: return ">=";
    default: return {};
    }
}

}  // namespace

std::string columnName(int column) {
    std::string letters;
    for (; column > 0; column = (column - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    return letters;
}

std::string Formula::canonicalText() const {
    std::vector<std::string> stack;
    for (const Token& token : tokens_) {
        switch (token.kind) {
        case TokenKind::Number: stack.push_back(numberLiteral(numbers_[token.operand])); break;
        case TokenKind::Text: stack.push_back(quoted(texts_[token.operand], '"')); break;
        case TokenKind::Boolean: stack.push_back(token.operand ? "TRUE" : "FALSE"); break;
        case TokenKind::Error: stack.emplace_back(errorText(static_cast<ErrorCode>(token.operand))); break;
        case TokenKind::Reference: stack.push_back(referenceText(*this, references_[token.operand])); break;
        case TokenKind::Missing: stack.emplace_back(); break;
        case TokenKind::Parentheses: stack.back() = "(" + stack.back() + ")"; break;
        case TokenKind::UnaryPlus: stack.back().insert(0, "+"); break;
        case TokenKind::Negate: stack.back().insert(0, "-"); break;
        case TokenKind::Percent: stack.back() += "%"; break;
        case TokenKind::Call: {
            std::string text(functionInfo(token.operand).name);
            text += "(";
            const std::size_t first = stack.size() - token.argumentCount;
            for (std::size_t i = first; i < stack.size(); ++i) text += (i > first ? "," : "") + stack[i];
            stack.resize(first);
            stack.push_back(text + ")");
            break;
        }
        default: {
            std::string right = std::move(stack.back());
            stack.pop_back();
            stack.back() += binaryOperator(token.kind);
            stack.back() += right;
        }
        }
    }
    return stack.empty() ? std::string() : stack.back();
}

}  // namespace tabulix::spreadsheet::formula
