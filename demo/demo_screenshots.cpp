// Saves pictures of the demonstration window as a user sees it: each page at start, and the
// automatic page after a transfer and after a chart, and the spreadsheet's own window then.
// Usage: demo_screenshots FOLDER

#include <QApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <cstdio>
#include <filesystem>

#include "demo/demo_components.h"
#include "demo/demo_window.h"
#include "demo/spreadsheet_setup.h"

namespace {

bool save(QWidget& widget, const std::filesystem::path& file) {
    QApplication::processEvents();
    const bool saved = widget.grab().save(QString::fromStdString(file.string()));
    std::printf("%s %s\n", saved ? "wrote" : "could not write", file.string().c_str());
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: demo_screenshots FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    tabulix::demo::InstallDemoSpreadsheet();

    tabulix::demo::TForm1 form(tabulix::demo::DefaultFormFile());
    form.show();
    auto* pages = form.findChild<QTabWidget*>("PageControl1");
    bool ok = save(form, folder / "demo-page1.png");
    pages->setCurrentIndex(1);
    ok = save(form, folder / "demo-page2.png") && ok;
    pages->setCurrentIndex(0);
    QTest::mouseClick(form.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    ok = save(form, folder / "demo-page1-after-transfer.png") && ok;
    if (QWidget* spreadsheet = tabulix::demo::RunningSpreadsheetWindow()) {
        spreadsheet->resize(1100, 700);
        ok = save(*spreadsheet, folder / "spreadsheet-after-transfer.png") && ok;
    }
    QTest::mouseClick(form.findChild<QPushButton*>("Button8"), Qt::LeftButton);
    ok = save(form, folder / "demo-page1-after-chart.png") && ok;
    if (QWidget* spreadsheet = tabulix::demo::RunningSpreadsheetWindow()) {
        ok = save(*spreadsheet, folder / "spreadsheet-after-chart.png") && ok;
        // The chart sheet, as the user opens it from its tab.
        for (QTabBar* tabs : spreadsheet->findChildren<QTabBar*>("sheetTabs"))
            for (int i = 0; tabs->isVisible() && i < tabs->count(); ++i)
                if (tabs->tabText(i) == "Grafica") QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
        ok = save(*spreadsheet, folder / "spreadsheet-chart-sheet.png") && ok;
    }
    return ok ? 0 : 1;
}
