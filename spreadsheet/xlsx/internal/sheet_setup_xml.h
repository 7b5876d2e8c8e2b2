#pragma once
// Internal: what a worksheet part holds beside its cells, for showing and printing it: the
// sheet's properties (fit to pages), its view with the panes, its autofilter, its margins, page
// set-up and header and footer, and the built-in names they need in the workbook part (the
// filtered block, the rows printed on every page). A sheet left at the defaults gives the same
// elements it always had.

#ifndef TABULIX_ROOM_XLSX
#error "an internal header of spreadsheet/xlsx/: outside it, include its public headers"
#endif

#include <string>

namespace tabulix::spreadsheet {

class Workbook;
class Worksheet;

// <sheetPr>, or "" when it would say nothing.
std::string sheetPropertiesXml(const Worksheet& sheet);
// <sheetViews>, the sheet's one view, selected or not, with its panes.
std::string sheetViewsXml(const Worksheet& sheet, bool selected);
// <autoFilter>, or "".
std::string autoFilterXml(const Worksheet& sheet);
// <pageMargins>, then <pageSetup> and <headerFooter> when they say anything.
std::string pageLayoutXml(const Worksheet& sheet);
// <definedNames> for the workbook's names and every worksheet's built-in ones, or "".
std::string definedNamesXml(const Workbook& book);

}  // namespace tabulix::spreadsheet
