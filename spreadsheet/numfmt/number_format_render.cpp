#include "number_format_render.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cmath>
#include <cstdlib>

#include "date_serial.h"
#include "decimal_digits.h"

namespace tabulix::spreadsheet::numfmt {
namespace {

constexpr int kGeneralWidth = 11;  // characters General fills in a column of standard width

std::string plainText(const DecimalDigits& d, char decimal) {
    std::string out = d.integerDigits();
    if (out.empty()) out.push_back('0');
    const int decimals = d.decimalsUsed();
    if (decimals > 0) {
        out += decimal;
        out += d.fractionDigits(decimals);
    }
    return out;
}

std::string scientificText(DecimalDigits d, int significant, char decimal) {
    d.roundToSignificant(significant);
    const int exponent = d.exponent();
    d.shift(-exponent);
    std::string out = plainText(d, decimal);
    out += exponent < 0 ? "E-" : "E+";
    const std::string digits = std::to_string(std::abs(exponent));
    if (digits.size() < 2) out += '0';
    out += digits;
    return out;
}

int floorDiv(int a, int b) { return a / b - ((a % b != 0 && ((a < 0) != (b < 0))) ? 1 : 0); }

// Scientific notation: the exponent that leaves as many integer digits as the format has
// placeholders, or a multiple of their count when the integer part starts with '#' ("##0.0E+0").
int scientificExponent(const Section& s, DecimalDigits& d) {
    if (d.isZero()) return 0;
    const int places = std::max(1, s.integerDigits);
    const auto first = std::find_if(s.tokens.begin(), s.tokens.end(), [](const Token& t) {
        return t.kind == TokenKind::Digit && t.zone == DigitZone::Integer;
    });
    const bool engineering = s.integerDigits > 1 && first != s.tokens.end() && first->placeholder == '#';
    const int leading = d.exponent();
    int exponent = s.integerDigits == 0 ? leading + 1
                 : engineering          ? floorDiv(leading, places) * places
                                        : leading - (places - 1);
    const int highest = s.integerDigits == 0 ? -1 : places - 1;
    DecimalDigits mantissa = d;
    mantissa.shift(-exponent);
    mantissa.roundToDecimals(s.fractionDigits);
    if (mantissa.exponent() > highest) {  // rounding carried into one more digit: 9.99 -> 10.0
        exponent += engineering ? places : 1;
        mantissa = d;
        mantissa.shift(-exponent);
        mantissa.roundToDecimals(s.fractionDigits);
    }
    d = mantissa;
    return exponent;
}

struct DateParts {
    CivilDate date;
    int weekday = 0;
    long long hour = 0, minute = 0, second = 0;  // of the day
    long long totalHours = 0, totalMinutes = 0, totalSeconds = 0;
    long long subSecond = 0;                     // in units of 10^-subSecondDigits s
};

constexpr std::array<std::string_view, 12> kMonthsEn = {"January", "February", "March", "April", "May", "June",
                                                        "July", "August", "September", "October", "November", "December"};
constexpr std::array<std::string_view, 12> kMonthsEs = {"enero", "febrero", "marzo", "abril", "mayo", "junio",
                                                        "julio", "agosto", "septiembre", "octubre", "noviembre", "diciembre"};
constexpr std::array<std::string_view, 12> kMonthsShortEs = {"ene", "feb", "mar", "abr", "may", "jun",
                                                             "jul", "ago", "sep", "oct", "nov", "dic"};
constexpr std::array<std::string_view, 7> kDaysEn = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 7> kDaysEs = {"domingo", "lunes", "martes", "miércoles", "jueves", "viernes", "sábado"};
constexpr std::array<std::string_view, 7> kDaysShortEs = {"dom", "lun", "mar", "mié", "jue", "vie", "sáb"};

std::string monthName(int month, int width, DateLanguage language) {
    const auto index = static_cast<std::size_t>(month - 1);
    const std::string_view full = language == DateLanguage::Spanish ? kMonthsEs[index] : kMonthsEn[index];
    if (width == 3) return std::string(language == DateLanguage::Spanish ? kMonthsShortEs[index] : full.substr(0, 3));
    if (width == 5) return std::string(full.substr(0, 1));
    return std::string(full);
}

std::string dayName(int weekday, int width, DateLanguage language) {
    const auto index = static_cast<std::size_t>(weekday);
    const std::string_view full = language == DateLanguage::Spanish ? kDaysEs[index] : kDaysEn[index];
    if (width == 3) return std::string(language == DateLanguage::Spanish ? kDaysShortEs[index] : full.substr(0, 3));
    return std::string(full);
}

std::string padded(long long value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return digits;
}

}  // namespace

void placeDigit(std::string& out, const std::string& digits, int places, int index, char placeholder,
                bool grouping, char separator, Purpose purpose) {
    const int len = static_cast<int>(digits.size());
    auto emit = [&](char c, int position) {
        out += c;
        if (grouping && position > 0 && position % 3 == 0) out += separator;
    };
    if (index == 0)
        for (int q = len - 1; q >= places; --q) emit(digits[static_cast<std::size_t>(len - 1 - q)], q);
    const int position = places - 1 - index;
    if (position < len)
        emit(digits[static_cast<std::size_t>(len - 1 - position)], position);
    else if (placeholder == '0')
        emit('0', position);
    else if (placeholder == '?')
        out += purpose == Purpose::Fit ? '0' : ' ';
}

namespace {

// Most numbers of a report have a short exact decimal form ("23605.81", "0.05"): k / 10^d reads
// back as the number for a small d. When those digits fit General's characters without rounding
// they are the text: the 15-digit rounding General starts from gives the same digits, as a double
// lies far within half a step of that rounding from such a form. Below 10^11 units of 10^-d, a
// step of 10^-d spans thousands of the double's own steps, so the product is within a hair of the
// one integer that can read back. Empty when no such form fits.
std::string shortGeneralText(double magnitude, char decimal) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    constexpr double kLimit = 1e11;  // General's eleven digits
    for (int d = 0; d <= kGeneralWidth - 2; ++d) {
        const double scaled = magnitude * kPowers[d];
        if (!(scaled < kLimit)) return {};
        const auto units = static_cast<std::uint64_t>(scaled + 0.5);
        if (static_cast<double>(units) / kPowers[d] != magnitude) continue;
        char digits[24];
        int count = 0;
        for (std::uint64_t rest = units; rest != 0 || count <= d; rest /= 10)
            digits[count++] = static_cast<char>('0' + rest % 10);
        const int integers = count - d;  // at least one: "0" before the mark of a number below 1
        // A number of ten or eleven integer digits keeps fewer decimals, or none.
        if (units >= static_cast<std::uint64_t>(kPowers[d]) && d > std::max(0, kGeneralWidth - 1 - integers)) return {};
        std::string out;
        out.reserve(static_cast<std::size_t>(count + 1));
        for (int i = count - 1; i >= 0; --i) {
            out += digits[i];
            if (i == d && d > 0) out += decimal;
        }
        return out;
    }
    return {};
}

}  // namespace

std::string generalText(double magnitude, const NumberConventions& conventions) {
    if (magnitude > 0.0)
        if (std::string text = shortGeneralText(magnitude, conventions.decimal); !text.empty()) return text;
    return roundedGeneralText(magnitude, conventions);
}

std::string roundedGeneralText(double magnitude, const NumberConventions& conventions) {
    const DecimalDigits d = DecimalDigits::fromDouble(magnitude);
    if (d.isZero()) return "0";
    const int leading = d.exponent();
    if (leading >= 0 && leading < kGeneralWidth) {
        DecimalDigits fixed = d;
        fixed.roundToDecimals(std::max(0, kGeneralWidth - 2 - leading));
        if (fixed.exponent() < kGeneralWidth) return plainText(fixed, conventions.decimal);
    } else if (leading < 0) {
        // "0." leaves nine decimals. Down to 0.0001 they always show enough of the number; below,
        // only when nothing of a ten-digit rounding is lost, else scientific shows more.
        DecimalDigits fixed = d;
        fixed.roundToSignificant(10);
        if (leading >= -4 || fixed.decimalsUsed() <= kGeneralWidth - 2) {
            fixed = d;
            fixed.roundToDecimals(kGeneralWidth - 2);
            return plainText(fixed, conventions.decimal);
        }
    }
    // "d.ddddd" and "E+dd" fill the eleven characters.
    return scientificText(d, 6, conventions.decimal);
}

std::string numberSectionText(const Section& s, double magnitude, const NumberConventions& conventions,
                              Purpose purpose) {
    if (s.fraction) return fractionSectionText(s, magnitude, conventions, purpose);
    DecimalDigits d = DecimalDigits::fromDouble(magnitude);
    d.shift(2 * s.percentCount - 3 * s.scaleThousands);
    int exponent = 0;
    if (s.scientific)
        exponent = scientificExponent(s, d);
    else
        d.roundToDecimals(s.fractionDigits);

    const std::string integer = d.integerDigits();
    const std::string fraction = d.fractionDigits(s.fractionDigits);
    const int lastSignificant = static_cast<int>(fraction.find_last_not_of('0'));  // -1 when none
    const std::string exponentDigits = std::to_string(std::abs(exponent));
    const int exponentPlaces = static_cast<int>(std::count_if(s.tokens.begin(), s.tokens.end(), [](const Token& t) {
        return t.kind == TokenKind::Digit && t.zone == DigitZone::Exponent;
    }));
    const bool grouping = s.grouping && !s.scientific;

    std::string out;
    int integerIndex = 0, fractionIndex = 0, exponentIndex = 0;
    for (const Token& t : s.tokens) {
        switch (t.kind) {
        case TokenKind::Digit:
            if (t.zone == DigitZone::Integer) {
                placeDigit(out, integer, s.integerDigits, integerIndex++, t.placeholder, grouping, conventions.grouping, purpose);
            } else if (t.zone == DigitZone::Exponent) {
                placeDigit(out, exponentDigits, exponentPlaces, exponentIndex++, t.placeholder, false, ' ', purpose);
            } else {
                const int j = fractionIndex++;
                if (j <= lastSignificant || t.placeholder == '0')
                    out += fraction[static_cast<std::size_t>(j)];
                else if (t.placeholder == '?')
                    out += purpose == Purpose::Fit ? '0' : ' ';
            }
            break;
        case TokenKind::DecimalMark:
            if (s.integerDigits == 0)  // no integer placeholders: the integer digits go before the mark
                for (int k = 0; k < static_cast<int>(integer.size()); ++k)
                    placeDigit(out, integer, static_cast<int>(integer.size()), k, '#', grouping, conventions.grouping, purpose);
            out += conventions.decimal;
            break;
        case TokenKind::Exponent:
            out += t.text;
            if (exponent < 0)
                out += '-';
            else if (t.placeholder == '+')
                out += '+';
            if (exponentPlaces == 0) out += exponentDigits;
            break;
        case TokenKind::Percent: out += '%'; break;
        case TokenKind::GeneralNumber: out += generalText(magnitude, conventions); break;
        case TokenKind::Pad: out += purpose == Purpose::Fit ? t.text : std::string(" "); break;
        case TokenKind::Fill: break;
        default: out += t.text; break;
        }
    }
    return out;
}

std::string dateSectionText(const Section& s, double serial, const NumberConventions& conventions, Purpose purpose) {
    if (!(serial >= 0.0) || serial >= static_cast<double>(kLastSerialDay + 1)) return std::string(kNoDate);
    long long scale = 1;
    for (int k = 0; k < s.subSecondDigits; ++k) scale *= 10;
    // Rounded to the finest unit shown (seconds or their fractions); larger units are then cut.
    const long long ticks = static_cast<long long>(std::floor(serial * 86400.0 * static_cast<double>(scale) + 0.5));
    const long long perDay = 86400LL * scale;
    const long day = static_cast<long>(ticks / perDay);
    if (day > kLastSerialDay) return std::string(kNoDate);

    DateParts p;
    p.date = dateOfSerial(day);
    p.weekday = weekdayOfSerial(day);
    const long long secondsOfDay = (ticks % perDay) / scale;
    p.hour = secondsOfDay / 3600;
    p.minute = secondsOfDay / 60 % 60;
    p.second = secondsOfDay % 60;
    p.totalSeconds = ticks / scale;
    p.totalMinutes = p.totalSeconds / 60;
    p.totalHours = p.totalSeconds / 3600;
    p.subSecond = ticks % scale;

    const DateLanguage names = s.dateNames.value_or(conventions.dateNames);
    std::string out;
    for (const Token& t : s.tokens) {
        switch (t.kind) {
        case TokenKind::Year:
            out += t.width <= 2 ? padded(p.date.year % 100, 2) : padded(p.date.year, 4);
            break;
        case TokenKind::Month:
            out += t.width <= 2 ? padded(p.date.month, t.width) : monthName(p.date.month, t.width, names);
            break;
        case TokenKind::Day:
            out += t.width <= 2 ? padded(p.date.day, t.width) : dayName(p.weekday, t.width, names);
            break;
        case TokenKind::Hour: {
            const long long hour = s.twelveHour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
            out += padded(hour, std::min(t.width, 2));
            break;
        }
        case TokenKind::Minute: out += padded(p.minute, std::min(t.width, 2)); break;
        case TokenKind::Second: out += padded(p.second, std::min(t.width, 2)); break;
        case TokenKind::ElapsedHours: out += padded(p.totalHours, t.width); break;
        case TokenKind::ElapsedMinutes: out += padded(p.totalMinutes, t.width); break;
        case TokenKind::ElapsedSeconds: out += padded(p.totalSeconds, t.width); break;
        case TokenKind::SubSecond:
            out += conventions.decimal;
            out += padded(p.subSecond, s.subSecondDigits).substr(0, static_cast<std::size_t>(t.width));
            break;
        case TokenKind::AmPm: {
            const bool morning = p.hour < 12;
            if (t.text.size() == 5)
                out += morning ? t.text.substr(0, 2) : t.text.substr(3, 2);
            else
                out += morning ? t.text.substr(0, 1) : t.text.substr(2, 1);
            break;
        }
        case TokenKind::Pad: out += purpose == Purpose::Fit ? t.text : std::string(" "); break;
        case TokenKind::Fill: break;
        default: out += t.text; break;
        }
    }
    return out;
}

std::string textSectionText(const Section& s, std::string_view text, Purpose purpose) {
    std::string out;
    for (const Token& t : s.tokens) {
        switch (t.kind) {
        case TokenKind::TextValue: out += text; break;
        case TokenKind::Pad: out += purpose == Purpose::Fit ? t.text : std::string(" "); break;
        case TokenKind::Fill: break;
        default: out += t.text; break;
        }
    }
    return out;
}

}  // namespace tabulix::spreadsheet::numfmt
