// tabulix-designer: a form designer that loads design-time packages (libPackTabulix.so) and edits
// form files with them.
//
//     tabulix-designer [--package LIBRARY]... [FORM_FILE]
//     tabulix-designer [--package LIBRARY]... --list-palette
//
// Without --package it loads libPackTabulix.so from beside the program (or ../lib).
// --list-palette loads the packages, prints the palette pages and their classes (and what
// could not be loaded) and exits: 0 when every package loaded, 1 otherwise.

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
    std::vector<fs::path> packages;
    fs::path form;
    bool listPalette = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--package" && i + 1 < argc) {
            packages.emplace_back(argv[++i]);
        } else if (argument == "--list-palette") {
            listPalette = true;
        } else if (argument == "--help" || argument == "-h") {
            std::cout << "usage: tabulix-designer [--package LIBRARY]... [FORM_FILE | --list-palette]\n";
            return 0;
        } else if (!argument.empty() && argument[0] == '-') {
            std::cerr << "tabulix-designer: unknown option " << argument << "\n";
            return 2;
        } else {
            form = argument;
        }
    }

    data::RegisterDataClasses();
    design::DesignerHost host;
    design::RegisterDataAccessPalette(host);
    if (packages.empty()) packages = design::DefaultPackages(fs::canonical("/proc/self/exe").parent_path());
    std::vector<std::string> failures;
    if (packages.empty())
        failures.push_back("libPackTabulix.so was not found beside the program; name it with --package LIBRARY.");
    for (const fs::path& package : packages) {
        try {
            host.LoadPackage(package);
        } catch (const design::PackageError& e) {
            failures.push_back(e.what());
        }
    }
    if (listPalette) {  // no window: runs without a display
        for (const std::string& failure : failures) std::cout << "tabulix-designer: " << failure << "\n";
        for (const design::DesignerHost::PalettePage& page : host.Pages()) {
            std::cout << page.name << ":";
            for (const auto& entry : page.entries) std::cout << " " << entry.className;
            std::cout << "\n";
        }
        return failures.empty() ? 0 : 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("tabulix-designer");
    DesignerUi ui;
    framework::SetCurrentUi(&ui);
    spreadsheet::installEmbeddedSpreadsheet();
    for (const std::string& failure : failures) host.ErrorBox(failure);

    design::DesignerWindow window(host);
    if (!form.empty()) window.OpenForm(form);
    window.show();
    const int status = QApplication::exec();
    framework::SetCurrentUi(nullptr);
    return status;
}
