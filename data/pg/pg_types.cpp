#include "data/pg/pg_types.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "data/date_time.h"
#include "data/sql/decimal_text.h"
#include "framework/utf8_text.h"

namespace tabulix::data {

using automation::Variant;

namespace {

// Type OIDs (pg_type.oid), fixed since PostgreSQL 7.
enum : unsigned int {
    kBool = 16, kBytea = 17, kName = 19, kInt8 = 20, kInt2 = 21, kInt4 = 23, kText = 25, kOid = 26,
    kFloat4 = 700, kFloat8 = 701, kMoney = 790, kBpchar = 1042, kVarchar = 1043, kDate = 1082, kTime = 1083,
    kTimestamp = 1114, kTimestampTz = 1184, kTimeTz = 1266, kNumeric = 1700,
};

[[noreturn]] void notA(const char* what) { throw std::invalid_argument(std::string("is not ") + what); }

std::int64_t wholeNumber(std::string_view text) {
    std::int64_t value = 0;
    const auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || ptr != text.data() + text.size()) notA("a whole number");
    return value;
}

double floating(std::string_view text) {
    double value = 0;
    const auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || ptr != text.data() + text.size() || !std::isfinite(value))
        notA("a finite number (NaN and infinities have no cell value)");
    return value;
}

// money in lc_monetary C: "$1,234.56", "-$1,234.56".
double money(std::string_view text) {
    std::string plain;
    for (char c : text)
        if (c != '$' && c != ',') plain.push_back(c);
    return decimalCurrency(plain).toDouble();
}

// Drops a zone suffix ("+01", "-05:30", "+05:30:15") after the time of day.
std::string_view withoutZone(std::string_view text) {
    const std::size_t time = text.find(':');
    if (time == std::string_view::npos) return text;
    const std::size_t zone = text.find_first_of("+-", time);
    return zone == std::string_view::npos ? text : text.substr(0, zone);
}

automation::Date dateTime(std::string_view text) {
    const std::optional<automation::Date> date = parseIsoDateTime(withoutZone(text));
    if (!date || !isDateInRange(*date)) notA("a date of the years 100 to 9999");
    return *date;
}

std::string bytes(std::string_view text) {
    // Hex output ("\x0a1b"), the default since PostgreSQL 9.0; the query sets it for its session.
    if (!text.starts_with("\\x") || text.size() % 2 != 0) notA("bytea in hex output");
    std::string out;
    out.reserve(text.size() / 2 - 1);
    for (std::size_t i = 2; i < text.size(); i += 2) {
        unsigned int byte = 0;
        const auto [ptr, error] = std::from_chars(text.data() + i, text.data() + i + 2, byte, 16);
        if (error != std::errc() || ptr != text.data() + i + 2) notA("bytea in hex output");
        out.push_back(static_cast<char>(byte));
    }
    return out;
}

}  // namespace

TFieldDef pgFieldDef(const std::string& name, unsigned int type, int modifier) {
    TFieldDef def{name, TFieldType::ftString, 0, 0, {}};
    switch (type) {
        case kInt2: def.dataType = TFieldType::ftSmallint; break;
        case kInt4: def.dataType = TFieldType::ftInteger; break;
        case kInt8:
        case kOid: def.dataType = TFieldType::ftLargeint; break;
        case kFloat4:
        case kFloat8: def.dataType = TFieldType::ftFloat; break;
        case kMoney: def.dataType = TFieldType::ftCurrency; break;
        case kNumeric: {
            def.dataType = TFieldType::ftFloat;
            if (modifier >= 4) {
                const int precision = ((modifier - 4) >> 16) & 0xFFFF;
                const int scale = (modifier - 4) & 0xFFFF;
                if (scale <= 4 && precision - scale <= 14) {
                    def.dataType = TFieldType::ftBCD;
                    def.size = scale;
                    def.precision = precision;
                }
                def.displayFormat = scale == 0 ? "###,##0" : "###,##0." + std::string(static_cast<std::size_t>(scale), '0');
            }
            break;
        }
        case kBool: def.dataType = TFieldType::ftBoolean; break;
        case kDate: def.dataType = TFieldType::ftDate; break;
        case kTime:
        case kTimeTz: def.dataType = TFieldType::ftTime; break;
        case kTimestamp:
        case kTimestampTz: def.dataType = TFieldType::ftDateTime; break;
        case kBytea: def.dataType = TFieldType::ftBlob; break;
        case kBpchar:
        case kVarchar:
            if (modifier > 4) def.size = modifier - 4;
            break;
        case kName:
        case kText:
        default: break;
    }
    return def;
}

Variant pgValue(std::string_view text, unsigned int type, TFieldType fieldType) {
    switch (fieldType) {
        case TFieldType::ftSmallint:
        case TFieldType::ftInteger:
        case TFieldType::ftLargeint: return Variant(wholeNumber(text));
        case TFieldType::ftFloat: return Variant(floating(text));
        case TFieldType::ftCurrency: return Variant(type == kMoney ? money(text) : floating(text));
        case TFieldType::ftBCD: return Variant(decimalCurrency(text));
        case TFieldType::ftBoolean:
            if (text == "t") return Variant(true);
            if (text == "f") return Variant(false);
            notA("a Boolean value");
        case TFieldType::ftDate:
        case TFieldType::ftTime:
        case TFieldType::ftDateTime: return Variant(dateTime(text));
        case TFieldType::ftBlob: return Variant(bytes(text));
        default: return Variant(framework::utf8::sanitize(text));
    }
}

}  // namespace tabulix::data
