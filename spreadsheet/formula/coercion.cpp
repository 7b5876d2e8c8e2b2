#include "spreadsheet/formula/coercion.h"

#include <cmath>

#include "spreadsheet/formula/number_text.h"
#include "spreadsheet/formula/text_rules.h"

namespace tabulix::spreadsheet::formula {

Checked<double> toNumber(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Empty: return 0.0;
    case Value::Kind::Number: return value.number();
    case Value::Kind::Boolean: return value.boolean() ? 1.0 : 0.0;
    case Value::Kind::Error: return value.error();
    case Value::Kind::Text: {
        auto number = textToNumber(value.text());
        if (number) return *number;
        return ErrorCode::Value;
    }
    }
    return ErrorCode::Value;
}

Checked<std::string> toText(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Empty: return std::string();
    case Value::Kind::Number: return numberToText(value.number());
    case Value::Kind::Boolean: return std::string(value.boolean() ? "TRUE" : "FALSE");
    case Value::Kind::Error: return value.error();
    case Value::Kind::Text: return value.text();
    }
    return ErrorCode::Value;
}

Checked<bool> toBoolean(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Empty: return false;
    case Value::Kind::Number: return value.number() != 0.0;
    case Value::Kind::Boolean: return value.boolean();
    case Value::Kind::Error: return value.error();
    case Value::Kind::Text:
        if (equalsIgnoringCase(value.text(), "TRUE")) return true;
        if (equalsIgnoringCase(value.text(), "FALSE")) return false;
        return ErrorCode::Value;
    }
    return ErrorCode::Value;
}

namespace {

int typeRank(Value::Kind kind) {
    switch (kind) {
    case Value::Kind::Text: return 1;
    case Value::Kind::Boolean: return 2;
    default: return 0;
    }
}

Value blankLike(const Value& other) {
    switch (other.kind()) {
    case Value::Kind::Text: return Value(std::string());
    case Value::Kind::Boolean: return Value(false);
    default: return Value(0.0);
    }
}

int sign(int n) { return (n > 0) - (n < 0); }

}  // namespace

Checked<int> compareValues(const Value& a, const Value& b) {
    if (a.isError()) return a.error();
    if (b.isError()) return b.error();
    if (a.isEmpty() || b.isEmpty()) {
        if (a.isEmpty() && b.isEmpty()) return 0;
        return a.isEmpty() ? compareValues(blankLike(b), b) : compareValues(a, blankLike(a));
    }
    const int rankA = typeRank(a.kind()), rankB = typeRank(b.kind());
    if (rankA != rankB) return rankA < rankB ? -1 : 1;
    switch (a.kind()) {
    case Value::Kind::Number: {
        const double x = roundTo15Digits(a.number()), y = roundTo15Digits(b.number());
        return (x > y) - (x < y);
    }
    case Value::Kind::Text: return sign(compareIgnoringCase(a.text(), b.text()));
    default: return static_cast<int>(a.boolean()) - static_cast<int>(b.boolean());
    }
}

Value numberResult(double number) {
    if (!std::isfinite(number)) return ErrorCode::Num;
    return number == 0.0 ? 0.0 : number;
}

}  // namespace tabulix::spreadsheet::formula
