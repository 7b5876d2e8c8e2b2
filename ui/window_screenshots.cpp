// Saves pictures of the spreadsheet window: the demonstration workbook's data sheet as the
// transfer leaves it, and a chart sheet of each of the thirteen kinds drawn from its data.
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
#include "spreadsheet/model/chart_sheet.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"
#include "ui/chart_data.h"
#include "ui/embedded_spreadsheet_window.h"
#include "ui/spreadsheet_window.h"

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
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "window-screenshots: " << e.what() << "\n";
        return 1;
    }
}
