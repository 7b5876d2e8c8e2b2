#pragma once
// The spreadsheet the demonstration drives and the services its reports use: the embedded
// spreadsheet with its own window, and the ui layer's Qt message boxes.

#include <QString>
#include <memory>

class QWidget;

namespace tabulix::framework {
class UiServices;
}

namespace tabulix::demo {

// Installs the embedded spreadsheet as the application the component starts. Needs a QApplication.
void InstallDemoSpreadsheet();

// The running spreadsheet's window; nullptr when none is running.
QWidget* RunningSpreadsheetWindow();

// Saves the active workbook as a user does, through the spreadsheet window's "Save as…" with
// `path` as the name chosen. Throws when no spreadsheet is running.
void SaveActiveWorkbookAs(const QString& path);

// The program's UI services (Qt message boxes, the wait cursor), installed for its lifetime.
class ProgramUiServices {
public:
    ProgramUiServices();
    ~ProgramUiServices();
    ProgramUiServices(const ProgramUiServices&) = delete;
    ProgramUiServices& operator=(const ProgramUiServices&) = delete;

private:
    std::unique_ptr<framework::UiServices> services_;
    framework::UiServices* previous_;
};

}  // namespace tabulix::demo
