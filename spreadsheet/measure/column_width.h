#pragma once
// Column widths in the spreadsheet's character units.
//
// A column width w counts maximum-width digits of the workbook's default font (mdw pixels each);
// the column also holds 5 pixels of cell padding. The spreadsheet shows w to hundredths
// ("8.43"), draws the column round(w * mdw) + 5 pixels wide (for w < 1: round(w * (mdw + 5))),
// and stores trunc(pixels / mdw * 256) / 256 in the file ("9.140625"), which it reads back as
// the same pixels. With Calibri 11 (mdw 7) the default width 8.43 is 64 pixels.

namespace tabulix::spreadsheet {

inline constexpr double kCellPaddingPixels = 5.0;
inline constexpr double kMaxColumnWidthChars = 255.0;

// The narrowest width, to hundredths, whose column holds textPixels of content plus the padding;
// a fitted column is never narrower than its text. 0 when there is nothing to show (textPixels
// <= 0); at most 255. A maxDigitWidthPixels that is not positive counts as 7.
double columnWidthForPixels(double textPixels, double maxDigitWidthPixels);

// Pixels the spreadsheet draws for a column of width w (0 for a hidden column of width 0).
int columnPixelsForWidth(double width, double maxDigitWidthPixels);

// The width as the .xlsx file stores it: pixels in digit widths, truncated to 1/256.
double fileColumnWidth(double width, double maxDigitWidthPixels);

}  // namespace tabulix::spreadsheet
