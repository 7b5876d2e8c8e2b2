// CONCATENATE, LEN, LEFT, RIGHT, UPPER, LOWER, TRIM. Lengths count characters, not bytes.

#include <cmath>

#include "spreadsheet/formula/evaluation_context.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/operators.h"
#include "spreadsheet/formula/text_rules.h"

namespace tabulix::spreadsheet::formula {

namespace {

using Values = std::span<const Value>;

Value concatenate(Values arguments, const EvaluationContext&) {
    std::string result;
    for (const Value& argument : arguments) {
        auto text = toText(argument);
        if (!text.ok()) return text.error();
        Value joined = joinTexts(std::move(result), *text);
        if (joined.isError()) return joined;
        result = joined.text();
    }
    return Value(std::move(result));
}

Value length(Values arguments, const EvaluationContext&) {
    auto text = toText(arguments[0]);
    if (!text.ok()) return text.error();
    return Value(static_cast<double>(characterCount(*text)));
}

// LEFT and RIGHT: the count defaults to 1; a negative one is #VALUE!.
template <bool fromStart>
Value edgeCharacters(Values arguments, const EvaluationContext&) {
    auto text = toText(arguments[0]);
    if (!text.ok()) return text.error();
    double count = 1;
    if (arguments.size() > 1) {
        auto given = toNumber(arguments[1]);
        if (!given.ok()) return given.error();
        count = std::trunc(*given);
    }
    if (count < 0) return ErrorCode::Value;
    const auto n = count >= static_cast<double>(kMaxTextLength) ? kMaxTextLength : static_cast<std::size_t>(count);
    return Value(std::string(fromStart ? firstCharacters(*text, n) : lastCharacters(*text, n)));
}

template <std::string (*transform)(std::string_view)>
Value textFunction(Values arguments, const EvaluationContext&) {
    auto text = toText(arguments[0]);
    if (!text.ok()) return text.error();
    return Value(transform(*text));
}

std::string trimmed(std::string_view text) { return trimSpaces(text); }

constexpr FunctionInfo kFunctions[] = {
    {"CONCATENATE", 1, kVariadic, concatenate},
    {"LEN", 1, 1, length},
    {"LEFT", 1, 2, edgeCharacters<true>},
    {"RIGHT", 1, 2, edgeCharacters<false>},
    {"UPPER", 1, 1, textFunction<toUpperCase>},
    {"LOWER", 1, 1, textFunction<toLowerCase>},
    {"TRIM", 1, 1, textFunction<trimmed>},
};

}  // namespace

std::span<const FunctionInfo> textFunctions() { return kFunctions; }

}  // namespace tabulix::spreadsheet::formula
