#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "automation/automation_error.h"
#include "spreadsheet/model/chart_sheet.h"
#include "spreadsheet/model/tests/chart_demo_sheet.h"
#include "spreadsheet/model/tests/spreadsheet_test_support.h"
#include "spreadsheet/xlsx/tests/chart_xlsx_reader.h"
#include "spreadsheet/xlsx/xlsx_export.h"
#include "xlsx_package.h"

using namespace tabulix::spreadsheet;
using namespace tabulix::spreadsheet::testing;
using tabulix::automation::AutomationError;
namespace fs = std::filesystem;

namespace {

class SavedCharts : public SpreadsheetTest {
protected:
    SavedCharts() : SpreadsheetTest(&writeXlsx) {}
    void SetUp() override {
        SpreadsheetTest::SetUp();
        folder = fs::temp_directory_path() / ("chart-test-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        sheet->setName("Ejemplo");
        fillDemoSalesSheet(sheet);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::shared_ptr<ChartSheet> addChart(const std::string& name) {
        auto chart = std::static_pointer_cast<ChartSheet>(book->addSheets(SheetType::Chart));
        chart->setName(name);
        return chart;
    }
    static void wizard(const std::shared_ptr<ChartSheet>& chart, const std::vector<Variant>& args) {
        chart->invoke(dispid::ChartWizard, tabulix::automation::InvokeKind::Method, args);
    }
    // Saves the workbook and returns its parts.
    std::map<std::string, std::string> save(const std::string& name = "charts.xlsx") {
        const fs::path path = folder / name;
        book->saveAs(path.string());
        return zipEntries(path.string());
    }

    fs::path folder;
};

}  // namespace

TEST_F(SavedCharts, EveryKindIsSavedAsItsOwnKind) {
    struct Expected {
        std::int32_t gallery;
        const char* plot;
        bool seriesAxis;
        bool view3D;
        const char* barDir;  // bar kinds only
    };
    const Expected kinds[] = {
        {3, "barChart", false, false, "col"},        {-4100, "bar3DChart", true, true, "col"},
        {4, "lineChart", false, false, nullptr},     {-4101, "line3DChart", true, true, nullptr},
        {2, "barChart", false, false, "bar"},        {-4099, "bar3DChart", false, true, "bar"},
        {83, "surfaceChart", true, true, nullptr},   {-4103, "surface3DChart", true, true, nullptr},
        {5, "pieChart", false, false, nullptr},      {-4102, "pie3DChart", false, true, nullptr},
        {1, "areaChart", false, false, nullptr},     {-4098, "area3DChart", true, true, nullptr},
        {-4151, "radarChart", false, false, nullptr},
    };
    for (const Expected& k : kinds)
        wizard(addChart("K" + std::to_string(k.gallery)),
               {Variant(range("B2", "E20")), Variant(k.gallery), Variant::missing(), Variant(2), Variant(1), Variant(1),
                Variant(true), Variant("Ventas"), Variant("Articulo"), Variant("Euros"), Variant("Mes")});
    const auto entries = save();
    for (const Expected& k : kinds) {
        SCOPED_TRACE(k.gallery);
        const std::string xml = chartPartOf(entries, "K" + std::to_string(k.gallery));
        ASSERT_FALSE(xml.empty());
        const SavedChart chart(xml);
        EXPECT_EQ(chart.plot, k.plot);
        EXPECT_EQ(chart.view3D, k.view3D);
        EXPECT_EQ(chart.title, "Ventas");
        EXPECT_EQ(chart.series.size(), 3u);
        const bool pie = k.gallery == 5 || k.gallery == -4102;
        EXPECT_EQ(chart.axisTitles.count("catAx"), pie ? 0u : 1u);
        EXPECT_EQ(chart.axisTitles.count("serAx"), k.seriesAxis ? 1u : 0u);
        if (k.seriesAxis) {
            EXPECT_EQ(chart.axisTitles.at("serAx"), "Mes");
        }
        if (!pie) {
            EXPECT_EQ(chart.axisTitles.at("valAx"), "Euros");
        }
        if (k.barDir) {
            EXPECT_NE(xml.find(std::string("<c:barDir val=\"") + k.barDir + "\"/>"), std::string::npos);
        }
        // The axes the plot names are the axes drawn.
        const std::size_t axIds = between(xml, "<c:axId val=", "/>").size();
        EXPECT_EQ(axIds, pie ? 0u : 2 * (k.seriesAxis ? 3u : 2u));
    }
    // The placeholder the file writer laid out is gone everywhere.
    for (const auto& [name, content] : entries) EXPECT_EQ(content.find("tabulix-chart-part"), std::string::npos) << name;
}

TEST_F(SavedCharts, TheDemonstrationsChartReadsBack) {
    auto chart = addChart("Grafica");
    wizard(chart, {Variant(range("B2", "E20")), Variant(3), Variant::missing(), Variant(1), Variant(1), Variant(1),
                   Variant(true), Variant("Titulo grafica"), Variant("Eje Categoria."), Variant("Eje Valores"),
                   Variant("Eje extra 3d")});
    sheet->activate();
    const auto entries = save();
    EXPECT_NE(entries.at("xl/workbook.xml").find("<sheet name=\"Grafica\""), std::string::npos);
    EXPECT_TRUE(chartPartOf(entries, "Ejemplo").empty());  // a worksheet, not a chart sheet
    const SavedChart saved(chartPartOf(entries, "Grafica"));
    EXPECT_EQ(saved.plot, "barChart");
    EXPECT_EQ(saved.title, "Titulo grafica");
    EXPECT_EQ(saved.axisTitles.at("catAx"), "Eje Categoria.");
    EXPECT_EQ(saved.axisTitles.at("valAx"), "Eje Valores");
    EXPECT_EQ(saved.axisTitles.count("serAx"), 0u);  // flat columns have no depth axis
    EXPECT_TRUE(saved.legend);
    ASSERT_EQ(saved.series.size(), 18u);
    for (std::size_t i = 0; i < saved.series.size(); ++i) {
        const SavedSeries& s = saved.series[i];
        const std::string row = std::to_string(kDemoFirstRow + i);
        EXPECT_EQ(s.nameRef, "'Ejemplo'!$B$" + row);
        EXPECT_EQ(s.categoriesRef, "'Ejemplo'!$C$2:$E$2");
        EXPECT_EQ(s.valuesRef, "'Ejemplo'!$C$" + row + ":$E$" + row);
        const int a = static_cast<int>(i);
        EXPECT_EQ(s.values, (std::vector<double>{demoSales(a, 0), demoSales(a, 1), demoSales(a, 2)}));
    }
    EXPECT_EQ(saved.series[0].name, "Tornillos");
    const std::string xml = chartPartOf(entries, "Grafica");
    EXPECT_NE(xml.find("<c:v>Ventas Enero</c:v></c:pt><c:pt idx=\"1\"><c:v>VENTAS_FEB</c:v>"), std::string::npos);
}

TEST_F(SavedCharts, CachesAreTheCellsAtSavingAndReferencesFollowARenamedSheet) {
    auto chart = addChart("Grafica");
    wizard(chart, {Variant(range("B2", "E4")), Variant(4), Variant::missing(), Variant(1), Variant(1), Variant(1)});
    range("C3")->put(dispid::Value, Variant(5000.0));
    range("D3")->put(dispid::Value, Variant("n/d"));  // not a number: a gap
    range("B3")->put(dispid::Value, Variant("Tornillos <M6> & tuercas"));
    sheet->setName("Ventas d'Enero & m\xC3\xA1s");
    const SavedChart saved(chartPartOf(save(), "Grafica"));
    ASSERT_EQ(saved.series.size(), 2u);
    EXPECT_EQ(saved.series[0].valuesRef, "'Ventas d''Enero & m\xC3\xA1s'!$C$3:$E$3");
    EXPECT_EQ(saved.series[0].values, (std::vector<double>{5000.0, demoSales(0, 2)}));
    EXPECT_EQ(saved.series[0].name, "Tornillos <M6> & tuercas");
    EXPECT_EQ(saved.plot, "lineChart");
}

TEST_F(SavedCharts, LiteralNamesNestedCategoriesAndNoLegend) {
    // Rows 1 and 2 as two label rows above the months, no name column: the series are named
    // Serie1, Serie2, ... and the categories have two levels, the row next to the values first.
    range("C1")->put(dispid::Value, Variant("Trimestre 1"));
    auto chart = addChart("Niveles");
    wizard(chart, {Variant(range("C1", "E5")), Variant(-4098), Variant::missing(), Variant(1), Variant(2), Variant(0),
                   Variant(false), Variant(""), Variant(""), Variant(""), Variant("Articulo")});
    const auto entries = save();
    const std::string xml = chartPartOf(entries, "Niveles");
    const SavedChart saved(xml);
    EXPECT_EQ(saved.plot, "area3DChart");
    EXPECT_FALSE(saved.legend);
    EXPECT_TRUE(saved.title.empty());
    EXPECT_NE(xml.find("<c:autoTitleDeleted val=\"1\"/>"), std::string::npos);
    EXPECT_EQ(saved.axisTitles.at("serAx"), "Articulo");
    ASSERT_EQ(saved.series.size(), 3u);
    EXPECT_EQ(saved.series[0].name, "Serie1");
    EXPECT_TRUE(saved.series[0].nameRef.empty());
    EXPECT_EQ(saved.series[0].categoriesRef, "'Ejemplo'!$C$1:$E$2");
    const auto levels = between(xml.substr(xml.find("<c:multiLvlStrCache>")), "<c:lvl>", "</c:lvl>");
    ASSERT_GE(levels.size(), 2u);
    EXPECT_NE(levels[0].find("Ventas Enero"), std::string::npos);
    EXPECT_NE(levels[1].find("Trimestre 1"), std::string::npos);
}

TEST_F(SavedCharts, AChartSheetWithoutAChartIsSavedEmpty) {
    addChart("Vacio");
    const SavedChart saved(chartPartOf(save(), "Vacio"));
    EXPECT_EQ(saved.plot, "barChart");
    EXPECT_TRUE(saved.series.empty());
    EXPECT_FALSE(saved.legend);
}

TEST_F(SavedCharts, AFileThatCannotBeWrittenFailsTheSaveWithTheReason) {
    // The parts are compressed and written on a second thread: its failure must reach the save.
    auto chart = addChart("Grafica");
    wizard(chart, {Variant(range("B2", "E20")), Variant(-4103)});
    const int full = ::open("/dev/full", O_WRONLY);
    if (full < 0) GTEST_SKIP() << "/dev/full is not available";
    try {
        writeXlsxPackage(*book, full);
        ADD_FAILURE() << "a workbook was written to a full device";
    } catch (const AutomationError& e) {
        EXPECT_NE(std::string(e.what()).find("No space left"), std::string::npos) << e.what();
    }
    ::close(full);
}

TEST_F(SavedCharts, ValuesAndTheValueAxisKeepTheCellsNumberFormatAndChartSheetsPrintAcrossThePage) {
    range("C3", "E20")->put(dispid::NumberFormat, Variant("###,###,##0.00"), tabulix::automation::kLcidEnglishUS);
    range("E4")->put(dispid::NumberFormat, Variant("0.0%"), tabulix::automation::kLcidEnglishUS);
    auto chart = addChart("Grafica");
    wizard(chart, {Variant(range("B2", "E20")), Variant(3), Variant::missing(), Variant(1), Variant(1), Variant(1),
                   Variant(true)});
    sheet->activate();
    const auto entries = save();
    const std::string xml = chartPartOf(entries, "Grafica");
    EXPECT_NE(xml.find("<c:numCache><c:formatCode>###,###,##0.00</c:formatCode>"), std::string::npos);
    EXPECT_EQ(xml.find("<c:formatCode>General</c:formatCode>"), std::string::npos);
    // A point whose cell has a format of its own keeps it.
    EXPECT_NE(xml.find("<c:pt idx=\"2\" formatCode=\"0.0%\">"), std::string::npos);
    EXPECT_NE(firstMatch(xml, "<c:valAx>.*(<c:numFmt [^>]*>)").find("formatCode=\"###,###,##0.00\" sourceLinked=\"1\""),
              std::string::npos);

    // A theme gives readers the automatic colours of the series (LibreOffice fills nothing without).
    ASSERT_EQ(entries.count("xl/theme/theme1.xml"), 1u);
    EXPECT_NE(entries.at("xl/theme/theme1.xml").find("<a:accent1><a:srgbClr val=\"4F81BD\"/>"), std::string::npos);
    EXPECT_NE(entries.at("xl/_rels/workbook.xml.rels").find("Target=\"theme/theme1.xml\""), std::string::npos);
    EXPECT_NE(entries.at("[Content_Types].xml").find("/xl/theme/theme1.xml"), std::string::npos);

    // Landscape, the chart sized to the window and page.
    std::string chartSheet;
    for (const auto& [name, part] : entries)
        if (name.starts_with("xl/chartsheets/")) chartSheet = part;
    EXPECT_NE(chartSheet.find("<pageSetup orientation=\"landscape\"/>"), std::string::npos) << chartSheet;
    EXPECT_NE(chartSheet.find("<sheetView zoomToFit=\"1\""), std::string::npos) << chartSheet;
}
