#include "component/currency_format.h"

namespace tabulix::component {

std::string SwapDecimalNotation(std::string_view format) {
    std::string out(format);
    bool quoted = false;
    for (std::size_t i = 0; i < out.size(); ++i) {
        char& c = out[i];
        if (c == '"') quoted = !quoted;
        else if (quoted) continue;
        else if (c == '\\') ++i;  // the next character is literal
        else if (c == ',') c = '.';
        else if (c == '.') c = ',';
    }
    return out;
}

int DecimalsOf(std::string_view displayFormat) {
    if (displayFormat.empty()) return 2;
    bool quoted = false;
    bool afterPoint = false;
    int decimals = 0;
    for (std::size_t i = 0; i < displayFormat.size(); ++i) {
        const char c = displayFormat[i];
        if (c == '"') quoted = !quoted;
        else if (quoted) continue;
        else if (c == '\\') ++i;
        else if (c == ';') break;
        else if (c == '.') afterPoint = true;
        else if (afterPoint && (c == '0' || c == '#' || c == '?')) ++decimals;
        else if (afterPoint && (c == 'E' || c == 'e' || c == '%' || c == ' ')) break;
    }
    return decimals;
}

std::string CurrencyNumberFormat(const std::string& symbol, int placement, int decimals, bool commaDecimal) {
    std::string number = "#,##0";
    if (decimals > 0) number += "." + std::string(static_cast<std::size_t>(decimals), '0');
    if (commaDecimal) number = SwapDecimalNotation(number);
    if (symbol.empty()) return number;
    std::string quoted = "\"";
    for (char c : symbol) quoted += c == '"' ? std::string("\"\\\"\"") : std::string(1, c);
    quoted += "\"";
    std::string positive;  // one section: negative amounts take a leading minus
    switch (placement) {
        case 0: positive = quoted + number; break;
        case 1: positive = number + quoted; break;
        case 2: positive = quoted + " " + number; break;
        default: positive = number + " " + quoted; break;
    }
    return positive;
}

}  // namespace tabulix::component
