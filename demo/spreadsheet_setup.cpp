#include "demo/spreadsheet_setup.h"

#include <stdexcept>

#include "spreadsheet/application.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/workbook.h"

#ifdef TABULIX_DEMO_SPREADSHEET_WINDOW
#include "ui/embedded_spreadsheet_window.h"
#include "ui/qt_ui_services.h"
#include "ui/spreadsheet_window.h"
#else
#include <QApplication>
#include <QMessageBox>
#include <utility>

#include "framework/ui_services.h"
#endif

namespace tabulix::demo {

#ifdef TABULIX_DEMO_SPREADSHEET_WINDOW

void InstallDemoSpreadsheet() { ui::installEmbeddedSpreadsheetWithWindow(); }

bool HasSpreadsheetWindow() { return true; }

QWidget* RunningSpreadsheetWindow() { return ui::runningSpreadsheetWindow(); }

void SaveActiveWorkbookAs(const QString& path) {
    ui::SpreadsheetWindow* window = ui::runningSpreadsheetWindow();
    if (!window) throw std::runtime_error("no spreadsheet is running");
    window->setSaveFileNameAsker([path] { return path; });
    window->saveAsInteractively();
}

ProgramUiServices::ProgramUiServices()
    : services_(std::make_unique<ui::QtUiServices>()), previous_(framework::SetCurrentUi(services_.get())) {}

#else

namespace {

using namespace framework;

// Message boxes as Qt's; the hourglass as the application's override cursor.
class DemoUi : public UiServices {
public:
    TModalResult MessageDlg(const std::string& text, const std::string& caption, TMsgDlgType type,
                            TMsgDlgButtons buttons) override {
        const QMessageBox::Icon icon = type == TMsgDlgType::mtError          ? QMessageBox::Critical
                                       : type == TMsgDlgType::mtWarning        ? QMessageBox::Warning
                                       : type == TMsgDlgType::mtConfirmation   ? QMessageBox::Question
                                                                               : QMessageBox::Information;
        QMessageBox box(icon, QString::fromStdString(caption.empty() ? "PDemoTabulix" : caption),
                        QString::fromStdString(text));
        const std::pair<TMsgDlgBtn, QMessageBox::StandardButton> kinds[] = {
            {mbYes, QMessageBox::Yes},     {mbNo, QMessageBox::No},       {mbOK, QMessageBox::Ok},
            {mbCancel, QMessageBox::Cancel}, {mbAbort, QMessageBox::Abort}, {mbRetry, QMessageBox::Retry},
            {mbIgnore, QMessageBox::Ignore}};
        for (const auto& [button, standard] : kinds)
            if (buttons.Contains(button)) box.addButton(standard);
        const int pressed = box.exec();
        for (const auto& [button, standard] : kinds)
            if (pressed == standard) return ResultOf(button);
        return TModalResult::mrCancel;
    }
    TCursor ScreenCursor() const override { return cursor_; }
    void SetScreenCursor(TCursor cursor) override {
        if (cursor_ != crDefault) QApplication::restoreOverrideCursor();
        cursor_ = cursor;
        if (cursor_ != crDefault) QApplication::setOverrideCursor(Qt::WaitCursor);
    }

private:
    TCursor cursor_ = crDefault;
};

}  // namespace

void InstallDemoSpreadsheet() { spreadsheet::installEmbeddedSpreadsheet(); }

bool HasSpreadsheetWindow() { return false; }

QWidget* RunningSpreadsheetWindow() { return nullptr; }

void SaveActiveWorkbookAs(const QString& path) {
    const auto book = spreadsheet::runningEmbeddedApplication()->activeWorkbook();
    if (!book) throw std::runtime_error("no workbook is open");
    book->saveAs(path.toStdString());
}

ProgramUiServices::ProgramUiServices()
    : services_(std::make_unique<DemoUi>()), previous_(framework::SetCurrentUi(services_.get())) {}

#endif

ProgramUiServices::~ProgramUiServices() { framework::SetCurrentUi(previous_); }

}  // namespace tabulix::demo
