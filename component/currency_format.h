#pragma once
// Number format texts the component builds: the exchange of decimal and grouping marks between
// the two notations, and currency formats from the regional currency settings.

#include <string>
#include <string_view>

namespace tabulix::component {

// Exchanges "," and "." everywhere except inside double-quoted literal text and after a
// backslash (the spreadsheet's literal notations), so "kg." in quotes stays "kg.". Applying it
// twice gives back the original text.
std::string SwapDecimalNotation(std::string_view format);

// Decimals of a display format in the point-decimal notation ("###,##0.00" has 2); 2 when the
// format is empty. Only the first section is read; quoted text is skipped.
int DecimalsOf(std::string_view displayFormat);

// A currency format with thousands grouping and `decimals` decimals, the symbol placed by
// `placement` (0 "€1", 1 "1€", 2 "€ 1", 3 "1 €"; other values as 3) and quoted as literal text,
// in comma-decimal notation ("#.##0,00 "€"") when `commaDecimal`, else "#,##0.00 "€"". An empty
// symbol gives the plain grouped number.
std::string CurrencyNumberFormat(const std::string& symbol, int placement, int decimals, bool commaDecimal);

}  // namespace tabulix::component
