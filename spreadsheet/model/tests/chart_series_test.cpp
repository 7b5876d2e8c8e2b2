#include <gtest/gtest.h>

#include <stdexcept>

#include "spreadsheet/model/chart_series.h"

using namespace tabulix::spreadsheet;

namespace {

CellRect rect(const char* text) { return parseRangeRef(text); }

std::vector<std::string> names(const std::vector<SeriesSource>& series) {
    std::vector<std::string> out;
    for (const SeriesSource& s : series) out.push_back(s.name ? rangeName(*s.name) : "-");
    return out;
}
std::vector<std::string> values(const std::vector<SeriesSource>& series) {
    std::vector<std::string> out;
    for (const SeriesSource& s : series) out.push_back(rangeName(s.values));
    return out;
}

}  // namespace

TEST(ChartSeries, ByRowsTheLeadingRowsAreCategoriesAndTheLeadingColumnsNames) {
    // The demonstration's block: headings in row 2, descriptions in column B.
    const auto series = readSeries(rect("B2:E20"), PlotBy::Rows, 1, 1);
    ASSERT_EQ(series.size(), 18u);
    EXPECT_EQ(series.front(), (SeriesSource{rect("B3"), rect("C2:E2"), rect("C3:E3")}));
    EXPECT_EQ(series.back(), (SeriesSource{rect("B20"), rect("C2:E2"), rect("C20:E20")}));
}

TEST(ChartSeries, ByColumnsTheLeadingColumnsAreCategoriesAndTheLeadingRowsNames) {
    const auto series = readSeries(rect("B2:E20"), PlotBy::Columns, 1, 1);
    EXPECT_EQ(names(series), (std::vector<std::string>{"C2", "D2", "E2"}));
    EXPECT_EQ(values(series), (std::vector<std::string>{"C3:C20", "D3:D20", "E3:E20"}));
    for (const SeriesSource& s : series) EXPECT_EQ(s.categories, rect("B3:B20"));
}

TEST(ChartSeries, LabelCountsOfZeroOneAndTwo) {
    // No labels: every line is a series over the whole width.
    auto none = readSeries(rect("A1:C2"), PlotBy::Rows, 0, 0);
    EXPECT_EQ(names(none), (std::vector<std::string>{"-", "-"}));
    EXPECT_EQ(values(none), (std::vector<std::string>{"A1:C1", "A2:C2"}));
    EXPECT_FALSE(none[0].categories);

    // Two label rows make two-level categories; two label columns a two-cell name.
    auto two = readSeries(rect("A1:D4"), PlotBy::Rows, 2, 2);
    EXPECT_EQ(names(two), (std::vector<std::string>{"A3:B3", "A4:B4"}));
    EXPECT_EQ(values(two), (std::vector<std::string>{"C3:D3", "C4:D4"}));
    EXPECT_EQ(two[0].categories, rect("C1:D2"));

    auto twoByColumns = readSeries(rect("A1:D4"), PlotBy::Columns, 2, 1);
    EXPECT_EQ(names(twoByColumns), (std::vector<std::string>{"C1", "D1"}));
    EXPECT_EQ(values(twoByColumns), (std::vector<std::string>{"C2:C4", "D2:D4"}));
    EXPECT_EQ(twoByColumns[0].categories, rect("A2:B4"));

    // Category labels without name labels, and names without categories.
    auto catsOnly = readSeries(rect("A1:B3"), PlotBy::Columns, 1, 0);
    EXPECT_EQ(values(catsOnly), (std::vector<std::string>{"B1:B3"}));
    EXPECT_EQ(catsOnly[0].categories, rect("A1:A3"));
    auto namesOnly = readSeries(rect("A1:B3"), PlotBy::Columns, 0, 1);
    EXPECT_EQ(names(namesOnly), (std::vector<std::string>{"A1", "B1"}));
    EXPECT_FALSE(namesOnly[0].categories);
}

TEST(ChartSeries, SingleRowsColumnsAndCells) {
    EXPECT_EQ(values(readSeries(rect("A1:A5"), PlotBy::Columns, 0, 0)), (std::vector<std::string>{"A1:A5"}));
    EXPECT_EQ(values(readSeries(rect("A1:A5"), PlotBy::Rows, 0, 0)).size(), 5u);
    auto row = readSeries(rect("B7:F7"), PlotBy::Rows, 0, 1);
    EXPECT_EQ(names(row), (std::vector<std::string>{"B7"}));
    EXPECT_EQ(values(row), (std::vector<std::string>{"C7:F7"}));
    EXPECT_EQ(values(readSeries(rect("C3"), PlotBy::Rows, 0, 0)), (std::vector<std::string>{"C3"}));
}

TEST(ChartSeries, LabelsMustLeaveValuesAndPlotByDefaultsToTheLongerSide) {
    EXPECT_THROW(readSeries(rect("A1:B2"), PlotBy::Rows, 2, 0), std::invalid_argument);
    EXPECT_THROW(readSeries(rect("A1:B2"), PlotBy::Rows, 0, 2), std::invalid_argument);
    EXPECT_THROW(readSeries(rect("A1"), PlotBy::Columns, 0, 1), std::invalid_argument);

    EXPECT_EQ(defaultPlotBy(rect("A1:C10")), PlotBy::Columns);
    EXPECT_EQ(defaultPlotBy(rect("A1:C3")), PlotBy::Columns);
    EXPECT_EQ(defaultPlotBy(rect("A1:J3")), PlotBy::Rows);
    EXPECT_EQ(seriesLineCount(rect("A1:J3"), PlotBy::Rows), 3u);
    EXPECT_EQ(pointLineCount(rect("A1:J3"), PlotBy::Rows), 10u);
}
