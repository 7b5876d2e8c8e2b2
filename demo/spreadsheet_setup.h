#pragma once
// The spreadsheet the demonstration drives and the services its reports use: the embedded
// spreadsheet with its own window and the ui layer's Qt message boxes where the build has the ui
// layer; otherwise the embedded spreadsheet alone and message boxes of the program's own.

#include <QString>
#include <memory>

class QWidget;

namespace tabulix::framework {
class UiServices;
}

namespace tabulix::demo {

// Installs the embedded spreadsheet as the application the component starts. Needs a QApplication.
void InstallDemoSpreadsheet();

// Whether the build shows the spreadsheet in a window of its own.
bool HasSpreadsheetWindow();

// The running spreadsheet's window; nullptr when none is running or the build has no window.
QWidget* RunningSpreadsheetWindow();

// Saves the active workbook as a user does, through the spreadsheet window's "Save as…" with
// `path` as the name chosen; without a window, through the workbook's SaveAs. Throws on failure.
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
