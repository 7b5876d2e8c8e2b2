#include "data/sql/decimal_text.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tabulix::data {

namespace {

[[noreturn]] void notA(const char* what) { throw std::invalid_argument(std::string("is not ") + what); }

}  // namespace

automation::Currency decimalCurrency(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    std::int64_t scaled = 0;
    int decimals = -1;
    bool any = false;
    for (char c : text) {
        if (c == '.' && decimals < 0) {
            decimals = 0;
            continue;
        }
        if (c < '0' || c > '9') notA("a decimal number");
        if (decimals >= 4) {
            if (c != '0') notA("a decimal number of at most four decimals");
            continue;
        }
        if (scaled > (INT64_MAX - 9) / 10) notA("a decimal number within the range of currency values");
        scaled = scaled * 10 + (c - '0');
        any = true;
        if (decimals >= 0) ++decimals;
    }
    if (!any) notA("a decimal number");
    for (int d = decimals < 0 ? 0 : decimals; d < 4; ++d) {
        if (scaled > INT64_MAX / 10) notA("a decimal number within the range of currency values");
        scaled *= 10;
    }
    return automation::Currency{negative ? -scaled : scaled};
}

}  // namespace tabulix::data
