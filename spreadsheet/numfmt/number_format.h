#pragma once
// Number formats of the embedded spreadsheet: reading a format code (in the notation of the
// caller's locale), keeping it in the file's own notation, and turning values into the text a
// cell shows.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "automation/dispatch.h"

namespace tabulix::spreadsheet {

enum class DateLanguage { English, Spanish };

// How numbers are written for a locale: decimal mark, thousands separator, names of months and days.
struct NumberConventions {
    char decimal = '.';
    char grouping = ',';
    DateLanguage dateNames = DateLanguage::English;
};

// Conventions of a Windows locale identifier. Comma-decimal locales (Spanish of Spain, German,
// French, Italian, ...) get ',' as decimal mark; English, the point-decimal variants (Spanish of
// Mexico, German of Switzerland, ...) and the neutral locale 0 get '.'.
NumberConventions conventionsFor(automation::Lcid lcid);

// True when the locale writes decimals with a comma, so its format codes swap "," and ".".
bool isCommaDecimal(automation::Lcid lcid);

namespace numfmt {
struct CompiledFormat;
}

// A parsed number format. Immutable; copies share the parsed form, so copying is cheap.
class NumberFormat {
public:
    NumberFormat();  // General

    static NumberFormat general();
    // Reads a code written in the notation of lcid: comma-decimal locales read "," as the decimal
    // mark and "." as the thousands separator. The empty code and "General" (any letter case) give
    // General. A malformed code raises automation::AutomationError naming the code and the
    // 1-based character position of the problem.
    static NumberFormat parse(std::string_view code, automation::Lcid lcid);

    // The code in the file's notation ("." decimal, "," grouping), as saved in .xlsx.
    const std::string& fileCode() const;
    bool isGeneral() const;
    // True when numbers show as dates or times (the section for positive numbers has date codes).
    bool isDateTime() const;
    // True for a text-only format such as "@".
    bool isText() const;

    // The text a cell with this number shows.
    std::string display(double value, const NumberConventions& conventions) const;
    // The text a cell with this text value shows (through the text section when there is one).
    std::string displayText(std::string_view text) const;

    // The same texts prepared for measuring the width a column needs: "_x" padding becomes the
    // character x itself (the cell reserves exactly its width), "?" padding becomes a digit, and
    // "*x" fill takes no room.
    std::string displayForFit(double value, const NumberConventions& conventions) const;
    // A key shared by the numbers whose displayed texts differ only in which digits stand at the
    // digit positions (same section, sign and count of digits), so that in a font whose digits are
    // equally wide they take the same room; absent when that cannot be known without rendering
    // (General, dates, fractions, exponents, conditions, optional decimals, values near a power
    // of ten where rounding could add a digit).
    std::optional<std::uint32_t> fitShape(double value) const;
    std::string displayTextForFit(std::string_view text) const;

    friend bool operator==(const NumberFormat& a, const NumberFormat& b) { return a.fileCode() == b.fileCode(); }

private:
    explicit NumberFormat(std::shared_ptr<const numfmt::CompiledFormat> compiled);

    // Shared and immutable: a format is set on many cells and copied freely.
    std::shared_ptr<const numfmt::CompiledFormat> compiled_;
};

}  // namespace tabulix::spreadsheet
