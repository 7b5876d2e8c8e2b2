// tabulix-designer: a form designer that loads design-time packages (libPackTabulix.so) and edits
// form files with them.
//
//     tabulix-designer [--package LIBRARY]... [FORM_FILE]
//
// Without --package it loads libPackTabulix.so from beside the program (or ../lib).

#include <QApplication>
#include <QMessageBox>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "data/data_classes.h"
#include "design/host/designer_host.h"
#include "design/host/designer_setup.h"
#include "design/host/designer_window.h"
#include "framework/ui_services.h"
#include "spreadsheet/embedded_spreadsheet.h"

namespace fs = std::filesystem;
using namespace tabulix;

namespace {

// Message boxes with QMessageBox; the cursor as the application's override cursor.
class DesignerUi : public framework::UiServices {
public:
    framework::TModalResult MessageDlg(const std::string& text, const std::string& caption,
                                       framework::TMsgDlgType type, framework::TMsgDlgButtons buttons) override {
        using framework::TModalResult;
        QMessageBox box(type == framework::TMsgDlgType::mtError ? QMessageBox::Critical
                        : type == framework::TMsgDlgType::mtWarning ? QMessageBox::Warning
                        : type == framework::TMsgDlgType::mtConfirmation ? QMessageBox::Question
                                                                         : QMessageBox::Information,
                        QString::fromStdString(caption.empty() ? "tabulix-designer" : caption),
                        QString::fromStdString(text));
        const std::pair<framework::TMsgDlgBtn, QMessageBox::StandardButton> kinds[] = {
            {framework::mbYes, QMessageBox::Yes},     {framework::mbNo, QMessageBox::No},
            {framework::mbOK, QMessageBox::Ok},       {framework::mbCancel, QMessageBox::Cancel},
            {framework::mbAbort, QMessageBox::Abort}, {framework::mbRetry, QMessageBox::Retry},
            {framework::mbIgnore, QMessageBox::Ignore}};
        for (const auto& [mine, qt] : kinds)
            if (buttons.Contains(mine)) box.addButton(qt);
        const int pressed = box.exec();
        for (const auto& [mine, qt] : kinds)
            if (pressed == qt) return framework::ResultOf(mine);
        return TModalResult::mrCancel;
    }
    framework::TCursor ScreenCursor() const override { return cursor_; }
    void SetScreenCursor(framework::TCursor cursor) override {
        if (cursor_ != framework::crDefault) QApplication::restoreOverrideCursor();
        cursor_ = cursor;
        if (cursor_ != framework::crDefault) QApplication::setOverrideCursor(Qt::WaitCursor);
    }

private:
    framework::TCursor cursor_ = framework::crDefault;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("tabulix-designer");

    std::vector<fs::path> packages;
    fs::path form;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const std::string argument = arguments[i].toStdString();
        if (argument == "--package" && i + 1 < arguments.size()) {
            packages.emplace_back(arguments[++i].toStdString());
        } else if (argument == "--help" || argument == "-h") {
            std::cout << "usage: tabulix-designer [--package LIBRARY]... [FORM_FILE]\n";
            return 0;
        } else if (!argument.empty() && argument[0] == '-') {
            std::cerr << "tabulix-designer: unknown option " << argument << "\n";
            return 2;
        } else {
            form = argument;
        }
    }

    DesignerUi ui;
    framework::SetCurrentUi(&ui);
    spreadsheet::installEmbeddedSpreadsheet();
    data::RegisterDataClasses();

    design::DesignerHost host;
    design::RegisterDataAccessPalette(host);
    if (packages.empty()) packages = design::DefaultPackages(fs::path(QApplication::applicationDirPath().toStdString()));
    if (packages.empty())
        host.ErrorBox("libPackTabulix.so was not found beside the program; name it with --package LIBRARY.");
    for (const fs::path& package : packages) {
        try {
            host.LoadPackage(package);
        } catch (const design::PackageError& e) {
            host.ErrorBox(e.what());
        }
    }

    design::DesignerWindow window(host);
    window.RebuildPalette();
    if (!form.empty()) window.OpenForm(form);
    window.show();
    const int status = QApplication::exec();
    framework::SetCurrentUi(nullptr);
    return status;
}
