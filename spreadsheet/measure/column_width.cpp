#include "spreadsheet/measure/column_width.h"

#include <algorithm>
#include <cmath>

namespace tabulix::spreadsheet {
namespace {

double usableDigitWidth(double mdw) { return mdw > 0.0 && std::isfinite(mdw) ? mdw : 7.0; }

}  // namespace

int columnPixelsForWidth(double width, double maxDigitWidthPixels) {
    const double mdw = usableDigitWidth(maxDigitWidthPixels);
    if (!(width > 0.0)) return 0;
    if (width > kMaxColumnWidthChars) width = kMaxColumnWidthChars;
    if (width < 1.0) return static_cast<int>(std::trunc(width * (mdw + kCellPaddingPixels) + 0.5));
    return static_cast<int>(std::trunc(width * mdw + 0.5) + kCellPaddingPixels);
}

double fileColumnWidth(double width, double maxDigitWidthPixels) {
    const double mdw = usableDigitWidth(maxDigitWidthPixels);
    return std::trunc(columnPixelsForWidth(width, mdw) / mdw * 256.0) / 256.0;
}

double columnWidthForPixels(double textPixels, double maxDigitWidthPixels) {
    const double mdw = usableDigitWidth(maxDigitWidthPixels);
    if (!(textPixels > 0.0)) return 0.0;
    // Far beyond the widest column; keeps the arithmetic below in range.
    const double content = std::min(std::ceil(textPixels), 1e7);
    const int needed = static_cast<int>(content + kCellPaddingPixels);
    // The spreadsheet's own rounding to hundredths, then up while the column would still be narrow.
    long hundredths = static_cast<long>(std::trunc(content / mdw * 100.0 + 0.5));
    const long limit = static_cast<long>(kMaxColumnWidthChars * 100);
    while (hundredths < limit && columnPixelsForWidth(hundredths / 100.0, mdw) < needed) ++hundredths;
    return std::min(hundredths, limit) / 100.0;
}

}  // namespace tabulix::spreadsheet
