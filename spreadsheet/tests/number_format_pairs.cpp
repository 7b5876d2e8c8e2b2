// Writes a workbook of number format code/value pairs for the cross-check with Gnumeric: each
// row holds one value in column A shown through one code, and a tab-separated list of what our
// spreadsheet shows for each row (row, code, value, shown text). The display locale is English
// of the United States, as Gnumeric's C locale.
// Usage: number_format_pairs WORKBOOK.xlsx PAIRS.tsv

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "automation/automation_error.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"

using namespace tabulix;

namespace {

const std::vector<std::string> kCodes = {
    "0", "0.00", "#,##0", "#,##0.00", "#,##0.000", "###,###,##0.00", "00000", "#.##", "0.0#", "#,##0,",
    "#,##0,,\"M\"", "0%", "0.00%", "0.0%", "0.00E+00", "##0.0E+0", "0.0E-0", "\"$\"#,##0.00",
    "\"$\"#,##0.00_);(\"$\"#,##0.00)", "#,##0;[Red]-#,##0", "0.0;(0.0);\"cero\"", "0;-0;;@", "0 \"kg\"",
    "# ?/?", "# ?\?/??", "?/?", "# ?/8", "# ?\?/100", "0 0/0", "# ?/2", "?/4",
    "[<0]\"neg\";[>0]\"pos\";\"zero\"", "[>=1000]#,##0,\"K\";0", "[>=100]0;[<=-100]-0;0.00", "[=1]\"uno\";0.0",
    "dd/mm/yyyy", "d/m/yy", "yyyy-mm-dd", "mmm d, yyyy", "mmmm yyyy", "dddd", "ddd dd mmm", "hh:mm", "h:mm AM/PM",
    "hh:mm:ss", "[h]:mm", "[mm]:ss", "yyyy-mm-dd hh:mm:ss", "mm:ss.0", "[$-409]dddd, mmmm d, yyyy",
    "[$-C0A]dddd d \\de mmmm \\de yyyy", "[$-C0A]mmm", "General", "0.000000000", "#,##0.00 \\€", "@", "0;0;0",
    "\\(0\\)", "0.00;-0.00;\"-\"", "#,##0.0,", "000.000", "#", "#.#", "0.#####", "??0.0?", "#,##0_);(#,##0)",
};

const std::vector<double> kValues = {
    0, 1, -1, 0.5, -0.5, 2.5, 1234.5, -1234.5, 3.14159265358979, 0.001, 0.0125, 99.995, 1e6, 123456789,
    -98765.4321, 1e10, 1e-5, 45000, 45000.75, 45366.5, 0.25, 0.75, 1.99, 2.675, 1.005, 10, 100, 999.5,
    1000, -1000, 12345.678, 0.333333333, 0.6666667, 60, 61, 366, 2958465, 7.5, -7.5, 0.1, 1e15, 32767.5,
    0.05, 5.5, 42,
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: number_format_pairs WORKBOOK.xlsx PAIRS.tsv\n");
        return 2;
    }
    try {
        auto app = spreadsheet::createEmbeddedApplication(automation::kLcidEnglishUS);
        const auto book = app->addWorkbook();
        auto sheet = std::static_pointer_cast<spreadsheet::Worksheet>(book->sheets().front());
        std::ofstream pairs(argv[2]);
        std::uint32_t row = 0;
        for (const std::string& code : kCodes) {
            for (double value : kValues) {
                ++row;
                const spreadsheet::CellRect cell{{row, 1}, {row, 1}};
                sheet->setValue(cell, automation::Variant(value), automation::kLcidEnglishUS);
                sheet->setNumberFormat(cell, code, automation::kLcidEnglishUS);
                char number[32];
                std::snprintf(number, sizeof number, "%.17g", value);
                pairs << row << '\t' << code << '\t' << number << '\t' << sheet->displayedText({row, 1}) << '\n';
            }
        }
        book->saveAs(argv[1]);
    } catch (const automation::AutomationError& e) {
        std::fprintf(stderr, "number_format_pairs: %s\n", e.what());
        return 1;
    }
    return 0;
}
