#include "spreadsheet/formula/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tabulix::spreadsheet::formula {

namespace {

// The 15 significant digits of a finite, non-zero number, without trailing zeros, and the
// decimal exponent of the first digit: 1234.5 -> ("12345", 3).
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal toDecimal15(double magnitude) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    auto ePos = text.find('e');
    Decimal decimal;
    for (char c : text.substr(0, ePos))
        if (c != '.') decimal.digits += c;
    while (decimal.digits.size() > 1 && decimal.digits.back() == '0') decimal.digits.pop_back();
    std::from_chars(text.data() + ePos + 1 + (text[ePos + 1] == '+'), text.data() + text.size(), decimal.exponent);
    return decimal;
}

}  // namespace

double roundTo15Digits(double value) {
    if (value == 0.0 || !std::isfinite(value)) return value;
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    double rounded = value;
    std::from_chars(buffer, result.ptr, rounded);
    return rounded;
}

std::optional<double> roundDecimal(double value, int decimals, Rounding rounding) {
    if (value == 0.0 || !std::isfinite(value)) return value;
    const Decimal d = toDecimal15(std::fabs(value));
    const int digitCount = static_cast<int>(d.digits.size());
    const long kept = long{d.exponent} + 1 + decimals;  // significant digits that stay
    if (kept >= 15) return value;
    if (kept >= digitCount) return roundTo15Digits(value);
    std::string digits = kept > 0 ? d.digits.substr(0, static_cast<std::size_t>(kept)) : std::string();
    bool up = false;
    switch (rounding) {
    case Rounding::HalfAwayFromZero: up = kept >= 0 && d.digits[static_cast<std::size_t>(kept)] >= '5'; break;
    case Rounding::AwayFromZero: up = true; break;  // the dropped digits are not all zero here
    case Rounding::TowardZero: break;
    }
    if (up) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    if (digits.empty()) return 0.0;
    // digits x 10^-decimals, read back by the correctly rounding parser.
    const std::string literal = digits + "e" + std::to_string(-long{decimals});
    double result = 0.0;
    auto parsed = std::from_chars(literal.data(), literal.data() + literal.size(), result);
    if (parsed.ec != std::errc() || !std::isfinite(result)) return std::nullopt;
    return value < 0 ? -result : result;
}

std::string numberToText(double value) {
    if (std::isnan(value)) return "#NUM!";
    if (value == 0.0) return "0";
    std::string text = value < 0 ? "-" : "";
    if (std::isinf(value)) return text + "1E+308";
    Decimal d = toDecimal15(std::fabs(value));
    const int digitCount = static_cast<int>(d.digits.size());
    const int decimals = digitCount - 1 - d.exponent;
    if (d.exponent < 15 && d.exponent > -10 && decimals <= 15) {
        if (d.exponent < 0) {
            text += "0.";
            text.append(static_cast<std::size_t>(-d.exponent - 1), '0');
            text += d.digits;
        } else if (decimals <= 0) {
            text += d.digits;
            text.append(static_cast<std::size_t>(-decimals), '0');
        } else {
            text += d.digits.substr(0, static_cast<std::size_t>(d.exponent + 1));
            text += '.';
            text += d.digits.substr(static_cast<std::size_t>(d.exponent + 1));
        }
        return text;
    }
    text += d.digits[0];
    if (digitCount > 1) {
        text += '.';
        text += d.digits.substr(1);
    }
    text += d.exponent < 0 ? "E-" : "E+";
    int magnitude = std::abs(d.exponent);
    if (magnitude < 10) text += '0';
    text += std::to_string(magnitude);
    return text;
}

std::optional<double> textToNumber(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    bool percent = false;
    if (!text.empty() && text.back() == '%') {
        percent = true;
        text.remove_suffix(1);
        while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars accepts neither a sign here nor "inf"/"nan" in this format; check the shape
    // ourselves so that "1e" or "." are refused.
    std::size_t i = 0, mantissaDigits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++mantissaDigits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++exponentDigits;
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    double number = 0.0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (result.ec != std::errc() || !std::isfinite(number)) return std::nullopt;
    if (negative) number = -number;
    if (percent) number /= 100.0;
    return number;
}

}  // namespace tabulix::spreadsheet::formula
