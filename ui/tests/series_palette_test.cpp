// Chart series colours: apart from one another and readable on white, whatever the count, and
// used by the charts the window draws.
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <algorithm>
#include <array>
#include <cmath>
#include <set>

#include "spreadsheet/model/chart_sheet.h"
#include "ui/chart_sheet_view.h"
#include "ui/series_palette.h"
#include "ui/tests/window_fixture.h"
#include "ui/workbook_page.h"

using namespace tabulix;
using namespace tabulix::ui;

namespace {

double linear(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }

double luminance(const QColor& c) {
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

std::array<double, 3> cieLab(const QColor& c) {
    const double r = linear(c.redF()), g = linear(c.greenF()), b = linear(c.blueF());
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double closestPair(int count) {
    double closest = 1e9;
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j) {
            const auto a = cieLab(seriesColour(i)), b = cieLab(seriesColour(j));
            closest = std::min(closest, std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]));
        }
    return closest;
}

TEST(SeriesPalette, StaysApartAndReadableOnWhiteForAnyCount) {
    EXPECT_GE(closestPair(20), 25.0) << "the first twenty are told apart at a glance";
    EXPECT_GE(closestPair(60), 3.0) << "none of the rest repeats another";
    for (int i = 0; i < 200; ++i)
        EXPECT_GE(1.05 / (luminance(seriesColour(i)) + 0.05), 2.0) << "series " << i << " pales against white";
}

class EighteenSeriesChart : public ui::testing::ShownWorkbookTest {};

TEST_F(EighteenSeriesChart, DrawsEachSeriesInItsOwnPaletteColour) {
    for (std::uint32_t row = 1; row <= 18; ++row)
        for (std::uint32_t column = 1; column <= 4; ++column)
            sheet->setValue({{row, column}, {row, column}}, automation::Variant(double(row * 10 + column)),
                            automation::kLcidSpanishSpain);
    auto chart = std::static_pointer_cast<spreadsheet::ChartSheet>(book->addSheets(spreadsheet::SheetType::Chart));
    spreadsheet::ChartWizardSettings settings;
    settings.sourceSheet = sheet;
    settings.source = spreadsheet::parseRangeRef("A1:D18");
    settings.gallery = 3;  // columns
    settings.plotBy = 1;   // a series per row
    chart->chartWizard(settings);
    settle();
    auto* view = qobject_cast<ChartSheetView*>(window->pageOf(*book)->viewOf(*chart));
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->chart(), nullptr);
    auto* bars = qobject_cast<QBarSeries*>(view->chart()->series().value(0));
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->count(), 18);
    std::set<QRgb> colours;
    for (int i = 0; i < 18; ++i) {
        EXPECT_EQ(bars->barSets()[i]->color(), seriesColour(i)) << "series " << i;
        colours.insert(bars->barSets()[i]->color().rgb());
    }
    EXPECT_EQ(colours.size(), 18u);
}

}  // namespace
