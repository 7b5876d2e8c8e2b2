// Fractions: "# ?/?" shows 1234.5 as "1234 1/2", "?/8" shows 0.25 as "2/8", "# ??/100" shows
// 0.5 as " 50/100". Without a whole part the fraction is improper ("?/?" shows 1.5 as "3/2").

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>

#include "decimal_digits.h"
#include "number_format_render.h"

namespace tabulix::spreadsheet::numfmt {
namespace {

// Beyond this a double has no fraction part left to show, and the digits come from DecimalDigits.
constexpr double kWholeOnly = 1e15;

// The fraction closest to x (0 <= x < 1) with a denominator up to limit: the continued fraction's
// last convergent within the limit, or the best semiconvergent after it.
std::pair<long long, long long> closestFraction(double x, long long limit) {
    constexpr long long kScale = 1LL << 53;
    long long n = std::llround(x * static_cast<double>(kScale));
    long long d = kScale;
    long long p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    while (d != 0) {
        const long long a = n / d;
        const long long q2 = q0 + a * q1;
        if (q2 > limit) break;
        const long long p2 = p0 + a * p1;
        p0 = p1, q0 = q1, p1 = p2, q1 = q2;
        const long long r = n - a * d;
        n = d;
        d = r;
    }
    if (q1 == 0) return {0, 1};
    if (d == 0) return {p1, q1};
    const long long k = (limit - q0) / q1;
    const long long p = p0 + k * p1, q = q0 + k * q1;
    const long double toConvergent = std::fabs(static_cast<long double>(p1) / q1 - x);
    const long double toSemi = std::fabs(static_cast<long double>(p) / q - x);
    return toConvergent <= toSemi ? std::pair{p1, q1} : std::pair{p, q};
}

std::string wholeDigits(double value) {
    const std::string digits = DecimalDigits::fromDouble(value).integerDigits();
    return digits.empty() ? "0" : digits;
}

struct Parts {
    std::string whole;        // "" when the whole part shows nothing
    std::string numerator;    // "" when the fraction is left blank
    std::string denominator;
};

Parts split(const Section& s, double x) {
    const bool hasWhole = s.integerDigits > 0;
    long long limit = 1;
    for (int k = 0; k < s.denominatorDigits; ++k) limit *= 10;
    limit = s.fixedDenominator > 0 ? s.fixedDenominator : limit - 1;
    Parts parts;
    if (x >= kWholeOnly) {
        if (hasWhole)
            return s.numeratorShowsZero ? Parts{wholeDigits(std::floor(x)), "0", std::to_string(s.fixedDenominator > 0 ? limit : 1)}
                                        : Parts{wholeDigits(std::floor(x)), "", ""};
        const double scaled = s.fixedDenominator > 0 ? x * static_cast<double>(limit) : x;
        return {"", wholeDigits(std::isfinite(scaled) ? std::round(scaled) : x), std::to_string(s.fixedDenominator > 0 ? limit : 1)};
    }
    long long whole = static_cast<long long>(std::floor(x));
    long long numerator, denominator;
    if (s.fixedDenominator > 0) {
        denominator = limit;
        numerator = std::llround((x - static_cast<double>(whole)) * static_cast<double>(denominator));
    } else {
        std::tie(numerator, denominator) = closestFraction(x - static_cast<double>(whole), limit);
    }
    if (numerator == denominator) {  // rounded up to the next whole number
        ++whole;
        numerator = 0;
    }
    if (!hasWhole) {
        // An improper fraction of a large number with a large fixed denominator passes what whole
        // numbers hold: its numerator comes from the product, as above the whole-number limit.
        if (whole > (std::numeric_limits<long long>::max() - numerator) / denominator)
            return {"", wholeDigits(std::round(x * static_cast<double>(denominator))), std::to_string(denominator)};
        numerator += whole * denominator;
        if (numerator == 0 && s.fixedDenominator == 0) denominator = 1;
        return {"", std::to_string(numerator), std::to_string(denominator)};
    }
    // No fraction left: blanks in its place, unless '0' placeholders ask for its digits ("1 0/1").
    if (numerator == 0 && !s.numeratorShowsZero)
        return {std::to_string(whole), "", ""};
    if (numerator == 0 && s.fixedDenominator == 0) denominator = 1;
    return {whole == 0 && numerator != 0 ? "" : std::to_string(whole), std::to_string(numerator),
            std::to_string(denominator)};
}

// The characters a blank fraction leaves in place of the token: spaces as wide as what it covers.
std::size_t blankWidth(const Token& t) {
    return t.kind == TokenKind::Digit ? (t.placeholder == '#' ? 0 : 1) : t.text.size();
}

}  // namespace

std::string fractionSectionText(const Section& s, double magnitude, const NumberConventions& conventions,
                                Purpose purpose) {
    const Parts parts = split(s, magnitude * std::pow(100.0, s.percentCount));
    const bool fit = purpose == Purpose::Fit;
    std::string out;
    int integerIndex = 0, numeratorIndex = 0, denominatorIndex = 0;
    bool wholeHidden = s.integerDigits > 0 && parts.whole.empty() && !fit;
    for (std::size_t i = 0; i < s.fractionBegin; ++i)
        if (s.tokens[i].kind == TokenKind::Digit && s.tokens[i].placeholder != '#') wholeHidden = false;
    for (std::size_t i = 0; i < s.tokens.size(); ++i) {
        const Token& t = s.tokens[i];
        const bool inFraction = i >= s.fractionBegin && i < s.fractionEnd;
        if (inFraction && parts.numerator.empty()) {
            out.append(blankWidth(t), fit ? '0' : ' ');
            continue;
        }
        if (wholeHidden && i < s.fractionBegin && integerIndex == s.integerDigits && t.kind != TokenKind::Digit)
            continue;  // what stands between a whole part that shows nothing and the fraction
        if (t.kind == TokenKind::Digit) {
            if (t.zone == DigitZone::Integer) {
                placeDigit(out, parts.whole, s.integerDigits, integerIndex++, t.placeholder, s.grouping,
                           conventions.grouping, purpose);
            } else if (t.zone == DigitZone::Numerator) {
                placeDigit(out, parts.numerator, s.numeratorDigits, numeratorIndex++, t.placeholder, false, ' ', purpose);
            } else {
                // The denominator is written from the left; its placeholders pad on the right.
                const int j = denominatorIndex++;
                if (j < static_cast<int>(parts.denominator.size()))
                    out += parts.denominator[static_cast<std::size_t>(j)];
                else if (t.placeholder == '0')
                    out += '0';
                else if (t.placeholder == '?')
                    out += fit ? '0' : ' ';
                if (j + 1 == s.denominatorDigits && j + 1 < static_cast<int>(parts.denominator.size()))
                    out += parts.denominator.substr(static_cast<std::size_t>(j + 1));
            }
            continue;
        }
        if (inFraction && s.fixedDenominator > 0 && t.kind == TokenKind::Literal && i + 1 == s.fractionEnd) {
            out += parts.denominator;
            continue;
        }
        switch (t.kind) {
        case TokenKind::Percent: out += '%'; break;
        case TokenKind::GeneralNumber: out += generalText(magnitude, conventions); break;
        case TokenKind::Pad: out += fit ? t.text : std::string(" "); break;
        case TokenKind::Fill: break;
        default: out += t.text; break;
        }
    }
    return out;
}

}  // namespace tabulix::spreadsheet::numfmt
