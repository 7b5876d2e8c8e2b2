#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "automation/automation_error.h"
#include "spreadsheet/model/chart_sheet.h"
#include "spreadsheet/model/tests/chart_demo_sheet.h"
#include "spreadsheet_test_support.h"

using namespace tabulix::spreadsheet;
using namespace tabulix::spreadsheet::testing;
using tabulix::automation::AutomationError;

namespace {

class ChartWizard : public SpreadsheetTest {
protected:
    void SetUp() override {
        SpreadsheetTest::SetUp();
        sheet->setName("Ejemplo");
        fillDemoSalesSheet(sheet);
        chart = std::static_pointer_cast<ChartSheet>(book->addSheets(SheetType::Chart));
    }

    // ChartWizard through the dispatch entry; arguments not given are missing.
    void wizard(const std::vector<Variant>& args) {
        chart->invoke(dispid::ChartWizard, tabulix::automation::InvokeKind::Method, args);
    }

    // The demonstration's call: B2:E20, columns, by rows, one label row and one label column.
    void demonstration() {
        wizard({Variant(range("B2", "E20")), Variant(3), Variant::missing(), Variant(1), Variant(1), Variant(1),
                Variant(true), Variant("Titulo grafica"), Variant("Eje Categoria."), Variant("Eje Valores"),
                Variant("Eje extra 3d")});
    }

    // The message of the error `fn` raises ("" when it raises none).
    static std::string refusal(const std::function<void()>& fn) {
        try {
            fn();
        } catch (const AutomationError& e) {
            return e.what();
        }
        return "";
    }

    std::string reference(const CellRect& rect) const { return sheetReference(sheet->name(), rect); }

    std::shared_ptr<ChartSheet> chart;
};

std::vector<std::string> seriesNames(const ChartModel& model) {
    std::vector<std::string> names;
    for (const ChartSeries& s : model.series) names.push_back(s.cells.name ? rangeName(*s.cells.name) : s.literalName);
    return names;
}

}  // namespace

TEST_F(ChartWizard, TheDemonstrationBlockGivesOneSeriesPerArticleOverTheMonths) {
    demonstration();
    ASSERT_TRUE(chart->model());
    const ChartModel& m = *chart->model();
    EXPECT_EQ(m.kind, ChartKind::Column);
    EXPECT_EQ(m.plotBy, PlotBy::Rows);
    EXPECT_EQ(m.dataSheet.lock(), sheet);
    ASSERT_EQ(m.series.size(), 18u);
    EXPECT_EQ(reference(*m.series[0].cells.name), "'Ejemplo'!$B$3");
    EXPECT_EQ(reference(*m.series[0].cells.categories), "'Ejemplo'!$C$2:$E$2");
    EXPECT_EQ(reference(m.series[0].cells.values), "'Ejemplo'!$C$3:$E$3");
    EXPECT_EQ(reference(m.series[17].cells.values), "'Ejemplo'!$C$20:$E$20");
    EXPECT_EQ(m.title, "Titulo grafica");
    EXPECT_EQ(m.categoryTitle, "Eje Categoria.");
    EXPECT_EQ(m.valueTitle, "Eje Valores");
    EXPECT_EQ(m.seriesTitle, "Eje extra 3d");
    EXPECT_TRUE(m.hasLegend);

    // The same block by columns: the three months are the series, the articles the categories.
    wizard({Variant::missing(), Variant(-4100), Variant::missing(), Variant(2)});
    const ChartModel& byColumns = *chart->model();
    EXPECT_EQ(byColumns.kind, ChartKind::Column3D);
    EXPECT_EQ(seriesNames(byColumns), (std::vector<std::string>{"C2", "D2", "E2"}));
    EXPECT_EQ(reference(*byColumns.series[0].cells.categories), "'Ejemplo'!$B$3:$B$20");
    EXPECT_EQ(byColumns.title, "Titulo grafica");  // kept from the first call
}

TEST_F(ChartWizard, RefusedArgumentsAreNamedAndLeaveTheChartAsItWas) {
    demonstration();
    auto refused = [&](const std::vector<Variant>& args) { return refusal([&] { wizard(args); }); };
    const Variant block(range("B2", "E20"));
    const Variant m = Variant::missing();
    struct Case {
        std::vector<Variant> args;
        std::string expected;
    };
    auto other = Application::create();
    auto otherSheet = std::static_pointer_cast<Worksheet>(other->addWorkbook()->sheets().front());
    auto secondBook = app->addWorkbook();
    auto secondSheet = std::static_pointer_cast<Worksheet>(secondBook->sheets().front());
    const Case cases[] = {
        {{Variant("B2:E20")}, "the source (argument 1) must be a Range"},
        {{Variant(otherSheet->range("A1:B3"))}, "the source (argument 1) must be a range of this application"},
        {{Variant(secondSheet->range("A1:B3"))}, "a chart plots cells of its own workbook"},
        {{block, Variant(7)}, "the gallery (argument 2) must be one of the chart gallery codes 3, -4100"},
        {{block, Variant(3), Variant(11)}, "the format (argument 3) must be from 1 to 10, not 11"},
        {{block, Variant(3), m, Variant(3)}, "the plot-by (argument 4) must be 1 (rows) or 2 (columns), not 3"},
        {{block, Variant(3), m, Variant(0)}, "(argument 4)"},
        {{block, Variant(3), m, Variant(1), Variant(-1)}, "the category label count (argument 5) must be 0 or more"},
        {{block, Variant(3), m, Variant(1), Variant(1), Variant(-2)}, "the series label count (argument 6) must be 0"},
        {{block, Variant(3), m, Variant(1), Variant(19)},
         "the category label count (argument 5) is 19, which leaves no row of values in the block B2:E20"},
        {{block, Variant(3), m, Variant(2), Variant(1), Variant(19)},
         "the series label count (argument 6) is 19, which leaves no row of values"},
        {{block, Variant(3), m, Variant(2), Variant(4)}, "leaves no column of values"},
        {{Variant(range("A1", "A300")), Variant(3), m, Variant(1), Variant(0), Variant(0)},
         "gives 300 series; a chart holds at most 255"},
        {{Variant(range("A1", "B40000")), Variant(3), m, Variant(2), Variant(0), Variant(0)},
         "gives 40000 points per series; a chart holds at most 32000"},
        {{Variant(range("A1", "Z20000")), Variant(3), m, Variant(2), Variant(0), Variant(0)},
         "A1:Z20000 gives 520000 points; a chart holds at most 256000"},
        {{block, Variant(3), m, Variant("filas")}, "argument 4"},
    };
    for (const Case& c : cases) {
        const std::string message = refused(c.args);
        EXPECT_NE(message.find("Chart.ChartWizard: "), std::string::npos) << message;
        EXPECT_NE(message.find(c.expected), std::string::npos) << message;
    }
    EXPECT_EQ(chart->model()->series.size(), 18u);
    EXPECT_EQ(chart->model()->plotBy, PlotBy::Rows);
    EXPECT_EQ(chart->chart()->categoryLabels, 1);

    // A chart without data needs a source; a source whose workbook closed is refused.
    auto fresh = std::static_pointer_cast<ChartSheet>(book->addSheets(SheetType::Chart));
    EXPECT_NE(refusal([&] { fresh->call(dispid::ChartWizard, {m, Variant(3)}); }).find("source (argument 1) is required"),
              std::string::npos);
    const Variant closedRange(secondSheet->range("A1:B3"));
    secondBook->close();
    EXPECT_NE(refusal([&] { fresh->call(dispid::ChartWizard, {closedRange}); }).find("has been closed"),
              std::string::npos);
    EXPECT_FALSE(fresh->model());
}

TEST_F(ChartWizard, MissingArgumentsTakeTheSpreadsheetsDefaults) {
    // Headings in row 2 and names in column B hold no number: both are label lines. The block
    // is taller than wide, so it is plotted by columns.
    wizard({Variant(range("B2", "E20"))});
    const ChartModel& tall = *chart->model();
    EXPECT_EQ(tall.kind, ChartKind::Column);
    EXPECT_EQ(tall.plotBy, PlotBy::Columns);
    EXPECT_EQ(tall.categoryLabels, 1u);
    EXPECT_EQ(tall.seriesLabels, 1u);
    EXPECT_TRUE(tall.hasLegend);
    EXPECT_TRUE(tall.title.empty());

    // Numbers only and wider than tall: by rows, no labels, series named Serie1, Serie2, ...
    auto numbers = std::static_pointer_cast<ChartSheet>(book->addSheets(SheetType::Chart));
    numbers->call(dispid::ChartWizard, {Variant(range("C3", "E4")), Variant(5), Variant::missing(), Variant::missing(),
                                        Variant::missing(), Variant::missing(), Variant(false)});
    const ChartModel& wide = *numbers->model();
    EXPECT_EQ(wide.kind, ChartKind::Pie);
    EXPECT_EQ(wide.plotBy, PlotBy::Rows);
    EXPECT_EQ(wide.categoryLabels, 0u);
    EXPECT_EQ(seriesNames(wide), (std::vector<std::string>{"Serie1", "Serie2"}));
    EXPECT_FALSE(wide.hasLegend);

    // A single cell is one series of one point.
    numbers->call(dispid::ChartWizard, {Variant(range("C3"))});
    EXPECT_EQ(numbers->model()->series.size(), 1u);
    EXPECT_EQ(numbers->model()->series[0].cells.values, parseRangeRef("C3"));
}

TEST_F(ChartWizard, EveryGalleryCodeSelectsItsKind) {
    const std::pair<std::int32_t, ChartKind> expected[] = {
        {3, ChartKind::Column},     {-4100, ChartKind::Column3D}, {4, ChartKind::Line},     {-4101, ChartKind::Line3D},
        {2, ChartKind::Bar},        {-4099, ChartKind::Bar3D},    {83, ChartKind::Surface}, {-4103, ChartKind::Surface3D},
        {5, ChartKind::Pie},        {-4102, ChartKind::Pie3D},    {1, ChartKind::Area},     {-4098, ChartKind::Area3D},
        {-4151, ChartKind::Radar},
    };
    ASSERT_EQ(galleryCodes().size(), std::size(expected));
    for (const auto& [code, kind] : expected) {
        wizard({Variant(range("B2", "E20")), Variant(code)});
        EXPECT_EQ(chart->model()->kind, kind) << code;
        EXPECT_EQ(galleryCode(kind), code);
    }
    EXPECT_FALSE(chartKindOfGallery(0));
    EXPECT_FALSE(chartKindOfGallery(-4167));
}

TEST(ChartReferences, SheetNamesAreQuotedAndCellsAbsolute) {
    EXPECT_EQ(sheetReference("Hoja1", parseRangeRef("c3:C20")), "'Hoja1'!$C$3:$C$20");
    EXPECT_EQ(sheetReference("Ventas d'Enero", parseRangeRef("AB7")), "'Ventas d''Enero'!$AB$7");
}
