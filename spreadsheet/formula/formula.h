#pragma once
// A parsed formula: the text checked once and kept as a flat sequence of tokens in postfix
// order, with its numbers, texts and cell references in side tables. Parsing is the only way to
// make one, so a Formula is always valid; a text that does not parse is refused with an
// automation::AutomationError naming the problem and its 1-based character position.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/formula/cell_rect.h"

namespace tabulix::spreadsheet::formula {

// Formulas longer than this are refused, as spreadsheets do.
inline constexpr std::size_t kMaxFormulaLength = 8192;
// Parentheses and function calls nested deeper than this are refused.
inline constexpr int kMaxNesting = 64;

enum class TokenKind : std::uint8_t {
    Number,       // operand: index into numbers
    Text,         // operand: index into texts
    Boolean,      // operand: 0 or 1
    Error,        // operand: the ErrorCode
    Reference,    // operand: index into references
    Missing,      // an empty function argument
    Parentheses,  // kept for the canonical text; no effect on the value
    UnaryPlus,
    Negate,
    Percent,
    Add,
    Subtract,
    Multiply,
    Divide,
    Power,
    Concatenate,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Call,  // operand: function id; argumentCount arguments
};

struct Token {
    TokenKind kind;
    // Set on tokens inside an argument that the spreadsheet evaluates as an array (SUMPRODUCT):
    // operators and functions there work cell by cell over ranges.
    bool arrayContext = false;
    std::uint16_t argumentCount = 0;
    std::uint32_t operand = 0;
};

// A cell, a rectangle, whole columns ("C:C") or whole rows ("3:5"), maybe on another sheet.
struct Reference {
    enum class Shape : std::uint8_t { Cell, Area, Columns, Rows };
    static constexpr std::uint32_t kOwnSheet = UINT32_MAX;

    CellRect rect;
    std::uint32_t sheetName = kOwnSheet;  // index into the formula's texts
    Shape shape = Shape::Cell;
    // "$" markers of the first and the last corner.
    bool firstRowAbsolute = false, firstColumnAbsolute = false;
    bool lastRowAbsolute = false, lastColumnAbsolute = false;
};

class Formula {
public:
    // Parses `text`, which must begin with "=". Function names, references and Boolean and error
    // literals are read in any letter case.
    static Formula parse(std::string_view text);

    // The text as the spreadsheet stores it: without the leading "=", function names and
    // references upper-case, numbers in their shortest exact form, blanks between tokens dropped,
    // parentheses kept. Parsing "=" + canonicalText() gives an equal formula.
    std::string canonicalText() const;

    // The formula as it reads when copied `rows` down and `columns` right (negative: up, left):
    // relative references move, "$" ones stay; a reference pushed off the sheet becomes #REF!.
    // Putting one formula into a block of cells gives each cell the copy moved to it.
    Formula translated(int rows, int columns) const;

    std::span<const Token> tokens() const { return tokens_; }
    std::span<const Reference> references() const { return references_; }
    double number(std::uint32_t index) const { return numbers_[index]; }
    const std::string& text(std::uint32_t index) const { return texts_[index]; }
    // True when the value may change without any cell changing (TODAY).
    bool isVolatile() const { return volatile_; }

private:
    friend class FormulaParser;

    std::vector<Token> tokens_;
    std::vector<double> numbers_;
    std::vector<std::string> texts_;
    std::vector<Reference> references_;
    bool volatile_ = false;
};

// Column letters of `column` (1 -> "A", 16384 -> "XFD").
std::string columnName(int column);

}  // namespace tabulix::spreadsheet::formula
