// Number formats and text widths together: the text AutoFit measures for a number is never
// narrower than the text the cell shows, so a fitted column never shows "####".

#include <gtest/gtest.h>

#include "spreadsheet/measure/text_measurer.h"
#include "spreadsheet/numfmt/number_format.h"

using namespace tabulix::spreadsheet;

namespace {

const FontSpec kCalibri{"Calibri", 11.0};

}  // namespace

TEST(ColumnWidth, AutoFittedNumbersNeverShowHashes) {
    // The measuring text of a number is never narrower than what the cell shows.
    TextMeasurer m;
    const NumberConventions es{',', '.'};
    const double mdw = m.maxDigitWidthPixels(kCalibri);
    for (const char* code : {"#,##0.00", "#,##0.00 \"€\"", "#,##0_);(#,##0)", "??0.0?", "0.00E+00", "dd/mm/yyyy"}) {
        const NumberFormat f = NumberFormat::parse(code, 0x0409);
        for (const double v : {0.0, 1.5, -1234.5, 98765432.1, 45292.25}) {
            const double fit = m.widthPixels(f.displayForFit(v, es), kCalibri);
            const double shown = m.widthPixels(f.display(v, es), kCalibri);
            EXPECT_GE(fit, shown) << code << " " << v;
            EXPECT_GE(columnPixelsForWidth(columnWidthForPixels(fit, mdw), mdw), fit + kCellPaddingPixels);
        }
    }
}
