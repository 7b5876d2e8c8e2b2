#include "demo/spreadsheet_setup.h"

#include <stdexcept>

#include "ui/embedded_spreadsheet_window.h"
#include "ui/qt_ui_services.h"
#include "ui/spreadsheet_window.h"

namespace tabulix::demo {

void InstallDemoSpreadsheet() { ui::installEmbeddedSpreadsheetWithWindow(); }

QWidget* RunningSpreadsheetWindow() { return ui::runningSpreadsheetWindow(); }

void SaveActiveWorkbookAs(const QString& path) {
    ui::SpreadsheetWindow* window = ui::runningSpreadsheetWindow();
    if (!window) throw std::runtime_error("no spreadsheet is running");
    window->setSaveFileNameAsker([path] { return path; });
    window->saveAsInteractively();
}

ProgramUiServices::ProgramUiServices()
    : services_(std::make_unique<ui::QtUiServices>()), previous_(framework::SetCurrentUi(services_.get())) {}

ProgramUiServices::~ProgramUiServices() { framework::SetCurrentUi(previous_); }

}  // namespace tabulix::demo
