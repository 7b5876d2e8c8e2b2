// Saves pictures of the form designer and of the two formula dialogs filled with the
// demonstration's records, as a user sees them:
//
//     design_screenshots FORM_FILE OUTPUT_FOLDER
//
// designer.png (the window with the object inspector on the TTabulix), formula-list.png (the
// formula list dialog), formula-item.png (the item dialog on the fourth record) and preview.png
// (the spreadsheet's window after "Preview"). Run it
// offscreen (QT_QPA_PLATFORM=offscreen); scripts/design-screenshots.sh does.

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>
#include <iostream>

#include "data/data_classes.h"
#include "design/host/designer_host.h"
#include "design/host/designer_setup.h"
#include "design/host/designer_window.h"
#include "design/host/property_grid.h"
#include "ui/embedded_spreadsheet_window.h"
#include "ui/spreadsheet_window.h"

using namespace tabulix;
namespace fs = std::filesystem;

namespace {

void save(QWidget& widget, const fs::path& file) {
    QApplication::processEvents();
    if (!widget.grab().save(QString::fromStdString(file.string())))
        throw std::runtime_error("cannot write " + file.string());
    std::cout << "wrote " << file.string() << "\n";
}

// Shows each dialog without waiting for a user: grabs it, and drives the list dialog to open
// the item dialog on the fourth record.
class PictureHost : public design::DesignerHost {
public:
    explicit PictureHost(fs::path folder) : folder_(std::move(folder)) {}

    int ShowModal(QDialog& dialog) override {
        dialog.show();
        QApplication::processEvents();
        if (auto* tree = dialog.findChild<QTreeWidget*>("Tree")) {
            tree->setCurrentItem(tree->topLevelItem(3));
            save(dialog, folder_ / "formula-list.png");
            dialog.findChild<QPushButton*>("btnModificar")->click();
        } else {
            save(dialog, folder_ / "formula-item.png");
        }
        dialog.reject();
        return QDialog::Rejected;
    }

private:
    fs::path folder_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: design_screenshots FORM_FILE OUTPUT_FOLDER\n";
        return 2;
    }
    try {
        const fs::path folder = argv[2];
        fs::create_directories(folder);
        data::RegisterDataClasses();
        PictureHost host(folder);
        design::RegisterDataAccessPalette(host);
        for (const fs::path& package : design::DefaultPackages(QApplication::applicationDirPath().toStdString()))
            host.LoadPackage(package);

        design::DesignerWindow window(host);
        if (!window.OpenForm(argv[1])) return 1;
        window.Select(window.Root().FindComponent("de"));
        window.Palette().setCurrentIndex(window.Palette().count() - 1);
        window.Inspector().Row("TituloFormato")->setExpanded(true);
        window.resize(1000, 780);
        window.show();
        save(window, folder / "designer.png");

        QWidget* formulas = window.Inspector().Editor("Formulas");
        formulas->findChild<QToolButton*>("ellipsis")->click();

        ui::installEmbeddedSpreadsheetWithWindow();
        window.ShowSpreadsheet = design::ShowRunningSpreadsheetWindow;
        window.Preview();
        ui::SpreadsheetWindow* spreadsheet = ui::runningSpreadsheetWindow();
        if (!spreadsheet) throw std::runtime_error("the preview started no spreadsheet");
        spreadsheet->resize(1000, 700);
        save(*spreadsheet, folder / "preview.png");
    } catch (const std::exception& e) {
        std::cerr << "design_screenshots: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
