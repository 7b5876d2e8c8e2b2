// What the application tells its observers (the window) as automation changes the model.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spreadsheet/model/application.h"
#include "spreadsheet/model/chart_sheet.h"
#include "spreadsheet/model/model_observer.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"

using namespace tabulix::spreadsheet;
using tabulix::automation::Variant;

namespace {

// Records each notice as a line: "cells Hoja1 A1:B2", "activeSheet Libro1", ...
struct NoticeLog : ModelObserver {
    std::vector<std::string> lines;
    void windowChanged(Application& app) override {
        lines.push_back("window " + std::to_string(app.visible()) + " " + std::to_string(app.windowState()));
    }
    void workbookAdded(Workbook& b) override { lines.push_back("added " + b.name()); }
    void workbookRemoved(Workbook& b) override { lines.push_back("removed " + b.name()); }
    void workbookActivated(Workbook& b) override { lines.push_back("activated " + b.name()); }
    void workbookRenamed(Workbook& b) override { lines.push_back("renamed " + b.name().substr(0, 6)); }
    void sheetsChanged(Workbook& b) override { lines.push_back("sheets " + b.name()); }
    void activeSheetChanged(Workbook& b) override { lines.push_back("activeSheet " + b.activeSheet()->name()); }
    void cellsChanged(Worksheet& s, const CellRect& r) override { lines.push_back("cells " + s.name() + " " + rangeName(r)); }
    void layoutChanged(Worksheet& s) override { lines.push_back("layout " + s.name()); }
    void chartChanged(ChartSheet& s) override { lines.push_back("chart " + s.name()); }
    std::vector<std::string> take() { return std::exchange(lines, {}); }
};

using Lines = std::vector<std::string>;

TEST(ModelObserver, HearsOfWorkbooksSheetsAndTheWindow) {
    auto app = Application::create();
    NoticeLog log;
    app->addObserver(log);
    app->addObserver(log);  // once only
    app->setVisible(true);
    app->setVisible(true);  // no change, no notice
    app->setWindowState(-4137);
    EXPECT_EQ(log.take(), (Lines{"window 1 -4143", "window 1 -4137"}));

    auto one = app->addWorkbook();
    auto two = app->addWorkbook();
    EXPECT_EQ(log.take(), (Lines{"added Libro1", "activated Libro1", "added Libro2", "activated Libro2"}));
    two->addSheets(SheetType::Worksheet);
    two->sheetAt(2)->activate();
    two->sheetAt(1)->setName("Ventas");
    EXPECT_EQ(log.take(), (Lines{"sheets Libro2", "activeSheet Hoja2", "activeSheet Hoja1", "sheets Libro2"}));
    // Deleting the active sheet activates the one after it; the only sheet cannot go.
    two->addSheets(SheetType::Worksheet, nullptr, two->sheetAt(2).get());  // Ventas, Hoja1, Hoja3
    auto hoja3 = std::static_pointer_cast<Worksheet>(two->sheetAt(3));
    hoja3->setFormula(parseRangeRef("A1"), Variant("=Hoja1!A1+1"), 0x0C0A);
    two->sheetAt(1)->activate();
    log.take();
    auto hoja1 = two->sheetAt(2);
    two->deleteSheet(*two->sheetAt(1));
    EXPECT_EQ(log.take(), (Lines{"sheets Libro2", "activeSheet Hoja1"}));
    two->deleteSheet(*hoja1);
    EXPECT_FALSE(hoja1->isAttached());
    EXPECT_EQ(two->sheets().size(), 1u);
    const CellValue result = hoja3->cellValue(parseCellName("A1"));
    ASSERT_TRUE(std::holds_alternative<CellError>(result));
    EXPECT_EQ(std::get<CellError>(result), CellError::Ref);
    EXPECT_THROW(two->deleteSheet(*hoja3), tabulix::automation::AutomationError);
    log.take();
    two->close();
    EXPECT_EQ(log.take(), (Lines{"removed Libro2", "activated Libro1"}));

    app->removeObserver(log);
    one->close();
    EXPECT_TRUE(log.take().empty());
}

TEST(ModelObserver, HearsOfCellsLayoutAndCharts) {
    auto app = Application::create();
    auto book = app->addWorkbook();
    auto sheet = std::static_pointer_cast<Worksheet>(book->sheetAt(1));
    NoticeLog log;
    app->addObserver(log);
    sheet->setValue(parseRangeRef("A1:B2"), Variant(1.0), 0x0C0A);
    sheet->setFormula(parseRangeRef("C3"), Variant("=A1+1"), 0x0C0A);
    EXPECT_THROW(sheet->setFormula(parseRangeRef("C4"), Variant("=1+"), 0x0C0A), tabulix::automation::AutomationError);
    sheet->restyle(parseRangeRef("A1"), [](CellStyle& s) { s.font.bold = true; });
    sheet->setBorder(parseRangeRef("B2"), 4, BorderWeight::Thin, std::nullopt);
    EXPECT_EQ(log.take(), (Lines{"cells Hoja1 A1:B2", "cells Hoja1 C3", "cells Hoja1 C4", "cells Hoja1 A1",
                                 "cells Hoja1 A1:C3"}));
    sheet->setColumnWidth(1, 1, 20.0);
    sheet->autoFit(parseRangeRef("A1:B2"));
    sheet->merge(parseRangeRef("A5:C5"), false);
    sheet->unmerge(parseRangeRef("A5"));
    sheet->setRowHeight(3, 3, 30.0);
    EXPECT_EQ(log.take(), (Lines{"layout Hoja1", "layout Hoja1", "cells Hoja1 A5:C5", "layout Hoja1",
                                 "layout Hoja1", "layout Hoja1"}));

    auto chart = std::static_pointer_cast<ChartSheet>(book->addSheets(SheetType::Chart));
    log.take();
    ChartWizardSettings settings;
    settings.sourceSheet = sheet;
    settings.source = parseRangeRef("A1:B2");
    chart->chartWizard(settings);
    EXPECT_EQ(log.take(), (Lines{"chart Gráfico1"}));
    app->removeObserver(log);
}

}  // namespace
