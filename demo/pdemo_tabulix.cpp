// PDemoTabulix: starts the application, shows the demonstration window and runs until it closes.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdlib>
#include <string>

#include "demo/demo_components.h"
#include "demo/demo_window.h"
#include "framework/ui_services.h"
#include "spreadsheet/embedded_spreadsheet.h"
#if TABULIX_WITH_OFFICE
#include "office/calc_provider.h"
#endif

namespace {

using namespace tabulix::framework;

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

// The embedded spreadsheet, or LibreOffice Calc when TABULIX_APPLICATION=calc (with its window
// when TABULIX_CALC_VISIBLE=1). Calc's events from the user's clicks are handed to the component
// on this thread, from the message loop.
void installSpreadsheet() {
#if TABULIX_WITH_OFFICE
    const char* choice = std::getenv("TABULIX_APPLICATION");
    if (choice && std::string(choice) == "calc") {
        tabulix::office::InstallCalcProvider(tabulix::office::CalcOptionsFromEnvironment());
        auto* pump = new QTimer(QApplication::instance());
        QObject::connect(pump, &QTimer::timeout, [] {
            try {
                tabulix::office::DeliverCalcEvents();
            } catch (const std::exception& e) {
                QMessageBox::critical(nullptr, "PDemoTabulix", QString::fromUtf8(e.what()));
            }
        });
        pump->start(100);
        return;
    }
#endif
    tabulix::spreadsheet::installEmbeddedSpreadsheet();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("PDemoTabulix");
    DemoUi ui;
    SetCurrentUi(&ui);
    installSpreadsheet();
    tabulix::demo::TForm1 form(tabulix::demo::DefaultFormFile());
    form.show();
    const int result = QApplication::exec();
    SetCurrentUi(nullptr);
#if TABULIX_WITH_OFFICE
    tabulix::office::ShutDownCalc();
#endif
    return result;
}
