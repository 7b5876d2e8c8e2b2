// Opening and scrolling a worksheet of 1,000,000 rows in the spreadsheet window: the time to
// open the view, the time to draw one screen at row 1 and at row 999,990, and the memory the
// view adds, against the workbook's own (resident set sizes read from /proc, the largest seen
// while the view opens and scrolls). The window keeps no copy of the cells and nothing per row.
//
//   window_bench [ROWS]

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"
#include "ui/spreadsheet_window.h"
#include "ui/worksheet_grid.h"
#include "ui/worksheet_view.h"

using namespace tabulix;

namespace {

double residentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        std::getline(status, key);
    }
    return 0.0;
}

double drawScreen(ui::WorksheetGrid& grid, int row) {
    QElapsedTimer timer;
    timer.start();
    grid.scrollToTopLeft(row, 0);
    if (grid.firstVisibleRow() != row) std::fprintf(stderr, "window_bench: row %d is not at the top\n", row);
    const QPixmap screen = grid.viewport()->grab();  // paints every visible cell
    if (screen.isNull()) std::fprintf(stderr, "window_bench: nothing was drawn\n");
    return timer.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    const int rows = argc > 1 ? std::stoi(argv[1]) : 1'000'000;
    // Qt's own start-up (a window, its style, the fonts) is paid once by any window: a window
    // over an empty workbook is opened first, so that the figure below is what the sheet adds.
    const double beforeQt = residentMegabytes();
    {
        auto empty = spreadsheet::createEmbeddedApplication();
        empty->addWorkbook();
        empty->setVisible(true);
        ui::SpreadsheetWindow window(empty);
        window.resize(1200, 800);
        window.show();
        window.grab();
    }
    const double qtStartUp = residentMegabytes() - beforeQt;
    const double before = residentMegabytes();
    auto app = spreadsheet::createEmbeddedApplication();
    auto book = app->addWorkbook();
    auto sheet = std::static_pointer_cast<spreadsheet::Worksheet>(book->sheetAt(1));
    for (int r = 1; r <= rows; ++r) {
        const auto row = static_cast<std::uint32_t>(r);
        sheet->setValue({{row, 1}, {row, 1}}, automation::Variant(static_cast<double>(r)), 0x0C0A);
        sheet->setValue({{row, 2}, {row, 2}}, automation::Variant(r * 1.25), 0x0C0A);
        sheet->setValue({{row, 3}, {row, 3}}, automation::Variant(r % 7 == 0 ? "Madrid" : "Sevilla"), 0x0C0A);
    }
    sheet->setNumberFormat({{1, 2}, {static_cast<std::uint32_t>(rows), 2}}, "#.##0,00", 0x0C0A);
    const double withWorkbook = residentMegabytes();

    QElapsedTimer timer;
    timer.start();
    app->setVisible(true);
    ui::SpreadsheetWindow window(app);
    window.resize(1200, 800);
    window.show();
    auto* view = qobject_cast<ui::WorksheetView*>(window.activeSheetView());
    view->grid()->viewport()->grab();
    const double openMs = timer.nsecsElapsed() / 1e6;
    double withView = residentMegabytes();

    ui::WorksheetGrid& grid = *view->grid();
    drawScreen(grid, 0);  // the first paint loads the fonts
    const double firstScreen = drawScreen(grid, 0);
    const double lastScreen = drawScreen(grid, rows - 11);
    withView = std::max(withView, residentMegabytes());
    const double workbookMb = withWorkbook - before;
    const double viewMb = withView - withWorkbook;
    std::printf("rows                      %d (3 columns, %zu cells, store %.1f MB)\n", rows,
                sheet->cells().cellCount(), sheet->cells().memoryUse() / 1048576.0);
    std::printf("open the window and view  %.1f ms\n", openMs);
    std::printf("draw a screen at row 1    %.2f ms\n", firstScreen);
    std::printf("draw a screen at row %d %.2f ms\n", rows - 10, lastScreen);
    std::printf("workbook resident memory  %.1f MB\n", workbookMb);
    std::printf("Qt start-up (any window)  %.1f MB\n", qtStartUp);
    std::printf("added by the view         %.1f MB (%.1f%% of the workbook's)\n", viewMb,
                workbookMb > 0 ? 100.0 * viewMb / workbookMb : 0.0);
    return 0;
}
