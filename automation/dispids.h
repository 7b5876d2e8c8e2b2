#pragma once
// DispIDs of the spreadsheet object model: the members the component calls and the events it
// receives. The values are the spreadsheet application's own, so call journals read the same as
// a trace of the real application would.

#include "automation/dispatch.h"

namespace tabulix::automation::dispid {

// Application
inline constexpr DispId Visible = 0x22E;
inline constexpr DispId WindowState = 0x18C;
inline constexpr DispId Workbooks = 0x23C;

// Collections (Workbooks, Sheets, Worksheets, Borders): Item is the default member.
inline constexpr DispId Item = 0x0;
inline constexpr DispId Add = 0xB5;
inline constexpr DispId Count = 0x76;

// Workbook
inline constexpr DispId Name = 0x6E;  // also Worksheet, Chart and Font
inline constexpr DispId Worksheets = 0x1EE;
inline constexpr DispId Sheets = 0x1E5;
inline constexpr DispId ActiveSheet = 0x133;
inline constexpr DispId Activate = 0x130;  // also Worksheet, Chart
inline constexpr DispId Close = 0x115;
inline constexpr DispId SaveAs = 0x11C;
inline constexpr DispId Windows = 0x1AE;
inline constexpr DispId Names = 0x1BA;
inline constexpr DispId BuiltinDocumentProperties = 0x498;

// Windows: Item(1) is the workbook's window. Window: the panes over its active sheet.
inline constexpr DispId FreezePanes = 0x28A;
inline constexpr DispId ScrollColumn = 0x28E;
inline constexpr DispId ScrollRow = 0x28F;
inline constexpr DispId Split = 0x291;
inline constexpr DispId SplitColumn = 0x292;
inline constexpr DispId SplitRow = 0x294;

// Names: Add(Name, RefersTo, Visible), Item, Count. Name: Name, RefersTo, Delete
inline constexpr DispId RefersTo = 0x3AA;
inline constexpr DispId Delete = 0x75;

// DocumentProperties: Item(name) gives a DocumentProperty, whose Value is its default member
inline constexpr DispId PropertyValue = 0x0;

// Worksheet, Chart
inline constexpr DispId Range = 0xC5;
inline constexpr DispId ChartWizard = 0xC4;
inline constexpr DispId PageSetup = 0x3E6;      // Worksheet
inline constexpr DispId AutoFilterMode = 0x318;  // Worksheet

// Range
inline constexpr DispId Value = 0x6;
inline constexpr DispId Formula = 0x105;
inline constexpr DispId Font = 0x92;
inline constexpr DispId Interior = 0x81;
inline constexpr DispId Borders = 0x1B3;
inline constexpr DispId Columns = 0xF1;
inline constexpr DispId HorizontalAlignment = 0x88;
inline constexpr DispId NumberFormat = 0xC1;
inline constexpr DispId ShrinkToFit = 0xD1;
inline constexpr DispId MergeCells = 0xD0;
inline constexpr DispId Merge = 0x234;
inline constexpr DispId AutoFit = 0xED;
inline constexpr DispId ColumnWidth = 0xF2;
inline constexpr DispId RowHeight = 0x110;
inline constexpr DispId AutoFilter = 0x319;

// PageSetup (margins in points)
inline constexpr DispId Orientation = 0x86;
inline constexpr DispId Zoom = 0x297;
inline constexpr DispId LeftMargin = 0x3E7;
inline constexpr DispId RightMargin = 0x3E8;
inline constexpr DispId TopMargin = 0x3E9;
inline constexpr DispId BottomMargin = 0x3EA;
inline constexpr DispId PaperSize = 0x3EF;
inline constexpr DispId CenterFooter = 0x3F2;
inline constexpr DispId CenterHeader = 0x3F3;
inline constexpr DispId FitToPagesTall = 0x3F5;
inline constexpr DispId FitToPagesWide = 0x3F6;
inline constexpr DispId FooterMargin = 0x3F7;
inline constexpr DispId HeaderMargin = 0x3F8;
inline constexpr DispId LeftFooter = 0x3F9;
inline constexpr DispId LeftHeader = 0x3FA;
inline constexpr DispId PrintTitleRows = 0x400;
inline constexpr DispId RightFooter = 0x401;
inline constexpr DispId RightHeader = 0x402;

// Font, Interior, Border
inline constexpr DispId Color = 0x63;
inline constexpr DispId Size = 0x68;
inline constexpr DispId Bold = 0x60;
inline constexpr DispId Italic = 0x65;
inline constexpr DispId Underline = 0x6A;
inline constexpr DispId Weight = 0x78;

// Events
inline constexpr DispId SheetActivate = 0x619;     // Application: (sheet)
inline constexpr DispId WorkbookActivate = 0x620;  // Application: (workbook)
inline constexpr DispId BeforeClose = 0x60A;       // Workbook: (cancel flag, by reference)

}  // namespace tabulix::automation::dispid

namespace tabulix::automation::xl {

inline constexpr std::int32_t WBATWorksheet = -4167;  // Workbooks.Add template; Sheets.Add type
inline constexpr std::int32_t Worksheet = -4167;
inline constexpr std::int32_t Chart = -4109;
inline constexpr std::int32_t Maximized = -4137;
inline constexpr std::int32_t HAlignLeft = -4131;
inline constexpr std::int32_t HAlignCenter = -4108;
inline constexpr std::int32_t HAlignRight = -4152;
inline constexpr std::int32_t HAlignGeneral = 1;
inline constexpr std::int32_t Portrait = 1;  // PageSetup.Orientation
inline constexpr std::int32_t Landscape = 2;
inline constexpr std::int32_t PaperA4 = 9;  // PageSetup.PaperSize

// Border indexes (Borders item)
inline constexpr std::int32_t CellLeft = 1;  // the left line of every cell of the range
inline constexpr std::int32_t CellRight = 2;
inline constexpr std::int32_t CellTop = 3;
inline constexpr std::int32_t CellBottom = 4;
inline constexpr std::int32_t DiagonalDown = 5;
inline constexpr std::int32_t DiagonalUp = 6;
inline constexpr std::int32_t EdgeLeft = 7;
inline constexpr std::int32_t EdgeTop = 8;
inline constexpr std::int32_t EdgeBottom = 9;
inline constexpr std::int32_t EdgeRight = 10;
inline constexpr std::int32_t InsideVertical = 11;
inline constexpr std::int32_t InsideHorizontal = 12;

// Border weights
inline constexpr std::int32_t Hairline = 1;
inline constexpr std::int32_t Thin = 2;
inline constexpr std::int32_t Medium = -4138;
inline constexpr std::int32_t Thick = 4;

}  // namespace tabulix::automation::xl
