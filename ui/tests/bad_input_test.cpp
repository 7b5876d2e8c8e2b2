// The window under input it must survive, and the chart kinds it draws.
#include <QChart>
#include <QLineEdit>

#include "spreadsheet/measure/column_width.h"
#include "spreadsheet/model/chart_sheet.h"
#include "ui/chart_sheet_view.h"
#include "ui/tests/window_fixture.h"
#include "ui/workbook_page.h"
#include "ui/worksheet_grid.h"
#include "ui/worksheet_model.h"
#include "ui/worksheet_view.h"

using namespace tabulix;
using namespace tabulix::ui;
using namespace tabulix::ui::testing;
using automation::Variant;

namespace {

class WindowBadInputTest : public ShownWorkbookTest {
protected:
    void SetUp() override {
        ShownWorkbookTest::SetUp();
        const char* months[] = {"Ene", "Feb", "Mar"};
        for (std::uint32_t c = 0; c < 3; ++c) put({1, c + 2}, Variant(months[c]));
        put({2, 1}, Variant("Norte"));
        put({3, 1}, Variant("Sur"));
        for (std::uint32_t r = 2; r <= 3; ++r)
            for (std::uint32_t c = 2; c <= 4; ++c) put({r, c}, Variant(double(r * 10 + c)));
    }

    void put(spreadsheet::CellAddress at, const Variant& v) {
        sheet->setValue({at, at}, v, automation::kLcidSpanishSpain);
    }

    std::shared_ptr<spreadsheet::ChartSheet> addChart() {
        return std::static_pointer_cast<spreadsheet::ChartSheet>(book->addSheets(spreadsheet::SheetType::Chart));
    }

    ChartSheetView* chartView(const spreadsheet::Sheet& shown) {
        return qobject_cast<ChartSheetView*>(window->pageOf(*book)->viewOf(shown));
    }

};

TEST_F(WindowBadInputTest, DrawsEveryChartKindAndNamesTheFlatOnes) {
    for (std::int32_t gallery : spreadsheet::galleryCodes()) {
        auto chart = addChart();
        spreadsheet::ChartWizardSettings settings;
        settings.sourceSheet = sheet;
        settings.source = spreadsheet::parseRangeRef("A1:D3");
        settings.gallery = gallery;
        settings.title = "Ventas";
        chart->chartWizard(settings);
        settle();
        ChartSheetView* view = chartView(*chart);
        ASSERT_NE(view, nullptr);
        const auto kind = *spreadsheet::chartKindOfGallery(gallery);
        ASSERT_NE(view->chart(), nullptr) << gallery;
        EXPECT_EQ(view->chart()->title(), "Ventas");
        EXPECT_FALSE(view->chart()->series().isEmpty()) << gallery;
        const bool flat = spreadsheet::isThreeD(kind) || kind == spreadsheet::ChartKind::Surface;
        EXPECT_EQ(view->caption().contains("2-D"), flat) << view->caption().toStdString();
        EXPECT_FALSE(view->grab().isNull());
    }
}

TEST_F(WindowBadInputTest, AChartWithoutDataSaysSoAndFollowsItsDataLater) {
    auto chart = addChart();
    settle();
    ChartSheetView* view = chartView(*chart);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->chart(), nullptr);
    EXPECT_FALSE(view->grab().isNull());

    spreadsheet::ChartWizardSettings settings;
    settings.sourceSheet = sheet;
    settings.source = spreadsheet::parseRangeRef("B2:D3");
    chart->chartWizard(settings);
    ASSERT_NE(view->chart(), nullptr);
    // A value changed by automation shows in the chart the next time it is drawn.
    put({2, 2}, Variant(500.0));
    settle();
    chart->activate();
    settle();
    ASSERT_NE(view->chart(), nullptr);
}

TEST_F(WindowBadInputTest, AWorkbookClosedByAutomationTakesItsPageAndTheWindowGoesOn) {
    auto other = app->addWorkbook();
    ASSERT_EQ(window->workbookPages()->count(), 2);
    other->close();
    settle();
    ASSERT_EQ(window->workbookPages()->count(), 1);
    EXPECT_EQ(window->page(0)->workbook(), book);
    EXPECT_EQ(window->workbookPages()->currentIndex(), 0);
    // Still usable: a tab click and a typed value reach the remaining workbook.
    book->addSheets(spreadsheet::SheetType::Worksheet);
    clickTab(window->sheetTabs(0), 1);
    EXPECT_EQ(book->activeSheet(), sheet);
    book->close();
    settle();
    EXPECT_EQ(window->workbookPages()->count(), 0);
    EXPECT_EQ(window->activeSheetView(), nullptr);
    EXPECT_FALSE(window->grab().isNull());
}

TEST_F(WindowBadInputTest, ASheetRenamedOrDeletedWhileShownLeavesAUsableWindow) {
    auto chart = addChart();
    spreadsheet::ChartWizardSettings settings;
    settings.sourceSheet = sheet;
    settings.source = spreadsheet::parseRangeRef("A1:D3");
    chart->chartWizard(settings);
    auto second = book->addSheets(spreadsheet::SheetType::Worksheet);
    settle();
    QTabBar* tabs = window->sheetTabs(0);
    ASSERT_EQ(tabs->count(), 3);
    second->setName("Nueva");
    EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "Nueva");

    // The shown sheet goes: the next one is shown; its data sheet going empties the chart.
    book->deleteSheet(*second);
    settle();
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(book->activeSheet(), chart);
    EXPECT_EQ(window->activeSheetView(), window->pageOf(*book)->viewOf(*chart));
    book->deleteSheet(*sheet);
    settle();
    ASSERT_EQ(tabs->count(), 1);
    EXPECT_EQ(chartView(*chart)->chart(), nullptr);
    EXPECT_FALSE(window->grab().isNull());
}

TEST_F(WindowBadInputTest, LongTextsLargeFontsAndFarCellsAreShown) {
    const std::string longText(32767, 'x');
    put({5, 1}, Variant(longText));
    put({40000, 30}, Variant(1.0));  // beyond Z and beyond the rows shown so far
    sheet->restyle({{7, 1}, {7, 1}}, [](spreadsheet::CellStyle& s) { s.font.size = 28; });
    put({7, 1}, Variant("Grande"));
    settle();
    auto* view = qobject_cast<WorksheetView*>(window->activeSheetView());
    ASSERT_NE(view, nullptr);
    EXPECT_GE(view->model().rowCount(), 40000);
    EXPECT_GE(view->model().columnCount(), 30);
    EXPECT_EQ(view->model().headerData(29, Qt::Horizontal, Qt::DisplayRole).toString(), "AD");
    EXPECT_GT(view->rowHeightFor(7), view->rowHeightFor(1));
    EXPECT_EQ(view->grid()->rowHeight(6), view->rowHeightFor(7));
    view->grid()->setCurrentCell(4, 0);
    EXPECT_EQ(view->formulaBar()->text().size(), 32767);
    EXPECT_FALSE(window->grab().isNull());
    view->grid()->setCurrentCell(39999, 29);
    EXPECT_EQ(view->grid()->cellAt(view->grid()->cellRect(39999, 29).center()), std::make_pair(39999, 29));
    EXPECT_FALSE(window->grab().isNull());
}

TEST_F(WindowBadInputTest, NumbersTooWideForTheirColumnShowHashesAsTheSpreadsheetDoes) {
    put({1, 6}, Variant(123456789012.0));
    sheet->setNumberFormat({{1, 6}, {1, 6}}, "#.##0,00", automation::kLcidSpanishSpain);
    sheet->setColumnWidth(6, 6, 3.0);
    settle();
    auto* view = qobject_cast<WorksheetView*>(window->activeSheetView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->model().look(0, 5).text, "123.456.789.012,00");  // what the cell holds
    EXPECT_TRUE(view->model().look(0, 5).number);
    EXPECT_EQ(view->grid()->columnWidth(5), spreadsheet::columnPixelsForWidth(3.0, 7.0));
}

}  // namespace
