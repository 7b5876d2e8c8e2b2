#pragma once
// Internal: the parsed form of a number format, shared by its parser and its renderer.

#ifndef TABULIX_ROOM_NUMFMT
#error "an internal header of spreadsheet/numfmt/: outside it, include its public headers"
#endif

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/numfmt/number_format.h"

namespace tabulix::spreadsheet::numfmt {

enum class TokenKind {
    Literal,        // text shown as is
    Digit,          // '0', '#' or '?' placeholder
    DecimalMark,    // the decimal point of a number section
    Percent,        // '%': shown, and the value is multiplied by 100
    Exponent,       // "E+" / "E-" of scientific notation
    GeneralNumber,  // "General" inside a section
    TextValue,      // '@'
    Pad,            // "_x": room of the width of x
    Fill,           // "*x": x repeated to fill the cell
    Year,
    Month,
    Day,
    Hour,
    Minute,
    Second,
    AmPm,           // "AM/PM" or "A/P"
    ElapsedHours,   // "[h]"
    ElapsedMinutes, // "[m]"
    ElapsedSeconds, // "[s]"
    SubSecond,      // ".0", ".00", ".000" after seconds
};

// Where a digit placeholder of a number section stands.
// (Numerator and Denominator: of a fraction such as "# ?/?", whose Integer digits are its whole part.)
enum class DigitZone { Integer, Fraction, Exponent, Numerator, Denominator };

struct Token {
    TokenKind kind = TokenKind::Literal;
    std::string text;        // Literal text, Pad/Fill character, AM/PM spelling ("AM/PM", "a/p", ...)
    char placeholder = '0';  // Digit: '0', '#' or '?'; Exponent: '+' or '-'
    DigitZone zone = DigitZone::Integer;
    int width = 0;           // count of letters of a date code ("dddd" is 4), digits of SubSecond
};

enum class Comparison { Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual };

struct Condition {
    Comparison op = Comparison::Equal;
    double value = 0.0;

    bool holds(double x) const;
    // Whether only negative numbers meet it ("[<0]", "[<=-1]").
    bool onlyNegatives() const;
    // Whether every number from zero up meets it ("[>=0]", "[>-1]").
    bool allNonNegatives() const;
};

enum class SectionKind { Number, DateTime, Text };

struct Section {
    SectionKind kind = SectionKind::Number;
    std::vector<Token> tokens;
    std::optional<Condition> condition;
    std::optional<DateLanguage> dateNames;  // of a locale tag such as "[$-C0A]"

    // Number sections.
    bool grouping = false;      // thousands separators in the integer part
    int scaleThousands = 0;     // trailing commas: divide by 1000 each
    int percentCount = 0;       // each '%' multiplies by 100
    bool scientific = false;
    int integerDigits = 0;      // placeholders before the decimal mark
    int fractionDigits = 0;     // placeholders after the decimal mark
    bool hasDecimalMark = false;
    // Fraction sections ("# ?/?", "?/8", "# ??/100"): the tokens from the numerator's first to the
    // denominator's last, and a fixed denominator (0 when the denominator has placeholders).
    bool fraction = false;
    std::size_t fractionBegin = 0, fractionEnd = 0;
    int numeratorDigits = 0;
    bool numeratorShowsZero = false;  // a '0' placeholder in the numerator
    int denominatorDigits = 0;
    long long fixedDenominator = 0;

    // Date/time sections.
    int subSecondDigits = 0;
    bool twelveHour = false;    // an AM/PM marker makes hours 1 to 12
};

struct CompiledFormat {
    std::string fileCode;
    bool general = false;
    std::vector<Section> sections;   // every section as written
    std::vector<int> numberSections; // indexes of the sections that show numbers
    int textSection = -1;            // index of the section that shows text, or -1
};

// Parses a code into a CompiledFormat; throws automation::AutomationError when it is malformed.
CompiledFormat compileFormat(std::string_view code, bool commaDecimal);

}  // namespace tabulix::spreadsheet::numfmt
