#pragma once
// The built-in functions: name, accepted argument counts and implementation. Internal to the
// formula engine; the parser checks names and counts here, the evaluator calls through it.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "spreadsheet/formula/operand.h"

namespace tabulix::spreadsheet::formula {

class EvaluationContext;

// Arguments reduced to single values first (a range by implicit intersection, or cell by cell
// inside an array argument).
using ValueFunction = Value (*)(std::span<const Value> arguments, const EvaluationContext& context);
// Arguments as they are: ranges stay ranges, for functions that walk them.
using OperandFunction = Operand (*)(std::span<Operand> arguments, const EvaluationContext& context);

struct FunctionInfo {
    std::string_view name;
    std::uint8_t minArguments = 0;
    std::uint8_t maxArguments = 0;
    ValueFunction valueFunction = nullptr;      // exactly one of the two is set
    OperandFunction operandFunction = nullptr;
    bool isVolatile = false;
    bool arrayArguments = false;  // arguments are evaluated as arrays (SUMPRODUCT)
};

inline constexpr std::uint8_t kVariadic = 255;

// Case-insensitive lookup; the id is what a Call token carries.
std::optional<std::uint32_t> findFunction(std::string_view name);
const FunctionInfo& functionInfo(std::uint32_t id);

// The groups the table is made of, each defined next to its implementations.
std::span<const FunctionInfo> statisticalFunctions();
std::span<const FunctionInfo> mathFunctions();
std::span<const FunctionInfo> logicalFunctions();
std::span<const FunctionInfo> textFunctions();

}  // namespace tabulix::spreadsheet::formula
