// PDemoTabulix: starts the application, shows the demonstration window and runs until it closes.

#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <string>

#include "demo/demo_components.h"
#include "demo/demo_window.h"
#include "demo/error_report.h"
#include "ui/spanish_message.h"
#include "demo/spreadsheet_setup.h"
#include "office/calc_provider.h"

namespace {

// The embedded spreadsheet, or LibreOffice Calc when TABULIX_APPLICATION=calc (with its window
// when TABULIX_CALC_VISIBLE=1). Calc's events from the user's clicks are handed to the component
// on this thread, from the message loop. Without Calc's plug-in the user is told so and gets the
// embedded spreadsheet.
void installSpreadsheet() {
    const char* choice = std::getenv("TABULIX_APPLICATION");
    if (choice && std::string(choice) == "calc") {
        try {
            tabulix::office::InstallCalcProvider(tabulix::office::CalcOptionsFromEnvironment());
            auto* pump = new QTimer(QApplication::instance());
            QObject::connect(pump, &QTimer::timeout, [] {
                try {
                    tabulix::office::DeliverCalcEvents();
                } catch (const std::exception& e) {
                    tabulix::demo::ReportError(tabulix::ui::SpanishMessage(e));
                }
            });
            pump->start(100);
            return;
        } catch (const std::exception& e) {
            tabulix::demo::ReportError(tabulix::ui::SpanishMessage(e));
        }
    }
    tabulix::demo::InstallDemoSpreadsheet();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("PDemoTabulix");
    tabulix::demo::ProgramUiServices services;
    installSpreadsheet();
    int result = 0;
    {
        tabulix::demo::TForm1 form(tabulix::demo::DefaultFormFile());
        QObject::connect(&form, &tabulix::demo::TForm1::closed, &application, &QApplication::quit);
        form.show();
        result = QApplication::exec();
    }
    tabulix::office::ShutDownCalc();
    return result;
}
