#include "automation/variant.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "automation/automation_error.h"
#include "automation/dispatch.h"
#include "framework/printable.h"

namespace tabulix::automation {

namespace {

[[noreturn]] void mismatch(VariantType from, std::string_view to) {
    throw AutomationError("Type mismatch: cannot convert " + std::string(variantTypeName(from)) + " to " +
                              std::string(to),
                          AutomationError::kTypeMismatch);
}

std::string formatDouble(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

// Days from 1899-12-30 to the given civil date (proleptic Gregorian).
long long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;  // days since 1970-01-01
}

}  // namespace

Currency Currency::fromDouble(double amount) {
    const double scaled = std::round(amount * 10000.0);
    if (!(scaled >= -9.2e18 && scaled <= 9.2e18))
        throw AutomationError("Overflow: " + formatDouble(amount) + " does not fit a currency value",
                              AutomationError::kTypeMismatch);
    return Currency{static_cast<std::int64_t>(scaled)};
}

Date Date::fromYmd(int year, int month, int day) {
    return Date{static_cast<double>(daysFromCivil(year, month, day) - daysFromCivil(1899, 12, 30))};
}

std::string_view variantTypeName(VariantType type) {
    switch (type) {
        case VariantType::Empty: return "Empty";
        case VariantType::Null: return "Null";
        case VariantType::Boolean: return "Boolean";
        case VariantType::Int32: return "Int32";
        case VariantType::Int64: return "Int64";
        case VariantType::Double: return "Double";
        case VariantType::Currency: return "Currency";
        case VariantType::Date: return "Date";
        case VariantType::Text: return "Text";
        case VariantType::Object: return "Object";
        case VariantType::Missing: return "Missing";
        case VariantType::Error: return "Error";
    }
    return "?";
}

bool Variant::isNumeric() const {
    switch (type()) {
        case VariantType::Int32:
        case VariantType::Int64:
        case VariantType::Double:
        case VariantType::Currency:
        case VariantType::Date: return true;
        default: return false;
    }
}

double Variant::toDouble() const {
    switch (type()) {
        case VariantType::Empty: return 0.0;
        case VariantType::Boolean: return std::get<bool>(value_) ? -1.0 : 0.0;
        case VariantType::Int32: return std::get<std::int32_t>(value_);
        case VariantType::Int64: return static_cast<double>(std::get<std::int64_t>(value_));
        case VariantType::Double: return std::get<double>(value_);
        case VariantType::Currency: return std::get<Currency>(value_).toDouble();
        case VariantType::Date: return std::get<Date>(value_).serial;
        case VariantType::Text: {
            const std::string& text = std::get<std::string>(value_);
            std::size_t used = 0;
            try {
                const double d = std::stod(text, &used);
                while (used < text.size() && (text[used] == ' ' || text[used] == '\t')) ++used;
                if (used == text.size()) return d;
            } catch (const std::exception&) {
            }
            throw AutomationError("Type mismatch: \"" + text + "\" is not a number", AutomationError::kTypeMismatch);
        }
        default: mismatch(type(), "Double");
    }
}

std::int64_t Variant::toInt64() const {
    if (type() == VariantType::Int64) return std::get<std::int64_t>(value_);
    if (type() == VariantType::Int32) return std::get<std::int32_t>(value_);
    const double d = std::nearbyint(toDouble());  // banker's rounding, as automation conversions do
    if (!(d >= -9.2e18 && d <= 9.2e18)) throw AutomationError("Overflow converting to an integer", AutomationError::kTypeMismatch);
    return static_cast<std::int64_t>(d);
}

std::int32_t Variant::toInt32() const {
    const std::int64_t v = toInt64();
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        throw AutomationError("Overflow: " + std::to_string(v) + " does not fit a 32-bit integer",
                              AutomationError::kTypeMismatch);
    return static_cast<std::int32_t>(v);
}

bool Variant::toBool() const {
    switch (type()) {
        case VariantType::Boolean: return std::get<bool>(value_);
        case VariantType::Text: {
            std::string upper;
            for (char c : std::get<std::string>(value_)) upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
            if (upper == "TRUE") return true;
            if (upper == "FALSE") return false;
            return toDouble() != 0.0;
        }
        default: return toDouble() != 0.0;
    }
}

Currency Variant::toCurrency() const {
    if (type() == VariantType::Currency) return std::get<Currency>(value_);
    return Currency::fromDouble(toDouble());
}

Date Variant::toDate() const {
    if (type() == VariantType::Date) return std::get<Date>(value_);
    return Date{toDouble()};
}

std::string Variant::toText() const {
    switch (type()) {
        case VariantType::Empty: return {};
        case VariantType::Boolean: return std::get<bool>(value_) ? "True" : "False";
        case VariantType::Int32: return std::to_string(std::get<std::int32_t>(value_));
        case VariantType::Int64: return std::to_string(std::get<std::int64_t>(value_));
        case VariantType::Double: return formatDouble(std::get<double>(value_));
        case VariantType::Currency: return formatDouble(std::get<Currency>(value_).toDouble());
        case VariantType::Date: return formatDouble(std::get<Date>(value_).serial);
        case VariantType::Text: return std::get<std::string>(value_);
        default: mismatch(type(), "Text");
    }
}

DispatchPtr Variant::toObject() const {
    if (type() == VariantType::Object) return std::get<DispatchPtr>(value_);
    mismatch(type(), "Object");
}

ErrorValue Variant::toError() const {
    if (type() == VariantType::Error) return std::get<ErrorValue>(value_);
    if (type() == VariantType::Missing) return ErrorValue{kParamNotFound};
    mismatch(type(), "Error");
}

std::string Variant::describe() const {
    switch (type()) {
        case VariantType::Empty: return "Empty";
        case VariantType::Null: return "Null";
        case VariantType::Missing: return "Missing";
        case VariantType::Object: {
            const DispatchPtr& object = std::get<DispatchPtr>(value_);
            return "Object(" + (object ? std::string(object->typeName()) : std::string("nothing")) + ")";
        }
        case VariantType::Error: {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(std::get<ErrorValue>(value_).scode));
            return std::string("Error(") + buffer + ")";
        }
        case VariantType::Text: return "Text(\"" + framework::printable(std::get<std::string>(value_)) + "\")";
        default: return std::string(variantTypeName(type())) + "(" + toText() + ")";
    }
}

bool Variant::operator==(const Variant& other) const { return value_ == other.value_; }

}  // namespace tabulix::automation
