#pragma once
/// @file
/// DispIDs of the spreadsheet object model: the members the component calls and the events it
/// receives. The values are the spreadsheet application's own, so call journals read the same as
/// a trace of the real application would.

#include "automation/dispatch.h"

/// The members of the spreadsheet's objects, by number.
namespace tabulix::automation::dispid {

// Application
inline constexpr DispId Visible = 0x22E;  ///< Application.Visible: whether its window shows.
inline constexpr DispId WindowState = 0x18C;  ///< Application.WindowState: normal, minimised or maximised.
inline constexpr DispId Workbooks = 0x23C;  ///< Application.Workbooks: the open workbooks.

// Collections (Workbooks, Sheets, Worksheets, Borders): Item is the default member.
/// Item of a collection (Workbooks, Sheets, Worksheets, Borders), its default member.
inline constexpr DispId Item = 0x0;
inline constexpr DispId Add = 0xB5;  ///< Add of a collection: a new workbook or sheet.
inline constexpr DispId Count = 0x76;  ///< Count of a collection.

// Workbook
inline constexpr DispId Name = 0x6E;  ///< Name of a workbook, worksheet, chart sheet or font.
inline constexpr DispId Worksheets = 0x1EE;  ///< Workbook.Worksheets: its worksheets.
inline constexpr DispId Sheets = 0x1E5;  ///< Workbook.Sheets: its worksheets and chart sheets.
inline constexpr DispId ActiveSheet = 0x133;  ///< Workbook.ActiveSheet.
inline constexpr DispId Activate = 0x130;  ///< Activate of a workbook, worksheet or chart sheet.
inline constexpr DispId Close = 0x115;  ///< Workbook.Close.
inline constexpr DispId SaveAs = 0x11C;  ///< Workbook.SaveAs(path): saves the workbook as an .xlsx file.
inline constexpr DispId Windows = 0x1AE;  ///< Workbook.Windows: its windows (Item(1) is the workbook's window).
inline constexpr DispId Names = 0x1BA;  ///< Workbook.Names: its defined names.
/// Workbook.BuiltinDocumentProperties: title, subject, author and the others, by name.
inline constexpr DispId BuiltinDocumentProperties = 0x498;

// Window: the panes over its active sheet
inline constexpr DispId FreezePanes = 0x28A;  ///< Window.FreezePanes: whether the panes are frozen.
inline constexpr DispId ScrollColumn = 0x28E;  ///< Window.ScrollColumn: the first column shown.
inline constexpr DispId ScrollRow = 0x28F;  ///< Window.ScrollRow: the first row shown.
inline constexpr DispId Split = 0x291;  ///< Window.Split: whether the window is split into panes.
inline constexpr DispId SplitColumn = 0x292;  ///< Window.SplitColumn: columns left of the split.
inline constexpr DispId SplitRow = 0x294;  ///< Window.SplitRow: rows above the split.

// Names: Add(Name, RefersTo, Visible), Item, Count. Name: Name, RefersTo, Delete
inline constexpr DispId RefersTo = 0x3AA;  ///< Names.Add argument and Name.RefersTo: "=Sheet!$A$1".
inline constexpr DispId Delete = 0x75;  ///< Name.Delete: removes the defined name.

/// DocumentProperty.Value, its default member (reached through Item(name)).
inline constexpr DispId PropertyValue = 0x0;

// Worksheet, Chart
inline constexpr DispId Range = 0xC5;  ///< Range of a worksheet: Range("A1") or Range("A1", "C3").
inline constexpr DispId ChartWizard = 0xC4;  ///< ChartWizard of a chart sheet: draws a chart of a range.
inline constexpr DispId PageSetup = 0x3E6;  ///< Worksheet.PageSetup: its print set-up.
inline constexpr DispId AutoFilterMode = 0x318;  ///< Worksheet.AutoFilterMode: whether it shows filter buttons.

// Range
inline constexpr DispId Value = 0x6;  ///< Range.Value: the cells' values.
inline constexpr DispId Formula = 0x105;  ///< Range.Formula: the cells' formulas.
inline constexpr DispId Font = 0x92;  ///< Range.Font.
inline constexpr DispId Interior = 0x81;  ///< Range.Interior: the background.
/// Range.Borders: the border lines, by the indexes of namespace xl.
inline constexpr DispId Borders = 0x1B3;
inline constexpr DispId Columns = 0xF1;  ///< Range.Columns: its whole columns.
inline constexpr DispId HorizontalAlignment = 0x88;  ///< Range.HorizontalAlignment.
/// Range.NumberFormat, read in the notation of the call's locale.
inline constexpr DispId NumberFormat = 0xC1;
inline constexpr DispId ShrinkToFit = 0xD1;  ///< Range.ShrinkToFit.
inline constexpr DispId MergeCells = 0xD0;  ///< Range.MergeCells: whether the cells are merged.
inline constexpr DispId Merge = 0x234;  ///< Range.Merge: merges the cells.
inline constexpr DispId AutoFit = 0xED;  ///< AutoFit of columns: widths fitted to the contents.
inline constexpr DispId ColumnWidth = 0xF2;  ///< Range.ColumnWidth, in characters.
inline constexpr DispId RowHeight = 0x110;  ///< Range.RowHeight, in points.
inline constexpr DispId AutoFilter = 0x319;  ///< Range.AutoFilter: filter buttons on its first row.

// PageSetup (margins in points)
inline constexpr DispId Orientation = 0x86;  ///< PageSetup.Orientation: xl::Portrait or xl::Landscape.
inline constexpr DispId Zoom = 0x297;  ///< PageSetup.Zoom: a percentage, or false to fit to pages.
inline constexpr DispId LeftMargin = 0x3E7;  ///< PageSetup.LeftMargin, in points.
inline constexpr DispId RightMargin = 0x3E8;  ///< PageSetup.RightMargin, in points.
inline constexpr DispId TopMargin = 0x3E9;  ///< PageSetup.TopMargin, in points.
inline constexpr DispId BottomMargin = 0x3EA;  ///< PageSetup.BottomMargin, in points.
inline constexpr DispId PaperSize = 0x3EF;  ///< PageSetup.PaperSize: xl::PaperA4 and the others.
inline constexpr DispId CenterFooter = 0x3F2;  ///< PageSetup.CenterFooter: the footer's centre text.
inline constexpr DispId CenterHeader = 0x3F3;  ///< PageSetup.CenterHeader: the header's centre text.
inline constexpr DispId FitToPagesTall = 0x3F5;  ///< PageSetup.FitToPagesTall: pages down.
inline constexpr DispId FitToPagesWide = 0x3F6;  ///< PageSetup.FitToPagesWide: pages across.
inline constexpr DispId FooterMargin = 0x3F7;  ///< PageSetup.FooterMargin, in points.
inline constexpr DispId HeaderMargin = 0x3F8;  ///< PageSetup.HeaderMargin, in points.
inline constexpr DispId LeftFooter = 0x3F9;  ///< PageSetup.LeftFooter: the footer's left text.
inline constexpr DispId LeftHeader = 0x3FA;  ///< PageSetup.LeftHeader: the header's left text.
inline constexpr DispId PrintTitleRows = 0x400;  ///< PageSetup.PrintTitleRows: rows repeated on every page.
inline constexpr DispId RightFooter = 0x401;  ///< PageSetup.RightFooter: the footer's right text.
inline constexpr DispId RightHeader = 0x402;  ///< PageSetup.RightHeader: the header's right text.

// Font, Interior, Border
inline constexpr DispId Color = 0x63;  ///< Color of a font, interior or border line (0x00BBGGRR).
inline constexpr DispId Size = 0x68;  ///< Font.Size, in points.
inline constexpr DispId Bold = 0x60;  ///< Font.Bold.
inline constexpr DispId Italic = 0x65;  ///< Font.Italic.
inline constexpr DispId Underline = 0x6A;  ///< Font.Underline.
inline constexpr DispId Weight = 0x78;  ///< Border.Weight: the xl weight codes.

// Events
/// Event of the Application: a sheet was activated (argument: the sheet).
inline constexpr DispId SheetActivate = 0x619;
/// Event of the Application: a workbook was activated (argument: the workbook).
inline constexpr DispId WorkbookActivate = 0x620;
/// Event of a Workbook: it is about to close (argument: the cancel flag, by reference).
inline constexpr DispId BeforeClose = 0x60A;

}  // namespace tabulix::automation::dispid

/// The spreadsheet's constants that calls pass as arguments.
namespace tabulix::automation::xl {

/// Workbooks.Add template: a workbook of one worksheet.
inline constexpr std::int32_t WBATWorksheet = -4167;
inline constexpr std::int32_t Worksheet = -4167;  ///< Sheets.Add type: a worksheet.
inline constexpr std::int32_t Chart = -4109;  ///< Sheets.Add type: a chart sheet.
inline constexpr std::int32_t Maximized = -4137;  ///< Application.WindowState: maximised.
inline constexpr std::int32_t HAlignLeft = -4131;  ///< HorizontalAlignment: left.
inline constexpr std::int32_t HAlignCenter = -4108;  ///< HorizontalAlignment: centred.
inline constexpr std::int32_t HAlignRight = -4152;  ///< HorizontalAlignment: right.
inline constexpr std::int32_t HAlignGeneral = 1;  ///< HorizontalAlignment: by the value's type.
inline constexpr std::int32_t Portrait = 1;  ///< PageSetup.Orientation: portrait.
inline constexpr std::int32_t Landscape = 2;  ///< PageSetup.Orientation: landscape.
inline constexpr std::int32_t PaperA4 = 9;  ///< PageSetup.PaperSize: A4.

// Border indexes (Borders item)
inline constexpr std::int32_t CellLeft = 1;  ///< Borders item: the left line of every cell of the range.
inline constexpr std::int32_t CellRight = 2;  ///< Borders item: the right line of every cell.
inline constexpr std::int32_t CellTop = 3;  ///< Borders item: the top line of every cell.
inline constexpr std::int32_t CellBottom = 4;  ///< Borders item: the bottom line of every cell.
/// Borders item: every cell's diagonal from top left to bottom right.
inline constexpr std::int32_t DiagonalDown = 5;
/// Borders item: every cell's diagonal from bottom left to top right.
inline constexpr std::int32_t DiagonalUp = 6;
inline constexpr std::int32_t EdgeLeft = 7;  ///< Borders item: the range's left edge.
inline constexpr std::int32_t EdgeTop = 8;  ///< Borders item: the range's top edge.
inline constexpr std::int32_t EdgeBottom = 9;  ///< Borders item: the range's bottom edge.
inline constexpr std::int32_t EdgeRight = 10;  ///< Borders item: the range's right edge.
inline constexpr std::int32_t InsideVertical = 11;  ///< Borders item: the lines between the range's columns.
inline constexpr std::int32_t InsideHorizontal = 12;  ///< Borders item: the lines between the range's rows.

// Border weights
inline constexpr std::int32_t Hairline = 1;  ///< Border weight: hairline.
inline constexpr std::int32_t Thin = 2;  ///< Border weight: thin.
inline constexpr std::int32_t Medium = -4138;  ///< Border weight: medium.
inline constexpr std::int32_t Thick = 4;  ///< Border weight: thick.

}  // namespace tabulix::automation::xl
