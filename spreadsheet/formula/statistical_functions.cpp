// Aggregates over ranges and argument lists: SUM, AVERAGE, MAX, MIN, COUNT, COUNTA, VAR, VARP,
// STDEV, STDEVP, MEDIAN, PRODUCT, SUMPRODUCT.
//
// Direct arguments count as the user wrote them (TRUE is 1, "3" is 3, other text is #VALUE!);
// in ranges and arrays only numbers count, text and Booleans are skipped. The first error met
// is the result.

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "spreadsheet/formula/accurate_sum.h"
#include "spreadsheet/formula/evaluation_context.h"
#include "spreadsheet/formula/function_table.h"

namespace tabulix::spreadsheet::formula {

namespace {

using Arguments = std::span<Operand>;

template <class OnNumber>
std::optional<ErrorCode> forEachNumber(Arguments arguments, const EvaluationContext& context, OnNumber&& onNumber) {
    std::optional<ErrorCode> error;
    context.forEachArgumentValue(arguments, [&](const Value& value, bool direct) {
        if (error) return;
        if (value.isError()) {
            error = value.error();
        } else if (direct) {
            auto number = toNumber(value);
            if (number.ok())
                onNumber(*number);
            else
                error = number.error();
        } else if (value.isNumber()) {
            onNumber(value.number());
        }
    });
    return error;
}

// The counted numbers in argument order, or the first error.
Checked<std::vector<double>> collectNumbers(Arguments arguments, const EvaluationContext& context) {
    std::vector<double> numbers;
    if (auto error = forEachNumber(arguments, context, [&](double x) { numbers.push_back(x); })) return *error;
    return numbers;
}

Operand sum(Arguments arguments, const EvaluationContext& context) {
    AccurateSum total;
    if (auto error = forEachNumber(arguments, context, [&](double x) { total.add(x); })) return Value(*error);
    return numberResult(total.value());
}

Operand average(Arguments arguments, const EvaluationContext& context) {
    AccurateSum total;
    double count = 0;
    if (auto error = forEachNumber(arguments, context, [&](double x) { total.add(x), ++count; })) return Value(*error);
    if (count == 0) return Value(ErrorCode::Div0);
    return numberResult(total.value() / count);
}

// MAX and MIN of nothing are 0.
template <bool isMax>
Operand extreme(Arguments arguments, const EvaluationContext& context) {
    std::optional<double> best;
    auto error = forEachNumber(arguments, context, [&](double x) {
        if (!best || (isMax ? x > *best : x < *best)) best = x;
    });
    if (error) return Value(*error);
    return numberResult(best.value_or(0.0));
}

// Numbers, Booleans and numeric texts given directly; numbers in ranges. Errors are not counted
// and do not stop the count.
Operand count(Arguments arguments, const EvaluationContext& context) {
    double n = 0;
    context.forEachArgumentValue(arguments, [&](const Value& value, bool direct) {
        if (value.isNumber() || (direct && (value.isBoolean() || (value.isText() && toNumber(value).ok())))) ++n;
    });
    return Value(n);
}

// Everything that is not empty, errors and empty texts included.
Operand countFilled(Arguments arguments, const EvaluationContext& context) {
    double n = 0;
    context.forEachArgumentValue(arguments, [&](const Value& value, bool) {
        if (!value.isEmpty()) ++n;
    });
    return Value(n);
}

// Sum of squared deviations from the mean, in two passes so that large values with a small
// spread keep their precision.
double squaredDeviations(const std::vector<double>& numbers) {
    AccurateSum total;
    for (double x : numbers) total.add(x);
    const double mean = total.value() / static_cast<double>(numbers.size());
    AccurateSum squares, deviations;
    for (double x : numbers) {
        squares.add((x - mean) * (x - mean));
        deviations.add(x - mean);
    }
    return squares.value() - deviations.value() * deviations.value() / static_cast<double>(numbers.size());
}

// Variance of a sample (n - 1) or of a population (n), optionally as a standard deviation.
template <bool sample, bool root>
Operand spread(Arguments arguments, const EvaluationContext& context) {
    auto numbers = collectNumbers(arguments, context);
    if (!numbers.ok()) return Value(numbers.error());
    const std::size_t n = (*numbers).size();
    if (n == 0 || (sample && n == 1)) return Value(ErrorCode::Div0);
    const double variance = std::max(0.0, squaredDeviations(*numbers)) / static_cast<double>(sample ? n - 1 : n);
    return numberResult(root ? std::sqrt(variance) : variance);
}

Operand median(Arguments arguments, const EvaluationContext& context) {
    auto checked = collectNumbers(arguments, context);
    if (!checked.ok()) return Value(checked.error());
    std::vector<double> numbers = checked.take();
    if (numbers.empty()) return Value(ErrorCode::Num);
    const std::size_t middle = numbers.size() / 2;
    std::nth_element(numbers.begin(), numbers.begin() + static_cast<std::ptrdiff_t>(middle), numbers.end());
    const double upper = numbers[middle];
    if (numbers.size() % 2 == 1) return numberResult(upper);
    const double lower = *std::max_element(numbers.begin(), numbers.begin() + static_cast<std::ptrdiff_t>(middle));
    return numberResult(lower / 2 + upper / 2);
}

// PRODUCT of nothing is 0, as in spreadsheets.
Operand product(Arguments arguments, const EvaluationContext& context) {
    double result = 1.0;
    bool any = false;
    if (auto error = forEachNumber(arguments, context, [&](double x) { result *= x, any = true; })) return Value(*error);
    return numberResult(any ? result : 0.0);
}

// Arrays of equal shape multiplied cell by cell and summed; cells that are not numbers count as 0.
Operand sumProduct(Arguments arguments, const EvaluationContext& context) {
    std::vector<ArrayOperand> arrays;
    for (const Operand& argument : arguments) {
        if (const auto* value = std::get_if<Value>(&argument); value && value->isError()) return *value;
        auto array = context.toArray(argument);
        if (!array.ok()) return Value(array.error());
        if (!arrays.empty() && ((*array).rows != arrays[0].rows || (*array).columns != arrays[0].columns))
            return Value(ErrorCode::Value);
        arrays.push_back(array.take());
    }
    AccurateSum total;
    for (std::size_t i = 0; i < arrays[0].cells.size(); ++i) {
        double term = 1.0;
        for (const ArrayOperand& array : arrays) {
            const Value& cell = array.cells[i];
            if (cell.isError()) return Value(cell.error());
            term *= cell.isNumber() ? cell.number() : 0.0;
        }
        total.add(term);
    }
    return numberResult(total.value());
}

// Every aggregate needs at least one argument, so "=SUM()" is refused, as Excel refuses it (an
// empty argument, "=SUM(,)", is accepted and counts as 0).
constexpr FunctionInfo kFunctions[] = {
    {"SUM", 1, kVariadic, nullptr, sum},
    {"AVERAGE", 1, kVariadic, nullptr, average},
    {"MAX", 1, kVariadic, nullptr, extreme<true>},
    {"MIN", 1, kVariadic, nullptr, extreme<false>},
    {"COUNT", 1, kVariadic, nullptr, count},
    {"COUNTA", 1, kVariadic, nullptr, countFilled},
    {"VAR", 1, kVariadic, nullptr, spread<true, false>},
    {"VARP", 1, kVariadic, nullptr, spread<false, false>},
    {"STDEV", 1, kVariadic, nullptr, spread<true, true>},
    {"STDEVP", 1, kVariadic, nullptr, spread<false, true>},
    {"MEDIAN", 1, kVariadic, nullptr, median},
    {"PRODUCT", 1, kVariadic, nullptr, product},
    {"SUMPRODUCT", 1, kVariadic, nullptr, sumProduct, false, true},
};

}  // namespace

std::span<const FunctionInfo> statisticalFunctions() { return kFunctions; }

}  // namespace tabulix::spreadsheet::formula
