#include "spreadsheet/formula/evaluator.h"

#include "spreadsheet/formula/evaluation_context.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/operators.h"

namespace tabulix::spreadsheet::formula {

namespace {

Operand resolveReference(const Formula& formula, const Reference& ref, const CellPosition& at, const FormulaHost& host) {
    int sheet = at.sheet;
    if (ref.sheetName != Reference::kOwnSheet) {
        auto index = host.sheetIndex(formula.text(ref.sheetName));
        if (!index) return Value(ErrorCode::Ref);
        sheet = *index;
    }
    return RangeOperand{sheet, ref.rect};
}

}  // namespace

Value Evaluator::evaluate(const Formula& formula, const CellPosition& at) {
    EvaluationContext context(host_, clock_, at);
    stack_.clear();
    for (const Token& token : formula.tokens()) {
        context.setArrayMode(token.arrayContext);
        switch (token.kind) {
        case TokenKind::Number: stack_.emplace_back(Value(formula.number(token.operand))); break;
        case TokenKind::Text: stack_.emplace_back(Value(formula.text(token.operand))); break;
        case TokenKind::Boolean: stack_.emplace_back(Value(token.operand != 0)); break;
        case TokenKind::Error: stack_.emplace_back(Value(static_cast<ErrorCode>(token.operand))); break;
        case TokenKind::Reference:
            stack_.push_back(resolveReference(formula, formula.references()[token.operand], at, host_));
            break;
        case TokenKind::Missing: stack_.emplace_back(Value()); break;
        case TokenKind::Parentheses:
        case TokenKind::UnaryPlus: break;
        case TokenKind::Negate:
        case TokenKind::Percent: {
            Operand& operand = stack_.back();
            if (token.arrayContext && EvaluationContext::isMultiCell(operand))
                operand = context.elementwise({&operand, 1}, [&](std::span<const Value> v) { return applyUnary(token.kind, v[0]); });
            else
                operand = applyUnary(token.kind, context.toValue(operand));
            break;
        }
        case TokenKind::Call: {
            const FunctionInfo& info = functionInfo(token.operand);
            const std::span<Operand> arguments(stack_.data() + stack_.size() - token.argumentCount, token.argumentCount);
            Operand result;
            if (info.operandFunction) {
                result = info.operandFunction(arguments, context);
            } else if (token.arrayContext && std::any_of(arguments.begin(), arguments.end(), EvaluationContext::isMultiCell)) {
                result = context.elementwise(arguments, [&](std::span<const Value> v) { return info.valueFunction(v, context); });
            } else {
                arguments_.clear();
                for (const Operand& argument : arguments) arguments_.push_back(context.toValue(argument));
                result = info.valueFunction(arguments_, context);
            }
            stack_.resize(stack_.size() - token.argumentCount);
            stack_.push_back(std::move(result));
            break;
        }
        default: {
            Operand right = std::move(stack_.back());
            stack_.pop_back();
            Operand& left = stack_.back();
            if (token.arrayContext && (EvaluationContext::isMultiCell(left) || EvaluationContext::isMultiCell(right))) {
                const Operand pair[] = {std::move(left), std::move(right)};
                left = context.elementwise(pair, [&](std::span<const Value> v) { return applyBinary(token.kind, v[0], v[1]); });
            } else {
                left = applyBinary(token.kind, context.toValue(left), context.toValue(right));
            }
        }
        }
    }
    Value result = context.toValue(stack_.back());
    stack_.clear();
    if (result.isEmpty()) return Value(0.0);
    if (result.isNumber()) return numberResult(result.number());
    return result;
}

}  // namespace tabulix::spreadsheet::formula
