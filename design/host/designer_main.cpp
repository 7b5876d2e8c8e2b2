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
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "data/data_classes.h"
#include "design/host/designer_host.h"
#include "design/host/designer_setup.h"
#include "design/host/designer_window.h"
#include "ui/embedded_spreadsheet_window.h"
#include "ui/qt_ui_services.h"

namespace fs = std::filesystem;
using namespace tabulix;

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
    ui::ScopedQtUiServices services;
    ui::installEmbeddedSpreadsheetWithWindow();
    for (const std::string& failure : failures) host.ErrorBox(failure);

    design::DesignerWindow window(host);
    window.ShowSpreadsheet = design::ShowRunningSpreadsheetWindow;
    if (!form.empty()) window.OpenForm(form);
    window.show();
    return QApplication::exec();
}
