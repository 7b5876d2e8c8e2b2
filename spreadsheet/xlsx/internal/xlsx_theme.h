#pragma once
// Internal: the theme part of a saved workbook. Readers take the automatic colours of charts
// (and the theme fonts) from it; without one LibreOffice draws columns, bars and areas with no
// fill at all.

#ifndef TABULIX_ROOM_XLSX
#error "an internal header of spreadsheet/xlsx/: outside it, include its public headers"
#endif

#include <string_view>

namespace tabulix::spreadsheet {

// The spreadsheet's standard "Office" theme: its twelve colours, Calibri and Cambria, and the
// three fill, line, effect and background styles a theme must have.
std::string_view officeThemeXml();

}  // namespace tabulix::spreadsheet
