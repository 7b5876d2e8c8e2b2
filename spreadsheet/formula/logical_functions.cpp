// IF, AND, OR, NOT, IFERROR, TRUE, FALSE.

#include <optional>

#include "spreadsheet/formula/evaluation_context.h"
#include "spreadsheet/formula/function_table.h"

namespace tabulix::spreadsheet::formula {

namespace {

Value chooseValue(std::span<const Value> arguments) {
    auto condition = toBoolean(arguments[0]);
    if (!condition.ok()) return condition.error();
    if (*condition) return arguments[1];
    return arguments.size() > 2 ? arguments[2] : Value(false);
}

// The chosen branch is passed on as it is, so IF can hand a range to SUM; an omitted third
// argument gives FALSE.
Operand ifFunction(std::span<Operand> arguments, const EvaluationContext& context) {
    if (context.arrayMode() && EvaluationContext::isMultiCell(arguments[0]))
        return context.elementwise(arguments, chooseValue);
    auto condition = toBoolean(context.toValue(arguments[0]));
    if (!condition.ok()) return Value(condition.error());
    if (*condition) return std::move(arguments[1]);
    return arguments.size() > 2 ? std::move(arguments[2]) : Operand(Value(false));
}

// Direct arguments convert to Booleans (texts only "TRUE"/"FALSE"); in ranges, Booleans and
// numbers count and texts are skipped. Nothing to judge is #VALUE!.
template <bool isAnd>
Operand allOrAny(std::span<Operand> arguments, const EvaluationContext& context) {
    std::optional<ErrorCode> error;
    bool seen = false, result = isAnd;
    context.forEachArgumentValue(arguments, [&](const Value& value, bool direct) {
        if (error) return;
        if (value.isError()) {
            error = value.error();
            return;
        }
        if (!direct && !value.isBoolean() && !value.isNumber()) return;
        auto flag = toBoolean(value);
        if (!flag.ok()) {
            error = flag.error();
            return;
        }
        seen = true;
        result = isAnd ? (result && *flag) : (result || *flag);
    });
    if (error) return Value(*error);
    if (!seen) return Value(ErrorCode::Value);
    return Value(result);
}

Value notFunction(std::span<const Value> arguments, const EvaluationContext&) {
    auto flag = toBoolean(arguments[0]);
    if (!flag.ok()) return flag.error();
    return !*flag;
}

Value ifError(std::span<const Value> arguments, const EvaluationContext&) {
    return arguments[0].isError() ? arguments[1] : arguments[0];
}

Value trueFunction(std::span<const Value>, const EvaluationContext&) { return true; }
Value falseFunction(std::span<const Value>, const EvaluationContext&) { return false; }

constexpr FunctionInfo kFunctions[] = {
    {"IF", 2, 3, nullptr, ifFunction},
    {"AND", 1, kVariadic, nullptr, allOrAny<true>},
    {"OR", 1, kVariadic, nullptr, allOrAny<false>},
    {"NOT", 1, 1, notFunction},
    {"IFERROR", 2, 2, ifError},
    {"TRUE", 0, 0, trueFunction},
    {"FALSE", 0, 0, falseFunction},
};

}  // namespace

std::span<const FunctionInfo> logicalFunctions() { return kFunctions; }

}  // namespace tabulix::spreadsheet::formula
