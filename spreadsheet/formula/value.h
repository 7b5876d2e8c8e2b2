#pragma once
// The values a formula computes with: nothing, a number, a text, a Boolean or an error value.
// The alternatives and the error codes (the automation CVErr numbers) mirror what a cell holds,
// so that a cell store converts its own values with a cast.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tabulix::spreadsheet::formula {

enum class ErrorCode : std::uint16_t {
    Null = 2000,
    Div0 = 2007,
    Value = 2015,
    Ref = 2023,
    Name = 2029,
    Num = 2036,
    NA = 2042,
};

// "#DIV/0!" and so on.
std::string_view errorText(ErrorCode error);
// The error named by `text` ("#n/a" in any letter case), if it names one.
std::optional<ErrorCode> errorFromText(std::string_view text);

class Value {
public:
    enum class Kind { Empty, Number, Text, Boolean, Error };

    Value() = default;
    Value(double number) : data_(number) {}
    Value(std::string text) : data_(std::move(text)) {}
    Value(std::string_view text) : data_(std::string(text)) {}
    Value(const char* text) : data_(std::string(text)) {}
    Value(bool flag) : data_(flag) {}
    Value(ErrorCode error) : data_(error) {}
    // Plain integers are numbers, never Booleans.
    Value(int number) : data_(static_cast<double>(number)) {}

    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isText() const { return kind() == Kind::Text; }
    bool isBoolean() const { return kind() == Kind::Boolean; }
    bool isError() const { return kind() == Kind::Error; }

    // Unchecked access; call only for the matching kind.
    double number() const { return std::get<double>(data_); }
    const std::string& text() const { return std::get<std::string>(data_); }
    bool boolean() const { return std::get<bool>(data_); }
    ErrorCode error() const { return std::get<ErrorCode>(data_); }

    // Readable form for tests and tools: 3.5, "abc", TRUE, #N/A, (empty).
    std::string describe() const;

    bool operator==(const Value&) const = default;

private:
    std::variant<std::monostate, double, std::string, bool, ErrorCode> data_;
};

}  // namespace tabulix::spreadsheet::formula
