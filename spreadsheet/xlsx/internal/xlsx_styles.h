#pragma once
// Internal: the styles part of a saved workbook (xl/styles.xml). Every style of the workbook's
// StyleTable becomes the cell format of the same index, so a cell's style id is its "s" value.

#ifndef TABULIX_ROOM_XLSX
#error "an internal header of spreadsheet/xlsx/: outside it, include its public headers"
#endif

namespace tabulix::spreadsheet {

class Workbook;
class XmlPart;

void writeStylesPart(const Workbook& book, XmlPart& out);

// The width a file stores for a column width in characters of the default font: whole pixels
// of 7-pixel digits plus 5 pixels of margin, in 1/256 of a character, as the spreadsheet keeps it.
double storedColumnWidth(double width);

}  // namespace tabulix::spreadsheet
