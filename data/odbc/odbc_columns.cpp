#include "data/odbc/odbc_columns.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string_view>

#include "data/date_time.h"
#include "data/odbc/odbc_text.h"
#include "data/sql/decimal_text.h"

namespace tabulix::data {

using automation::Variant;

namespace {

// Fails with the driver's reason; the caller names the place.
[[noreturn]] void driverFailed(SQLHSTMT statement) {
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[512] = {};
    SQLSMALLINT length = 0;
    SQLGetDiagRec(SQL_HANDLE_STMT, statement, 1, state, &native, message, sizeof message, &length);
    throw std::runtime_error(std::string(reinterpret_cast<char*>(message)) + " [" +
                             reinterpret_cast<char*>(state) + "]");
}

// Reads a fixed-size value; false for SQL NULL.
template <class T> bool fixed(SQLHSTMT statement, SQLUSMALLINT number, SQLSMALLINT cType, T& value) {
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(SQLGetData(statement, number, cType, &value, sizeof value, &indicator))) driverFailed(statement);
    return indicator != SQL_NULL_DATA;
}

// Reads a value of any length in parts: text as UTF-16 (`wide`), else bytes. nullopt for SQL NULL.
std::optional<std::string> variable(SQLHSTMT statement, SQLUSMALLINT number, bool wide) {
    std::string bytes;
    char part[8192];
    const std::size_t terminator = wide ? sizeof(SQLWCHAR) : 0;
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN status =
            SQLGetData(statement, number, wide ? SQL_C_WCHAR : SQL_C_BINARY, part, sizeof part, &indicator);
        if (status == SQL_NO_DATA) break;
        if (!SQL_SUCCEEDED(status)) driverFailed(statement);
        if (indicator == SQL_NULL_DATA) return std::nullopt;
        // A part that did not fit fills the buffer (less the terminator of a text).
        const bool more = indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) > sizeof part - terminator;
        const std::size_t got = more ? sizeof part - terminator : static_cast<std::size_t>(indicator);
        bytes.append(part, got);
        if (status == SQL_SUCCESS) break;
    }
    if (!wide) return bytes;
    return fromOdbcText(reinterpret_cast<const SQLWCHAR*>(bytes.data()), bytes.size() / sizeof(SQLWCHAR));
}

Variant date(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    if (!isValidDate(year, month, day)) throw std::invalid_argument("is not a date of the years 100 to 9999");
    const automation::Date value = toAutomationDate({year, month, day, hour, minute, second, millisecond});
    if (!isDateInRange(value)) throw std::invalid_argument("is not a date of the years 100 to 9999");
    return Variant(value);
}

}  // namespace

OdbcColumn odbcColumn(const std::string& name, SQLSMALLINT type, SQLULEN size, SQLSMALLINT decimals) {
    OdbcColumn column{TFieldDef{name, TFieldType::ftString, 0, 0, {}}, OdbcReading::Text};
    TFieldDef& def = column.def;
    switch (type) {
        case SQL_TINYINT:
        case SQL_SMALLINT: def.dataType = TFieldType::ftSmallint, column.reading = OdbcReading::Integer; break;
        case SQL_INTEGER: def.dataType = TFieldType::ftInteger, column.reading = OdbcReading::Integer; break;
        case SQL_BIGINT: def.dataType = TFieldType::ftLargeint, column.reading = OdbcReading::Integer; break;
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE: def.dataType = TFieldType::ftFloat, column.reading = OdbcReading::Double; break;
        case SQL_DECIMAL:
        case SQL_NUMERIC: {
            const int precision = static_cast<int>(size);
            def.dataType = TFieldType::ftFloat;
            column.reading = OdbcReading::DecimalAsDouble;
            if (precision > 0 && decimals >= 0 && decimals <= 4 && precision - decimals <= 14) {
                def.dataType = TFieldType::ftBCD;
                def.size = decimals;
                def.precision = precision;
                column.reading = OdbcReading::Decimal;
            }
            if (precision > 0 && decimals >= 0)
                def.displayFormat =
                    decimals == 0 ? "###,##0" : "###,##0." + std::string(static_cast<std::size_t>(decimals), '0');
            break;
        }
        case SQL_BIT: def.dataType = TFieldType::ftBoolean, column.reading = OdbcReading::Bit; break;
        case SQL_TYPE_DATE: def.dataType = TFieldType::ftDate, column.reading = OdbcReading::Date; break;
        case SQL_TYPE_TIME: def.dataType = TFieldType::ftTime, column.reading = OdbcReading::Time; break;
        case SQL_TYPE_TIMESTAMP: def.dataType = TFieldType::ftDateTime, column.reading = OdbcReading::Timestamp; break;
        case SQL_BINARY:
        case SQL_VARBINARY:
        case SQL_LONGVARBINARY: def.dataType = TFieldType::ftBlob, column.reading = OdbcReading::Binary; break;
        case SQL_CHAR:
        case SQL_VARCHAR:
        case SQL_WCHAR:
        case SQL_WVARCHAR:
            if (size > 0 && size < 65536) def.size = static_cast<int>(size);
            break;
        default: break;
    }
    return column;
}

Variant odbcValue(SQLHSTMT statement, SQLUSMALLINT number, OdbcReading reading) {
    switch (reading) {
        case OdbcReading::Integer: {
            SQLBIGINT value = 0;
            return fixed(statement, number, SQL_C_SBIGINT, value) ? Variant(std::int64_t{value}) : Variant::null();
        }
        case OdbcReading::Double: {
            SQLDOUBLE value = 0;
            if (!fixed(statement, number, SQL_C_DOUBLE, value)) return Variant::null();
            if (!std::isfinite(value)) throw std::invalid_argument("is not a finite number (NaN and infinities have no cell value)");
            return Variant(value);
        }
        case OdbcReading::Decimal:
        case OdbcReading::DecimalAsDouble: {
            const std::optional<std::string> text = variable(statement, number, true);
            if (!text) return Variant::null();
            if (reading == OdbcReading::Decimal) return Variant(decimalCurrency(*text));
            double value = 0;
            const auto [ptr, error] = std::from_chars(text->data(), text->data() + text->size(), value);
            if (error != std::errc() || ptr != text->data() + text->size() || !std::isfinite(value))
                throw std::invalid_argument("is not a finite decimal number");
            return Variant(value);
        }
        case OdbcReading::Bit: {
            unsigned char value = 0;
            return fixed(statement, number, SQL_C_BIT, value) ? Variant(value != 0) : Variant::null();
        }
        case OdbcReading::Date: {
            SQL_DATE_STRUCT value{};
            if (!fixed(statement, number, SQL_C_TYPE_DATE, value)) return Variant::null();
            return date(value.year, value.month, value.day, 0, 0, 0, 0);
        }
        case OdbcReading::Time: {
            SQL_TIME_STRUCT value{};
            if (!fixed(statement, number, SQL_C_TYPE_TIME, value)) return Variant::null();
            if (value.hour > 23 || value.minute > 59 || value.second > 59) throw std::invalid_argument("is not a time of day");
            return Variant(automation::Date{(value.hour * 3600.0 + value.minute * 60.0 + value.second) / 86400.0});
        }
        case OdbcReading::Timestamp: {
            SQL_TIMESTAMP_STRUCT value{};
            if (!fixed(statement, number, SQL_C_TYPE_TIMESTAMP, value)) return Variant::null();
            return date(value.year, value.month, value.day, value.hour, value.minute, value.second,
                        static_cast<int>(value.fraction / 1'000'000));
        }
        case OdbcReading::Binary: {
            const std::optional<std::string> bytes = variable(statement, number, false);
            return bytes ? Variant(*bytes) : Variant::null();
        }
        case OdbcReading::Text: {
            const std::optional<std::string> text = variable(statement, number, true);
            return text ? Variant(*text) : Variant::null();
        }
    }
    return Variant::null();
}

}  // namespace tabulix::data
