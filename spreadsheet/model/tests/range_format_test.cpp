#include <gtest/gtest.h>

#include "automation/automation_error.h"
#include "spreadsheet_test_support.h"

using namespace tabulix::spreadsheet;
using namespace tabulix::spreadsheet::testing;
using tabulix::automation::AutomationError;
namespace xl = tabulix::automation::xl;

class RangeFormat : public SpreadsheetTest {
protected:
    void setBorder(const std::string& first, const std::string& last, int index, int weight) {
        DispatchPtr borders = object(range(first, last)->get(dispid::Borders));
        object(borders->get(dispid::Item, {Variant(index)}))->put(dispid::Weight, Variant(weight));
    }
    BorderWeight side(const std::string& cell, CellSide which) {
        return sheet->cellStyle(parseCellName(cell)).border(which).weight;
    }
};

TEST_F(RangeFormat, OuterEdgesGoToTheOuterCellsOnly) {
    setBorder("B2", "D4", xl::EdgeLeft, xl::Thick);
    setBorder("B2", "D4", xl::EdgeTop, xl::Thin);
    setBorder("B2", "D4", xl::EdgeBottom, xl::Medium);
    setBorder("B2", "D4", xl::EdgeRight, xl::Hairline);
    for (const char* cell : {"B2", "B3", "B4"}) EXPECT_EQ(side(cell, CellSide::Left), BorderWeight::Thick) << cell;
    for (const char* cell : {"B2", "C2", "D2"}) EXPECT_EQ(side(cell, CellSide::Top), BorderWeight::Thin) << cell;
    for (const char* cell : {"B4", "C4", "D4"}) EXPECT_EQ(side(cell, CellSide::Bottom), BorderWeight::Medium) << cell;
    for (const char* cell : {"D2", "D3", "D4"}) EXPECT_EQ(side(cell, CellSide::Right), BorderWeight::Hairline) << cell;
    // The middle cell and the inner sides of edge cells have no line.
    for (CellSide s : {CellSide::Left, CellSide::Right, CellSide::Top, CellSide::Bottom})
        EXPECT_EQ(side("C3", s), BorderWeight::None);
    EXPECT_EQ(side("B2", CellSide::Right), BorderWeight::None);
    EXPECT_EQ(side("B2", CellSide::Bottom), BorderWeight::None);
    // Nothing outside the range was created or changed.
    EXPECT_EQ(sheet->cells().find({1, 2}), nullptr);
    EXPECT_EQ(sheet->cells().find({3, 1}), nullptr);
}

TEST_F(RangeFormat, InsideLinesLieBetweenTheCells) {
    setBorder("A1", "C3", xl::InsideHorizontal, xl::Thin);
    EXPECT_EQ(side("A1", CellSide::Top), BorderWeight::None);
    EXPECT_EQ(side("A1", CellSide::Bottom), BorderWeight::Thin);
    EXPECT_EQ(side("B2", CellSide::Top), BorderWeight::Thin);
    EXPECT_EQ(side("B2", CellSide::Bottom), BorderWeight::Thin);
    EXPECT_EQ(side("C3", CellSide::Top), BorderWeight::Thin);
    EXPECT_EQ(side("C3", CellSide::Bottom), BorderWeight::None);
    EXPECT_EQ(side("B2", CellSide::Left), BorderWeight::None);
    setBorder("A1", "C3", xl::InsideVertical, xl::Medium);
    EXPECT_EQ(side("A2", CellSide::Left), BorderWeight::None);
    EXPECT_EQ(side("A2", CellSide::Right), BorderWeight::Medium);
    EXPECT_EQ(side("B2", CellSide::Left), BorderWeight::Medium);
    EXPECT_EQ(side("C2", CellSide::Right), BorderWeight::None);
    // An outline sent after the inside lines keeps its own weight where they meet.
    setBorder("A1", "C3", xl::EdgeBottom, xl::Thick);
    EXPECT_EQ(side("B3", CellSide::Bottom), BorderWeight::Thick);
    EXPECT_EQ(side("B3", CellSide::Top), BorderWeight::Thin);
}

TEST_F(RangeFormat, SingleCellsAndPerCellLines) {
    // Inside lines of one cell touch nothing; edges and per-cell lines fall on the cell itself.
    setBorder("C5", "C5", xl::InsideHorizontal, xl::Thick);
    setBorder("C5", "C5", xl::InsideVertical, xl::Thick);
    for (CellSide s : {CellSide::Left, CellSide::Right, CellSide::Top, CellSide::Bottom})
        EXPECT_EQ(side("C5", s), BorderWeight::None);
    EXPECT_TRUE(object(range("C5")->get(dispid::Borders, {Variant(xl::InsideHorizontal)}))->get(dispid::Weight).isNull());
    setBorder("C5", "C5", xl::EdgeTop, xl::Thick);
    EXPECT_EQ(side("C5", CellSide::Top), BorderWeight::Thick);
    setBorder("A1", "B2", xl::CellBottom, xl::Thin);
    for (const char* cell : {"A1", "B1", "A2", "B2"}) EXPECT_EQ(side(cell, CellSide::Bottom), BorderWeight::Thin);
    setBorder("A1", "B2", xl::DiagonalUp, xl::Medium);
    EXPECT_EQ(side("B1", CellSide::DiagonalUp), BorderWeight::Medium);
    EXPECT_EQ(side("B1", CellSide::DiagonalDown), BorderWeight::None);
    // Colour alone draws a thin line in that colour; system colours resolve.
    DispatchPtr border = object(range("E1")->get(dispid::Borders, {Variant(xl::EdgeLeft)}));
    border->put(dispid::Color, Variant(0x0000FF));  // red, as 0x00BBGGRR
    EXPECT_EQ(sheet->cellStyle({1, 5}).border(CellSide::Left), (BorderLine{BorderWeight::Thin, 0xFF0000}));
    border->put(dispid::Color, Variant(static_cast<std::int32_t>(0x80000008u)));  // window text
    EXPECT_EQ(sheet->cellStyle({1, 5}).border(CellSide::Left).colour, 0x000000u);
    EXPECT_THROW(border->put(dispid::Weight, Variant(7)), AutomationError);
    EXPECT_THROW(border->put(dispid::Color, Variant(static_cast<std::int32_t>(0x12345678))), AutomationError);
    EXPECT_THROW(range("A1")->get(dispid::Borders, {Variant(13)}), AutomationError);
}

TEST_F(RangeFormat, NeighboursNeverDisagreeAboutASharedLine) {
    setBorder("A1", "A1", xl::EdgeBottom, xl::Thin);
    setBorder("A2", "A2", xl::EdgeTop, xl::Thick);  // the same line, seen from below
    EXPECT_EQ(side("A1", CellSide::Bottom), BorderWeight::Thick);
    EXPECT_EQ(side("A2", CellSide::Top), BorderWeight::Thick);
    // A neighbour without the line is left alone (the line belongs to the cell that draws it).
    setBorder("C1", "C1", xl::EdgeRight, xl::Medium);
    EXPECT_EQ(sheet->cells().find({1, 4}), nullptr);
}

TEST_F(RangeFormat, FontInteriorAlignmentAndShrink) {
    DispatchPtr font = object(range("A1", "B2")->get(dispid::Font));
    font->put(dispid::Name, Variant("Arial"));
    font->put(dispid::Size, Variant(14));
    font->put(dispid::Bold, Variant(true));
    font->put(dispid::Italic, Variant(true));
    font->put(dispid::Underline, Variant(true));
    font->put(dispid::Color, Variant(0xFF0000));  // blue as 0x00BBGGRR
    object(range("A1", "B2")->get(dispid::Interior))->put(dispid::Color, Variant(0xC0C0C0));
    range("A1", "B2")->put(dispid::HorizontalAlignment, Variant(xl::HAlignCenter));
    range("A1", "B2")->put(dispid::ShrinkToFit, Variant(true));
    const CellStyle& s = sheet->cellStyle({2, 2});
    EXPECT_EQ(s.font, (FontStyle{"Arial", 14.0, 0x0000FF, true, true, Underline::Single}));
    EXPECT_EQ(s.fill, 0xC0C0C0u);
    EXPECT_EQ(s.alignment, HorizontalAlignment::Center);
    EXPECT_TRUE(s.shrinkToFit);
    EXPECT_EQ(sheet->cellStyle({1, 1}), s);
    EXPECT_EQ(sheet->cells().find({1, 1})->style, sheet->cells().find({2, 2})->style);  // one interned style
    EXPECT_EQ(font->get(dispid::Name), Variant("Arial"));
    EXPECT_EQ(range("A1")->get(dispid::HorizontalAlignment), Variant(xl::HAlignCenter));
    EXPECT_THROW(range("A1")->put(dispid::HorizontalAlignment, Variant(99)), AutomationError);
    EXPECT_THROW(font->put(dispid::Size, Variant(0)), AutomationError);
    EXPECT_THROW(sheet->restyle(CellRect{{1, 1}, {1048576, 16384}}, [](CellStyle&) {}), AutomationError);
}

TEST_F(RangeFormat, MergeKeepsTheFirstContentAndMergesRowsWhenAcross) {
    putValue("B1", Variant("title"));
    putValue("C1", Variant(5));
    range("A1", "C1")->put(dispid::ShrinkToFit, Variant(false));
    range("A1", "C1")->put(dispid::MergeCells, Variant(false));
    range("A1", "C1")->call(dispid::Merge, {Variant(1)});
    EXPECT_EQ(sheet->merges(), (std::vector<CellRect>{{{1, 1}, {1, 3}}}));
    EXPECT_EQ(range("A1")->get(dispid::Value), Variant("title"));
    EXPECT_TRUE(range("B1")->get(dispid::Value).isEmpty());
    EXPECT_TRUE(range("C1")->get(dispid::Value).isEmpty());
    EXPECT_EQ(range("B1")->get(dispid::MergeCells), Variant(true));
    range("A3", "C4")->call(dispid::Merge, {Variant(true)});
    EXPECT_EQ(sheet->merges().size(), 3u);  // one per row
    EXPECT_TRUE(range("A2", "C3")->get(dispid::MergeCells).isNull());
    range("A3", "C4")->put(dispid::MergeCells, Variant(true));  // replaces the two row merges
    EXPECT_EQ(sheet->merges().size(), 2u);
    range("A1", "Z9")->put(dispid::MergeCells, Variant(false));
    EXPECT_TRUE(sheet->merges().empty());
    range("D7")->call(dispid::Merge);  // one cell: nothing to merge
    EXPECT_TRUE(sheet->merges().empty());
}

TEST_F(RangeFormat, ColumnWidthsReadAndWrite) {
    EXPECT_EQ(range("B1")->get(dispid::ColumnWidth), Variant(Worksheet::kDefaultColumnWidth));
    DispatchPtr columns = object(range("B1", "C9")->get(dispid::Columns));
    columns->put(dispid::ColumnWidth, Variant(20.5));
    EXPECT_EQ(sheet->columnWidth(2), 20.5);
    EXPECT_EQ(sheet->columnWidth(3), 20.5);
    EXPECT_EQ(range("A1", "B1")->get(dispid::ColumnWidth).type(), tabulix::automation::VariantType::Null);
    EXPECT_THROW(columns->put(dispid::ColumnWidth, Variant(256)), AutomationError);
    EXPECT_THROW(columns->put(dispid::ColumnWidth, Variant(-1)), AutomationError);
    EXPECT_EQ(sheet->columnWidth(2), 20.5);
}
