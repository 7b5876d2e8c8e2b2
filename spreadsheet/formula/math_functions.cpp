// Numeric functions of single values: ROUND, ROUNDUP, ROUNDDOWN, INT, ABS, SQRT, MOD, POWER,
// and TODAY.

#include <algorithm>
#include <cmath>

#include "spreadsheet/formula/evaluation_context.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/number_text.h"
#include "spreadsheet/formula/operators.h"

namespace tabulix::spreadsheet::formula {

namespace {

using Values = std::span<const Value>;

// The number of places, truncated toward zero as spreadsheets do (ROUND(x, 1.9) keeps one).
int decimalPlaces(double places) { return static_cast<int>(std::clamp(std::trunc(places), -1000.0, 1000.0)); }

template <Rounding rounding>
Value roundFunction(Values arguments, const EvaluationContext&) {
    auto value = toNumber(arguments[0]);
    if (!value.ok()) return value.error();
    auto places = toNumber(arguments[1]);
    if (!places.ok()) return places.error();
    auto rounded = roundDecimal(*value, decimalPlaces(*places), rounding);
    return rounded ? numberResult(*rounded) : Value(ErrorCode::Num);
}

template <double (*function)(double)>
Value unaryFunction(Values arguments, const EvaluationContext&) {
    auto value = toNumber(arguments[0]);
    if (!value.ok()) return value.error();
    return numberResult(function(*value));
}

double floorOf(double x) { return std::floor(x); }
double absoluteOf(double x) { return std::fabs(x); }

Value squareRoot(Values arguments, const EvaluationContext&) {
    auto value = toNumber(arguments[0]);
    if (!value.ok()) return value.error();
    if (*value < 0) return ErrorCode::Num;
    return numberResult(std::sqrt(*value));
}

// The remainder takes the sign of the divisor: MOD(-1, 3) is 2, MOD(1, -3) is -2.
Value modulo(Values arguments, const EvaluationContext&) {
    auto number = toNumber(arguments[0]);
    if (!number.ok()) return number.error();
    auto divisor = toNumber(arguments[1]);
    if (!divisor.ok()) return divisor.error();
    if (*divisor == 0.0) return ErrorCode::Div0;
    double remainder = std::fmod(*number, *divisor);
    if (remainder != 0.0 && (remainder < 0) != (*divisor < 0)) remainder += *divisor;
    return numberResult(remainder);
}

Value powerFunction(Values arguments, const EvaluationContext&) {
    auto base = toNumber(arguments[0]);
    if (!base.ok()) return base.error();
    auto exponent = toNumber(arguments[1]);
    if (!exponent.ok()) return exponent.error();
    return power(*base, *exponent);
}

Value today(Values, const EvaluationContext& context) { return Value(static_cast<double>(context.clock().todaySerial())); }

constexpr FunctionInfo kFunctions[] = {
    {"ROUND", 2, 2, roundFunction<Rounding::HalfAwayFromZero>},
    {"ROUNDUP", 2, 2, roundFunction<Rounding::AwayFromZero>},
    {"ROUNDDOWN", 2, 2, roundFunction<Rounding::TowardZero>},
    {"INT", 1, 1, unaryFunction<floorOf>},
    {"ABS", 1, 1, unaryFunction<absoluteOf>},
    {"SQRT", 1, 1, squareRoot},
    {"MOD", 2, 2, modulo},
    {"POWER", 2, 2, powerFunction},
    {"TODAY", 0, 0, today, nullptr, true},
};

}  // namespace

std::span<const FunctionInfo> mathFunctions() { return kFunctions; }

}  // namespace tabulix::spreadsheet::formula
