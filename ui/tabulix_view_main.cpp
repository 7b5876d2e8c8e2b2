// tabulix-view: transfers a form file's data set (or a dBASE table) into the embedded spreadsheet
// and shows the result in the spreadsheet's window, so that a report can be looked at without an
// office suite.
//
//   tabulix-view FILE.form [COMPONENT]
//   tabulix-view --dbf FILE.dbf [TITLE]

#include <QApplication>
#include <QMessageBox>
#include <exception>
#include <iostream>
#include <string>

#include "cli/transfer_source.h"
#include "component/tabulix.h"
#include "ui/embedded_spreadsheet_window.h"
#include "ui/qt_ui_services.h"
#include "ui/spanish_message.h"
#include "ui/spreadsheet_window.h"

namespace {

constexpr const char* kUsage =
    "Uso: tabulix-view FICHERO.form [COMPONENTE]\n"
    "     tabulix-view --dbf FICHERO.dbf [TITULO]\n";

// Says what failed on standard error and in a box; the exit status of a failed run.
int fail(const std::string& message) {
    std::cerr << "tabulix-view: " << message << "\n";
    QMessageBox::critical(nullptr, QStringLiteral("Tabulix"), QString::fromStdString(message));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tabulix"));
    const QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty() || args[0] == "--help" || args[0] == "-h" || (args[0] == "--dbf" && args.size() < 2)) {
        std::cerr << kUsage;
        return args.isEmpty() || args[0] != "--help" ? 2 : 0;
    }
    tabulix::ui::ScopedQtUiServices services;
    tabulix::ui::installEmbeddedSpreadsheetWithWindow();
    try {
        tabulix::cli::RegisterProgramClasses();
        tabulix::cli::TransferSource source =
            args[0] == "--dbf"
                ? tabulix::cli::DbfSource(args[1].toStdString(), args.size() > 2 ? args[2].toStdString() : "")
                : tabulix::cli::LoadFormSource(args[0].toStdString(), args.size() > 1 ? args[1].toStdString() : "");
        source.tabulix->SetVisible(true);
        source.tabulix->TraspasarNuevoLibro();
        tabulix::ui::SpreadsheetWindow* window = tabulix::ui::runningSpreadsheetWindow();
        if (!window) throw std::runtime_error("la hoja de c\xC3\xA1lculo no se ha iniciado");
        window->show();
        window->raise();
        // The window keeps the application (and so the workbook) alive; the data set may go.
        return QApplication::exec();
    } catch (const tabulix::cli::SourceError& e) {
        return fail("No se puede preparar el traspaso: " + std::string(e.what()));
    } catch (const std::exception& e) {
        return fail(tabulix::ui::SpanishMessage(e));
    }
}
