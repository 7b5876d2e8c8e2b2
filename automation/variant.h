#pragma once
// The automation variant: the one value type that crosses the automation boundary.
//
// Thread rule: a Variant is a value; copies share nothing but the object a Dispatch variant
// points to, which keeps its own rule (dispatch.h).

#include <compare>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace tabulix::automation {

class Dispatch;
using DispatchPtr = std::shared_ptr<Dispatch>;

// Fixed-point currency: the amount times 10,000 (four decimals, like the OLE CY type).
struct Currency {
    std::int64_t scaled = 0;

    static Currency fromDouble(double amount);
    double toDouble() const { return static_cast<double>(scaled) / 10000.0; }
    auto operator<=>(const Currency&) const = default;
};

// OLE date: days since 1899-12-30, the fraction is the time of day.
struct Date {
    double serial = 0.0;

    static Date fromYmd(int year, int month, int day);
    auto operator<=>(const Date&) const = default;
};

// An error value (SCODE). Missing optional arguments are passed as DISP_E_PARAMNOTFOUND.
struct ErrorValue {
    std::int32_t scode = 0;
    auto operator<=>(const ErrorValue&) const = default;
};

inline constexpr std::int32_t kParamNotFound = static_cast<std::int32_t>(0x80020004u);

enum class VariantType { Empty, Null, Boolean, Int32, Int64, Double, Currency, Date, Text, Object, Missing, Error };

std::string_view variantTypeName(VariantType type);

class Variant {
public:
    Variant() = default;
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

    static Variant null() { Variant v; v.value_ = NullTag{}; return v; }
    static Variant missing() { Variant v; v.value_ = MissingTag{}; return v; }

    VariantType type() const { return static_cast<VariantType>(value_.index()); }
    bool isEmpty() const { return type() == VariantType::Empty; }
    bool isNull() const { return type() == VariantType::Null; }
    bool isMissing() const { return type() == VariantType::Missing; }
    bool isNumeric() const;  // Int32, Int64, Double, Currency, Date

    // Conversions follow the automation rules; an impossible one raises AutomationError
    // ("type mismatch"). Empty converts to 0, false or "".
    bool toBool() const;
    std::int32_t toInt32() const;
    std::int64_t toInt64() const;
    double toDouble() const;
    Currency toCurrency() const;
    Date toDate() const;
    std::string toText() const;  // numbers with up to 15 significant digits, "." decimal
    DispatchPtr toObject() const;
    ErrorValue toError() const;

    // Typed access without conversion; nullptr when the variant holds another type.
    template <class T> const T* getIf() const { return std::get_if<T>(&value_); }

    // Readable form for journals and messages, e.g. Text("Hoja1"), Int32(5), Missing.
    std::string describe() const;

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
