// A user's round trip: open the demonstration's form in the designer, change the title and add a
// formula record through the two dialogs, save; the saved file differs from the original only in
// those lines, and the tabulix command makes a workbook with the new title and the new summary.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <regex>

#include "cli/tests/cli_test_support.h"
#include "component/tabulix.h"
#include "data/data_classes.h"
#include "design/host/designer_setup.h"
#include "design/host/designer_window.h"
#include "design/host/property_grid.h"
#include "design/tests/host_test_support.h"
#include "framework/ui_services.h"
#include "spreadsheet/xlsx/tests/chart_xlsx_reader.h"

namespace tabulix::design {
namespace {

using cli::testing::ReadFile;
using cli::testing::RunTabulix;
using cli::testing::ScratchFolder;
using cli::testing::SourceDir;

template <class W>
W& child(QWidget& parent, const char* name) {
    W* found = parent.findChild<W*>(name);
    if (!found) throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(RoundTrip, TitleAndFormulaRecordMadeInTheDesignerReachTheWorkbook) {
    const std::string original = ReadFile(SourceDir() / "demo" / "DemoTabulix.form");
    ScratchFolder folder;
    const auto form = folder.Write("Informe.form", original);
    std::filesystem::copy_file(SourceDir() / "demo" / "Demo.DBF", folder / "Demo.DBF");

    framework::RecordingUi ui;
    data::RegisterDataClasses();
    testing::ScriptedDesignerHost host;
    RegisterDataAccessPalette(host);
    host.LoadPackage(testing::PackageLibrary());
    DesignerWindow window(host);
    ASSERT_TRUE(window.OpenForm(form));
    window.Select(window.Root().FindComponent("de"));

    auto* title = qobject_cast<QLineEdit*>(window.Inspector().Editor("Titulo"));
    ASSERT_NE(title, nullptr);
    title->setFocus();
    title->selectAll();
    QTest::keyClicks(title, "VENTAS TRIMESTRE");
    QTest::keyClick(title, Qt::Key_Return);

    // The list dialog: New, then the item dialog, then "&Salir".
    host.scripts.push_back([](QDialog& list) {
        testing::Click(child<QPushButton>(list, "BitBtn2"));
        EXPECT_EQ(child<QTreeWidget>(list, "Tree").topLevelItemCount(), 7);
        testing::Click(child<QPushButton>(list, "BitBtn3"));
    });
    host.scripts.push_back([](QDialog& item) {
        testing::Choose(child<QComboBox>(item, "Campo"), 5);  // STOC_ACT, the sixth field: column F
        testing::Choose(child<QComboBox>(item, "Formula"), 2);  // MAX
        child<QLineEdit>(item, "IncFila").setFocus();
        QTest::keyClick(&child<QLineEdit>(item, "IncFila"), Qt::Key_Up);
        QTest::keyClicks(&child<QLineEdit>(item, "Texto"), "MAXIMO ESTOC:");
        testing::Choose(child<QComboBox>(item, "Alineacion"), 2);
        testing::Click(child<QPushButton>(item, "BitBtn1"));
    });
    QWidget* formulas = window.Inspector().Editor("Formulas");
    ASSERT_NE(formulas, nullptr);
    testing::Click(child<QToolButton>(*formulas, "ellipsis"));
    EXPECT_EQ(host.shownDialogs, (std::vector<std::string>{"Editor de Formulas", "Propiedades Formula"}));
    EXPECT_TRUE(window.isWindowModified());
    ASSERT_TRUE(window.SaveForm());
    EXPECT_TRUE(ui.Boxes().empty()) << ui.Boxes()[0].text;

    std::string expected = replaced(original, "    Titulo = 'ARTICULOS EMPRESA'\n", "    Titulo = 'VENTAS TRIMESTRE'\n");
    expected = replaced(expected, "      'STDEV(#T_VENTAS_ENE#)')\n",
                        "      'STDEV(#T_VENTAS_ENE#)'\n      'STOC_ACT;2;F;2;MAXIMO ESTOC:;0;2;')\n");
    EXPECT_EQ(ReadFile(form), expected);

    const auto run = RunTabulix({form.string(), "-o", "informe.xlsx"}, folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto parts = spreadsheet::testing::zipEntries((folder / "informe.xlsx").string());
    ASSERT_TRUE(parts.count("xl/worksheets/sheet1.xml"));
    const std::string sheet = parts.at("xl/worksheets/sheet1.xml");
    const std::string strings = parts.count("xl/sharedStrings.xml") ? parts.at("xl/sharedStrings.xml") : "";
    EXPECT_NE((sheet + strings).find("VENTAS TRIMESTRE"), std::string::npos);
    EXPECT_NE((sheet + strings).find("MAXIMO ESTOC:"), std::string::npos);
    // Data rows 3 to 20: the summary lands two rows below, in column F.
    EXPECT_TRUE(std::regex_search(sheet, std::regex(R"(<c r="F22"[^>]*><f>MAX\(F3:F20\)</f>)"))) << sheet.substr(0, 400);
}

}  // namespace
}  // namespace tabulix::design
