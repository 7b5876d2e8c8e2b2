#pragma once
// Decimal numbers as database servers write them ("-1234.5678"), read exactly as currency values
// (four decimals). Used by the server queries; not part of the library's interface.

#include <string_view>

#include "automation/variant.h"

namespace tabulix::data {

// Raises std::invalid_argument saying what the text is not ("is not a decimal number of at most
// four decimals"): more decimals are refused rather than rounded, and so is a value beyond the
// range of currency values. Trailing zeros after the fourth decimal are accepted.
automation::Currency decimalCurrency(std::string_view text);

}  // namespace tabulix::data
