#pragma once
// A worksheet laid out as the demonstration's transfer leaves its sales table: the title in
// row 1, the headings in row 2 and eighteen articles in rows 3 to 20, with the code in column
// A, the description in B and the sales of three months in C to E.

#include <string>

#include "automation/dispids.h"
#include "automation/variant.h"

namespace tabulix::spreadsheet::testing {

inline constexpr int kDemoFirstRow = 3;
inline constexpr int kDemoLastRow = 20;

// Sales of article i (0-based) in month m (0-based): distinct, positive, with decimals.
inline double demoSales(int article, int month) { return 100.0 * (article + 1) + 37.25 * (month + 1) + 0.5 * article; }

inline void fillDemoSalesSheet(const automation::DispatchPtr& sheet) {
    namespace dispid = automation::dispid;
    using automation::Variant;
    auto put = [&](const std::string& cell, const Variant& value) {
        sheet->get(dispid::Range, {Variant(cell), Variant(cell)}).toObject()->put(dispid::Value, value);
    };
    static const char* const kArticles[] = {
        "Tornillos", "Tuercas",   "Arandelas", "Clavos",     "Brocas",       "Tacos",
        "Bisagras",  "Cerrojos",  "Pomos",     "Escuadras",  "Grapas",       "Remaches",
        "Muelles",   "Cadenas",   "Ganchos",   "Abrazaderas", "Pasadores",   "Cuñas",
    };
    put("A1", Variant("DATOS VENTAS"));
    const char* const headings[] = {"C\xC3\xB3" "digo Articulo", "Descripci\xC3\xB3" "n", "Ventas Enero", "VENTAS_FEB",
                                    "VENTAS_MAR"};
    const char* const columns = "ABCDE";
    for (int c = 0; c < 5; ++c) put(std::string(1, columns[c]) + "2", Variant(headings[c]));
    for (int a = 0; a < kDemoLastRow - kDemoFirstRow + 1; ++a) {
        const std::string row = std::to_string(kDemoFirstRow + a);
        put("A" + row, Variant("ART" + std::to_string(1000 + a)));
        put("B" + row, Variant(kArticles[a]));
        for (int m = 0; m < 3; ++m) put(std::string(1, columns[2 + m]) + row, Variant(demoSales(a, m)));
    }
}

}  // namespace tabulix::spreadsheet::testing
