#pragma once
/// @file
/// The automation variant: the one value type that crosses the automation boundary.
///
/// Thread rule: a Variant is a value; copies share nothing but the object a Dispatch variant
/// points to, which keeps its own rule (dispatch.h).

#include <compare>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "framework/export.h"

namespace tabulix::automation {

class Dispatch;
/// An automation object, shared by whoever holds it.
using DispatchPtr = std::shared_ptr<Dispatch>;

/// @brief A fixed-point amount: the amount times 10,000 (four decimals, like the OLE CY type).
/// @threads A value.
struct TABULIX_API Currency {
    /// The amount times 10,000.
    std::int64_t scaled = 0;

    /// The amount nearest to a number, rounded to four decimals.
    /// @param amount the number.
    static Currency fromDouble(double amount);
    /// The amount as a number.
    double toDouble() const { return static_cast<double>(scaled) / 10000.0; }
    /// Amounts compare by value.
    auto operator<=>(const Currency&) const = default;
};

/// @brief A date and time: days since 1899-12-30, the fraction being the time of day (the OLE
/// date).
/// @threads A value.
struct TABULIX_API Date {
    /// Days since 1899-12-30; the fraction is the time of day.
    double serial = 0.0;

    /// The date of a day, at midnight.
    /// @param year the year.
    /// @param month 1 to 12.
    /// @param day 1 to 31.
    static Date fromYmd(int year, int month, int day);
    /// Dates compare by time.
    auto operator<=>(const Date&) const = default;
};

/// @brief An error value (SCODE); a missing optional argument is passed as kParamNotFound.
/// @threads A value.
struct TABULIX_API ErrorValue {
    /// The error code.
    std::int32_t scode = 0;
    /// Error values compare by code.
    auto operator<=>(const ErrorValue&) const = default;
};

/// The error code of a missing optional argument (DISP_E_PARAMNOTFOUND).
inline constexpr std::int32_t kParamNotFound = static_cast<std::int32_t>(0x80020004u);

/// What a Variant holds.
enum class VariantType { Empty, Null, Boolean, Int32, Int64, Double, Currency, Date, Text, Object, Missing, Error };

/// The name of a variant type, as Variant::describe writes it ("Int32").
/// @param type the type.
TABULIX_API std::string_view variantTypeName(VariantType type);

/// @brief A value that crosses the automation boundary: empty, null, a Boolean, a 32- or 64-bit
/// integer, a double, a currency amount, a date, a UTF-8 text, an object, a missing argument or
/// an error value.
/// @threads A value; an object it holds belongs to its application's thread.
class TABULIX_API Variant {
public:
    /// An empty variant.
    Variant() = default;
    /// A variant holding a value of the parameter's type.
    /// @param value the value.
    ///@{
    Variant(bool value) : value_(value) {}
    Variant(std::int32_t value) : value_(value) {}
    Variant(std::int64_t value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(Currency value) : value_(value) {}
    Variant(Date value) : value_(value) {}
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(std::string_view value) : value_(std::string(value)) {}
    Variant(const char* value) : value_(std::string(value)) {}
    Variant(DispatchPtr value) : value_(std::move(value)) {}
    Variant(ErrorValue value) : value_(value) {}
    ///@}

    /// The null variant (a database NULL).
    static Variant null() { Variant v; v.value_ = NullTag{}; return v; }
    /// A missing optional argument.
    static Variant missing() { Variant v; v.value_ = MissingTag{}; return v; }

    /// What the variant holds.
    VariantType type() const { return static_cast<VariantType>(value_.index()); }
    /// Whether the variant is empty.
    bool isEmpty() const { return type() == VariantType::Empty; }
    /// Whether the variant is null.
    bool isNull() const { return type() == VariantType::Null; }
    /// Whether the variant is a missing argument.
    bool isMissing() const { return type() == VariantType::Missing; }
    /// Whether the variant holds an Int32, Int64, Double, Currency or Date.
    bool isNumeric() const;

    /// The value as a Boolean (a number is true when not 0; the texts "True" and "False").
    /// Conversions follow the automation rules; empty converts to 0, false or "".
    /// @throws AutomationError ("type mismatch") when the value cannot be converted.
    bool toBool() const;
    /// The value as a 32-bit integer, rounded half to even.
    /// @throws AutomationError when it cannot be converted or does not fit.
    std::int32_t toInt32() const;
    /// The value as a 64-bit integer, rounded half to even.
    /// @throws AutomationError when it cannot be converted or does not fit.
    std::int64_t toInt64() const;
    /// The value as a double.
    /// @throws AutomationError when it cannot be converted.
    double toDouble() const;
    /// The value as a currency amount.
    /// @throws AutomationError when it cannot be converted or does not fit.
    Currency toCurrency() const;
    /// The value as a date.
    /// @throws AutomationError when it cannot be converted.
    Date toDate() const;
    /// The value as a text; numbers with up to 15 significant digits and "." for decimals.
    /// @throws AutomationError for an object or a missing argument.
    std::string toText() const;
    /// The object the variant holds.
    /// @throws AutomationError when it holds none.
    DispatchPtr toObject() const;
    /// The error value the variant holds.
    /// @throws AutomationError when it holds none.
    ErrorValue toError() const;

    /// The value of type T without conversion, or nullptr when the variant holds another type.
    template <class T> const T* getIf() const { return std::get_if<T>(&value_); }

    /// A readable form for journals and messages: Text("Hoja1"), Int32(5), Missing.
    std::string describe() const;

    /// Whether two variants hold the same type and value.
    /// @param other the other variant.
    bool operator==(const Variant& other) const;

private:
    struct NullTag { bool operator==(const NullTag&) const = default; };
    struct MissingTag { bool operator==(const MissingTag&) const = default; };
    // Order matches VariantType.
    std::variant<std::monostate, NullTag, bool, std::int32_t, std::int64_t, double, Currency, Date, std::string,
                 DispatchPtr, MissingTag, ErrorValue>
        value_;
};

}  // namespace tabulix::automation
