#include "office/calc_view_data.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tabulix::office {
namespace {

TEST(CalcViewData, ReadsEverySheetsPanesAndWritesBackOnlyTheOneChanged) {
    // Three sheets: the first as Calc writes a sheet never split ("/"), the second frozen at C5
    // after scrolling to row 10 ("+"), the third too short to read.
    const std::string text = "100/60/0;1;tw:270;0/0/0/0/0/0/2/0/0/0/0;2+13+2+2+2+13+3+0+2+9+13;7/7;";
    ViewData views(text);
    EXPECT_EQ(views.activeSheet(), 1u);
    ASSERT_GE(views.sheetCount(), 3u);

    const SheetView plain = views.sheet(0);
    EXPECT_FALSE(plain.frozen());
    EXPECT_EQ(plain.firstRow(), 0);

    const SheetView frozen = views.sheet(1);
    EXPECT_TRUE(frozen.frozen());
    EXPECT_EQ(frozen.frozenColumns(), 2);
    EXPECT_EQ(frozen.frozenRows(), 4);
    EXPECT_EQ(frozen.firstColumn(), 0);
    EXPECT_EQ(frozen.firstRow(), 9);
    EXPECT_EQ(frozen.scrollingColumn(), 2);
    EXPECT_EQ(frozen.scrollingRow(), 13);

    EXPECT_FALSE(views.sheet(2).frozen());

    // What the window sets reads back the same, and the other sheets' parts stay as they were.
    views.setSheet(0, SheetView::at(3, 99, 1, 2));
    const ViewData again(views.text());
    const SheetView set = again.sheet(0);
    EXPECT_EQ(set.firstColumn(), 3);
    EXPECT_EQ(set.firstRow(), 99);
    EXPECT_EQ(set.frozenColumns(), 1);
    EXPECT_EQ(set.frozenRows(), 2);
    EXPECT_EQ(set.scrollingColumn(), 4);
    EXPECT_EQ(set.scrollingRow(), 101);
    EXPECT_EQ(views.text().substr(views.text().find(";2+13")), text.substr(text.find(";2+13")));

    // Rows only, columns only: the pane that scrolls both ways starts right of / below the frozen part.
    const SheetView rows = SheetView::at(2, 0, 0, 3);
    EXPECT_EQ(rows.frozenColumns(), 0);
    EXPECT_EQ(rows.scrollingColumn(), 2);
    EXPECT_EQ(rows.scrollingRow(), 3);
    const SheetView columns = SheetView::at(0, 7, 2, 0);
    EXPECT_EQ(columns.frozenRows(), 0);
    EXPECT_EQ(columns.firstRow(), 7);
    EXPECT_EQ(columns.scrollingRow(), 7);
}

TEST(CalcViewData, TextWithoutTheActiveSheetsPartIsRefused) {
    for (const char* text : {"", "100/60/0", "100/60/0;x;tw:270;0/0/0/0/0/0/2/0/0/0/0", "100/60/0;1;tw:270;0/0/0"})
        EXPECT_THROW(ViewData{text}, std::runtime_error) << text;
}

}  // namespace
}  // namespace tabulix::office
