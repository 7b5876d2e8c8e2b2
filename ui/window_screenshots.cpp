// Saves pictures of the spreadsheet window: the demonstration workbook's data sheet as the
// transfer leaves it, a chart sheet of each of the thirteen kinds drawn from its data, a chart
// of 18 series, and a 600,000-row sheet with frozen headings and filter buttons scrolled to row
// 500,000.
//
//   window-screenshots DEMO.form OUTPUT_FOLDER

#include <QApplication>
#include <QDir>
#include <QTabBar>
#include <iostream>

#include "cli/transfer_source.h"
#include "component/tabulix.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/chart_series.h"
#include "spreadsheet/model/chart_sheet.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"
#include "ui/chart_data.h"
#include "ui/embedded_spreadsheet_window.h"
#include "ui/spreadsheet_window.h"
#include "ui/worksheet_grid.h"
#include "ui/worksheet_view.h"

using namespace tabulix;

namespace {

bool save(ui::SpreadsheetWindow& window, const QDir& folder, const QString& name) {
    window.applyPendingChanges();
    QCoreApplication::processEvents();
    const QString path = folder.filePath(name + ".png");
    if (!window.grab().save(path)) {
        std::cerr << "window-screenshots: cannot write " << path.toStdString() << "\n";
        return false;
    }
    std::cout << path.toStdString() << "\n";
    return true;
}

void put(spreadsheet::Worksheet& sheet, std::uint32_t row, std::uint32_t column, const automation::Variant& value) {
    sheet.setValue({{row, column}, {row, column}}, value, automation::kLcidSpanishSpain);
}

// A column chart of 18 series over six categories, on a sheet of its own data.
void addEighteenSeriesChart(spreadsheet::Workbook& book) {
    auto data = std::static_pointer_cast<spreadsheet::Worksheet>(
        book.addSheets(spreadsheet::SheetType::Worksheet, nullptr, book.sheets().back().get()));
    data->setName("Series");
    constexpr std::uint32_t kSeries = 18, kCategories = 6;
    for (std::uint32_t s = 1; s <= kSeries; ++s) put(*data, 1, s + 1, automation::Variant("Serie " + std::to_string(s)));
    for (std::uint32_t c = 1; c <= kCategories; ++c) {
        put(*data, c + 1, 1, automation::Variant("Grupo " + std::to_string(c)));
        for (std::uint32_t s = 1; s <= kSeries; ++s) put(*data, c + 1, s + 1, automation::Variant(10.0 + s + 3.0 * c));
    }
    auto chart = std::static_pointer_cast<spreadsheet::ChartSheet>(
        book.addSheets(spreadsheet::SheetType::Chart, nullptr, book.sheets().back().get()));
    spreadsheet::ChartWizardSettings settings;
    settings.sourceSheet = data;
    settings.source = {{1, 1}, {kCategories + 1, kSeries + 1}};
    settings.gallery = spreadsheet::galleryCode(spreadsheet::ChartKind::Column);
    settings.plotBy = static_cast<std::int32_t>(spreadsheet::PlotBy::Columns);  // a series per column
    settings.title = "18 series";
    chart->chartWizard(settings);
}

// 600,000 rows under a title and a heading row, frozen with the first column, with filter
// buttons on the headings, the columns fitted.
void addTallFrozenSheet(spreadsheet::Workbook& book) {
    auto sheet = std::static_pointer_cast<spreadsheet::Worksheet>(
        book.addSheets(spreadsheet::SheetType::Worksheet, nullptr, book.sheets().back().get()));
    sheet->setName("Alta");
    constexpr std::uint32_t kRows = 600'000, kColumns = 6;
    put(*sheet, 1, 1, automation::Variant("INFORME DE 600.000 FILAS"));
    for (std::uint32_t c = 1; c <= kColumns; ++c) put(*sheet, 2, c, automation::Variant("Columna " + std::to_string(c)));
    for (std::uint32_t r = 3; r <= kRows; ++r)
        for (std::uint32_t c = 1; c <= kColumns; ++c) put(*sheet, r, c, automation::Variant(r * 10.0 + c));
    spreadsheet::Panes panes;
    panes.splitRows = 2;
    panes.splitColumns = 1;
    panes.frozen = true;
    sheet->setPanes(panes);
    sheet->setAutoFilter(spreadsheet::CellRect{{2, 1}, {kRows, kColumns}});
    // Fitted as a transfer fits its block: the headings with room for their buttons.
    sheet->autoFit(spreadsheet::CellRect{{2, 1}, {kRows, kColumns}});
    book.activateSheet(*sheet);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    if (argc != 3) {
        std::cerr << "Uso: window-screenshots DEMO.form CARPETA\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(folder.path());
    try {
        ui::installEmbeddedSpreadsheetWithWindow();
        cli::RegisterProgramClasses();
        cli::TransferSource source = cli::LoadFormSource(argv[1], "");
        source.tabulix->SetVisible(true);
        source.tabulix->TraspasarNuevoLibro();
        ui::SpreadsheetWindow* window = ui::runningSpreadsheetWindow();
        if (!window) throw std::runtime_error("the spreadsheet window did not start");
        window->resize(1200, 760);
        bool ok = save(*window, folder, "data-sheet");

        // One chart sheet per kind: the descriptions and the three months of the first records.
        auto app = spreadsheet::runningEmbeddedApplication();
        auto book = app->activeWorkbook();
        auto data = std::dynamic_pointer_cast<spreadsheet::Worksheet>(book->activeSheet());
        if (!data) throw std::runtime_error("the transfer left no worksheet active");
        const int first = source.tabulix->PrimeraFilaDatos();
        const std::string block = "B" + std::to_string(first - 1) + ":E" + std::to_string(first + 5);
        for (std::int32_t gallery : spreadsheet::galleryCodes()) {
            auto chart = std::static_pointer_cast<spreadsheet::ChartSheet>(
                book->addSheets(spreadsheet::SheetType::Chart, nullptr, book->sheets().back().get()));
            spreadsheet::ChartWizardSettings settings;
            settings.sourceSheet = data;
            settings.source = spreadsheet::parseRangeRef(block);
            settings.gallery = gallery;
            const auto kind = *spreadsheet::chartKindOfGallery(gallery);
            settings.title = ui::chartKindLabel(kind);
            settings.categoryTitle = "Artículos";
            settings.valueTitle = "Importe";
            chart->chartWizard(settings);
            ok = save(*window, folder, QStringLiteral("chart-%1").arg(QString::fromUtf8(
                                                    std::string(spreadsheet::galleryName(kind)).c_str()))) && ok;
        }

        addEighteenSeriesChart(*book);
        ok = save(*window, folder, "chart-18-series") && ok;
        addTallFrozenSheet(*book);
        window->applyPendingChanges();
        QCoreApplication::processEvents();
        if (auto* view = qobject_cast<ui::WorksheetView*>(window->activeSheetView()))
            view->grid()->scrollToTopLeft(499'999, 1);
        ok = save(*window, folder, "frozen-headings-row-500000") && ok;
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "window-screenshots: " << e.what() << "\n";
        return 1;
    }
}
