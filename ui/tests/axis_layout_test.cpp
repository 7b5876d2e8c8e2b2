// Row and column positions from a default size and a few exceptions.
#include <gtest/gtest.h>

#include "ui/axis_layout.h"

using tabulix::ui::AxisLayout;

namespace {

TEST(AxisLayout, PositionsAddWhatTheExceptionsBeforeThemAdd) {
    AxisLayout rows(1'000'000, 20);
    rows.setSize(4, 40);       // +20
    rows.setSize(10, 0);       // -20, hidden
    rows.setSize(999'000, 25); // +5
    EXPECT_EQ(rows.position(0), 0);
    EXPECT_EQ(rows.position(4), 80);
    EXPECT_EQ(rows.position(5), 120);
    EXPECT_EQ(rows.position(10), 220);
    EXPECT_EQ(rows.position(11), 220);
    EXPECT_EQ(rows.position(999'000), 999'000 * 20);
    EXPECT_EQ(rows.total(), 1'000'000LL * 20 + 5);
    EXPECT_EQ(rows.exceptions().size(), 3u);

    // Back to the default: the exception goes.
    rows.setSize(4, 20);
    EXPECT_EQ(rows.position(5), 100);
    EXPECT_EQ(rows.exceptions().size(), 2u);
    rows.reset(15);
    EXPECT_EQ(rows.position(11), 165);
    EXPECT_TRUE(rows.exceptions().empty());
}

TEST(AxisLayout, IndexAtFindsTheIndexHoldingAnOffsetAndSkipsHiddenOnes) {
    AxisLayout rows(100, 20);
    rows.setSize(2, 50);
    rows.setSize(3, 0);
    EXPECT_EQ(rows.indexAt(0), 0);
    EXPECT_EQ(rows.indexAt(19), 0);
    EXPECT_EQ(rows.indexAt(20), 1);
    EXPECT_EQ(rows.indexAt(40), 2);
    EXPECT_EQ(rows.indexAt(89), 2);
    EXPECT_EQ(rows.indexAt(90), 4);  // row 3 has no height
    // Clamped to the rows there are.
    EXPECT_EQ(rows.indexAt(-5), 0);
    EXPECT_EQ(rows.indexAt(1'000'000), 99);
    EXPECT_EQ(AxisLayout(0, 20).indexAt(10), 0);
}

TEST(AxisLayout, LastFirstIndexShowsTheLastIndexWhole) {
    AxisLayout rows(1000, 20);
    EXPECT_EQ(rows.lastFirstIndex(200), 990);
    EXPECT_EQ(rows.lastFirstIndex(210), 990);  // a part row more does not fit another whole one
    EXPECT_EQ(rows.lastFirstIndex(1'000'000), 0);
    rows.setSize(999, 100);
    EXPECT_EQ(rows.lastFirstIndex(200), 994);  // 994..998 and the tall 999 fill it exactly
    // Smaller than the last index itself: the last one is still reachable.
    EXPECT_EQ(rows.lastFirstIndex(50), 999);
}

TEST(AxisLayout, SizesGivenBeyondTheCountApplyOnceItGrows) {
    AxisLayout columns(52, 64);
    columns.setSize(60, 100);
    EXPECT_EQ(columns.total(), 52 * 64);
    columns.setCount(70);
    EXPECT_EQ(columns.size(60), 100);
    EXPECT_EQ(columns.total(), 70 * 64 + 36);
    EXPECT_EQ(columns.indexAt(61 * 64 + 36), 61);
}

}  // namespace
