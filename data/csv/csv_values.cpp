#include "data/csv/csv_values.h"

#include <charconv>
#include <cmath>

#include "data/date_time.h"

namespace tabulix::data {

using automation::Variant;

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Digits from `at`; returns how many.
std::size_t digits(std::string_view text, std::size_t at) {
    std::size_t n = 0;
    while (at + n < text.size() && isDigit(text[at + n])) ++n;
    return n;
}

// "-?D+" without a leading zero (but "0" itself).
bool looksInteger(std::string_view text) {
    const std::size_t sign = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t n = digits(text, sign);
    return n > 0 && sign + n == text.size() && !(n > 1 && text[sign] == '0');
}

// "-?D+(MD+)?([eE][+-]?D+)?" with mark `mark`, the whole part without a leading zero.
bool looksFloat(std::string_view text, char mark) {
    std::size_t at = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t whole = digits(text, at);
    if (whole == 0 || (whole > 1 && text[at] == '0')) return false;
    at += whole;
    if (at < text.size() && text[at] == mark) {
        const std::size_t fraction = digits(text, at + 1);
        if (fraction == 0) return false;
        at += 1 + fraction;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        const std::size_t exponent = digits(text, at);
        if (exponent == 0) return false;
        at += exponent;
    }
    return at == text.size();
}

std::optional<std::int64_t> toInteger(std::string_view text) {
    if (!looksInteger(text)) return std::nullopt;
    std::int64_t value = 0;
    const auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> toFloat(std::string_view text, char mark) {
    if (!looksFloat(text, mark)) return std::nullopt;
    std::string copy(text);
    if (mark != '.')
        for (char& c : copy)
            if (c == mark) c = '.';
    double value = 0;
    const auto [ptr, error] = std::from_chars(copy.data(), copy.data() + copy.size(), value);
    if (error != std::errc() || ptr != copy.data() + copy.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<bool> toBoolean(std::string_view text) {
    std::string word(text);
    for (char& c : word)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (word == "true" || word == "yes" || word == "verdadero" || word == "si" || word == "s\xC3\xAD" ||
        word == "s\xC3\x8D")
        return true;
    if (word == "false" || word == "no" || word == "falso") return false;
    return std::nullopt;
}

// "D{1,2}S D{1,2}S D{4}" in `order` (YMD: "D{4}S D{1,2}S D{1,2}"), S one of / - . used twice,
// then optionally " HH:MM[:SS]".
std::optional<automation::Date> toOrderedDate(std::string_view text, CsvDateOrder order) {
    int parts[3] = {0, 0, 0};
    std::size_t at = 0;
    char separator = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t n = digits(text, at);
        const bool year = (order == CsvDateOrder::YearMonthDay) ? i == 0 : i == 2;
        if (year ? n != 4 : (n < 1 || n > 2)) return std::nullopt;
        std::from_chars(text.data() + at, text.data() + at + n, parts[i]);
        at += n;
        if (i == 2) break;
        if (at >= text.size()) return std::nullopt;
        const char c = text[at];
        if ((c != '/' && c != '-' && c != '.') || (separator && c != separator)) return std::nullopt;
        separator = c;
        ++at;
    }
    int day = 0, month = 0, year = 0;
    switch (order) {
        case CsvDateOrder::DayMonthYear: day = parts[0], month = parts[1], year = parts[2]; break;
        case CsvDateOrder::MonthDayYear: month = parts[0], day = parts[1], year = parts[2]; break;
        default: year = parts[0], month = parts[1], day = parts[2]; break;
    }
    if (!isValidDate(year, month, day) || year < 100) return std::nullopt;
    CivilDateTime civil;
    civil.year = year, civil.month = month, civil.day = day;
    automation::Date date = toAutomationDate(civil);
    if (at < text.size()) {
        if (text[at] != ' ' && text[at] != 'T') return std::nullopt;
        const std::optional<automation::Date> time = parseIsoDateTime(text.substr(at + 1));
        if (!time || time->serial < 0 || time->serial >= 1) return std::nullopt;
        date.serial += date.serial < 0 ? -time->serial : time->serial;
    }
    return date;
}

std::optional<automation::Date> toDate(std::string_view text, CsvDateOrder order) {
    if (auto iso = parseIsoDateTime(text); iso && isDateInRange(*iso)) return iso;
    if (order != CsvDateOrder::IsoOnly) return toOrderedDate(text, order);
    return std::nullopt;
}

bool hasDate(std::string_view text) { return text.find_first_of("-/.") != std::string_view::npos; }

}  // namespace

std::optional<CsvDateOrder> csvDateOrderFromName(std::string_view name) {
    std::string upper(name);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (upper.empty()) return CsvDateOrder::IsoOnly;
    if (upper == "DMY") return CsvDateOrder::DayMonthYear;
    if (upper == "MDY") return CsvDateOrder::MonthDayYear;
    if (upper == "YMD") return CsvDateOrder::YearMonthDay;
    return std::nullopt;
}

void CsvTypeGuess::see(std::string_view raw) {
    const std::string_view text = trimmed(raw);
    if (text.empty()) return;
    seen_ = true;
    anyComma_ = anyComma_ || text.find(',') != std::string_view::npos;
    anyPoint_ = anyPoint_ || text.find('.') != std::string_view::npos;
    if (integer_) integer_ = toInteger(text).has_value();
    if (point_) point_ = declaredMark_ != ',' && looksFloat(text, '.');
    if (comma_) comma_ = declaredMark_ != '.' && looksFloat(text, ',');
    if (boolean_) boolean_ = toBoolean(text).has_value();
    if (date_ || time_) {
        const bool parsed = toDate(text, order_).has_value();
        const bool dated = parsed && hasDate(text);
        date_ = date_ && dated;
        time_ = time_ && parsed && !dated;
        anyTime_ = anyTime_ || (dated && text.find(':') != std::string_view::npos);
    }
}

CsvColumnFormat CsvTypeGuess::result() const {
    if (!seen_) return {TFieldType::ftString, '.'};
    if (integer_) return {TFieldType::ftLargeint, '.'};
    if (point_ && (!comma_ || declaredMark_ != ',')) return {TFieldType::ftFloat, '.'};
    if (comma_) return {TFieldType::ftFloat, ','};
    if (boolean_) return {TFieldType::ftBoolean, '.'};
    if (date_) return {anyTime_ ? TFieldType::ftDateTime : TFieldType::ftDate, '.'};
    if (time_) return {TFieldType::ftTime, '.'};
    return {TFieldType::ftString, '.'};
}

char CsvTypeGuess::decimalMark() const {
    if (declaredMark_) return declaredMark_;
    return anyComma_ && !anyPoint_ ? ',' : '.';
}

std::optional<Variant> parseCsvValue(std::string_view raw, const CsvColumnFormat& format, CsvDateOrder order) {
    if (format.type == TFieldType::ftString || format.type == TFieldType::ftWideString ||
        format.type == TFieldType::ftMemo || format.type == TFieldType::ftGuid)
        return raw.empty() ? Variant::null() : Variant(std::string(raw));
    const std::string_view text = trimmed(raw);
    if (text.empty()) return Variant::null();
    switch (format.type) {
        case TFieldType::ftLargeint:
        case TFieldType::ftInteger:
        case TFieldType::ftSmallint:
        case TFieldType::ftWord:
        case TFieldType::ftAutoInc: {
            // A declared whole-number column takes leading zeros too: the type was asked for.
            std::int64_t value = 0;
            const std::size_t sign = text[0] == '-' ? 1 : 0;
            if (digits(text, sign) + sign != text.size() || sign == text.size()) return std::nullopt;
            const auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (error != std::errc()) return std::nullopt;
            return Variant(value);
        }
        case TFieldType::ftFloat:
        case TFieldType::ftCurrency:
        case TFieldType::ftBCD: {
            if (auto value = toFloat(text, format.decimalMark)) return Variant(*value);
            // Leading zeros ("007,50") are numbers too once the column is declared numeric.
            std::size_t sign = text[0] == '-' ? 1 : 0, zeros = 0;
            while (sign + zeros + 1 < text.size() && text[sign + zeros] == '0' && isDigit(text[sign + zeros + 1]))
                ++zeros;
            if (zeros == 0) return std::nullopt;
            std::string rest = std::string(text.substr(0, sign)) + std::string(text.substr(sign + zeros));
            if (auto value = toFloat(rest, format.decimalMark)) return Variant(*value);
            return std::nullopt;
        }
        case TFieldType::ftBoolean:
            if (auto value = toBoolean(text)) return Variant(*value);
            if (text == "1" || text == "0") return Variant(text == "1");
            return std::nullopt;
        case TFieldType::ftDate:
        case TFieldType::ftDateTime:
        case TFieldType::ftTime:
            if (auto value = toDate(text, order)) return Variant(*value);
            return std::nullopt;
        default: return Variant(std::string(raw));
    }
}

}  // namespace tabulix::data
