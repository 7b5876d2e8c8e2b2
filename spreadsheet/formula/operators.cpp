#include "spreadsheet/formula/operators.h"

#include <cmath>

#include "spreadsheet/formula/coercion.h"
#include "spreadsheet/formula/evaluation_context.h"
#include "spreadsheet/formula/text_rules.h"

namespace tabulix::spreadsheet::formula {

Value power(double base, double exponent) {
    if (base == 0.0 && exponent == 0.0) return ErrorCode::Num;
    if (base == 0.0 && exponent < 0.0) return ErrorCode::Div0;
    return numberResult(std::pow(base, exponent));
}

Value joinTexts(std::string a, std::string_view b) {
    a += b;
    if (a.size() > kMaxTextLength && characterCount(a) > kMaxTextLength) return ErrorCode::Value;
    return Value(std::move(a));
}

Value applyUnary(TokenKind kind, const Value& operand) {
    auto number = toNumber(operand);
    if (!number.ok()) return number.error();
    return numberResult(kind == TokenKind::Negate ? -*number : *number / 100.0);
}

Value applyBinary(TokenKind kind, const Value& left, const Value& right) {
    if (kind == TokenKind::Concatenate) {
        auto a = toText(left);
        if (!a.ok()) return a.error();
        auto b = toText(right);
        if (!b.ok()) return b.error();
        return joinTexts(*a, *b);
    }
    if (kind >= TokenKind::Equal && kind <= TokenKind::GreaterEqual) {
        auto order = compareValues(left, right);
        if (!order.ok()) return order.error();
        switch (kind) {
        case TokenKind::Equal: return *order == 0;
        case TokenKind::NotEqual: return *order != 0;
        case TokenKind::Less: return *order < 0;
        case TokenKind::LessEqual: return *order <= 0;
        case TokenKind::Greater: return *order > 0;
        default: return *order >= 0;
        }
    }
    auto a = toNumber(left);
    if (!a.ok()) return a.error();
    auto b = toNumber(right);
    if (!b.ok()) return b.error();
    switch (kind) {
    case TokenKind::Add: return numberResult(*a + *b);
    case TokenKind::Subtract: return numberResult(*a - *b);
    case TokenKind::Multiply: return numberResult(*a * *b);
    case TokenKind::Divide: return *b == 0.0 ? Value(ErrorCode::Div0) : numberResult(*a / *b);
    default: return power(*a, *b);
    }
}

}  // namespace tabulix::spreadsheet::formula
