// The window's start-up: what it shows first, the table it opens from the form file's folder, and
// a form file or table that cannot be read (reported, window usable, transfers disabled).

#include <QFrame>
#include <QTabWidget>
#include <fstream>

#include "component/tabulix.h"
#include "data/table.h"
#include "framework/dialogs.h"
#include "demo/font_choice.h"
#include "demo/tests/demo_window_fixture.h"

namespace tabulix::demo::testing {
namespace {

namespace fs = std::filesystem;

class StartUpTest : public DemoWindowTest {
protected:
    // A fresh folder for a test's own copy of the form file.
    fs::path scratchFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        fs::path folder = fs::temp_directory_path() / ("demo_start_up_" + std::string(info->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        return folder;
    }
};

TEST_F(StartUpTest, ShowsTheAutomaticPageWithItsStartingChoices) {
    framework::CurrencySettings pesetas = framework::Currency();
    pesetas.CurrencyString = "Pts";
    framework::SetCurrency(pesetas);
    open();
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(form->windowTitle(), "Demo de TTabulix");
    EXPECT_EQ(control<QTabWidget>("PageControl1")->currentIndex(), 0);
    EXPECT_EQ(textOf("Edit4"), "Pts");
    EXPECT_FALSE(control<QFrame>("Panel2")->isEnabled());
    EXPECT_TRUE(control<QRadioButton>("f1")->isChecked());
    EXPECT_EQ(list("ComboBox3")->currentText(), "xlColumn");
    EXPECT_EQ(list("ComboBox4")->currentText(), "xlEnFila");
    EXPECT_EQ(form->FDial().Font().Name(), AvailableFamily("MS Sans Serif").toStdString());
    EXPECT_EQ(form->FDial().Font().Height(), -11);
    EXPECT_EQ(form->CDial().Color, framework::clBlack);
}

TEST_F(StartUpTest, OpensTheSampleTableFromTheFormFilesFolder) {
    open();
    data::TTable* table = form->Taula();
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->Active());
    EXPECT_EQ(fs::canonical(table->FileName()), fs::canonical(sourceDemoFolder() / "Demo.DBF"));
    EXPECT_EQ(form->de().Datos(), table);
    EXPECT_EQ(form->de().Formulas().CuantasFormulas(), 6);
}

TEST_F(StartUpTest, AMissingTableIsReportedAndDisablesOnlyTheTransfers) {
    const fs::path folder = scratchFolder();
    fs::copy_file(sourceDemoFolder() / "DemoTabulix.form", folder / "DemoTabulix.form");
    open(folder / "DemoTabulix.form");

    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_NE(boxes()[0].text.find("Demo.DBF"), std::string::npos) << boxes()[0].text;
    EXPECT_NE(boxes()[0].text.find(folder.string()), std::string::npos) << "the box does not say where";
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(control<QPushButton>("Button1")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("Button9")->isEnabled());

    click("Button16");
    type("Edit14", "sin tabla");
    click("Button6");
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(activeSheet()->value(cell("A1")).toText(), "sin tabla");
}

TEST_F(StartUpTest, AFormFileThatCannotBeReadIsReportedWithItsLine) {
    const fs::path folder = scratchFolder();
    std::ofstream(folder / "DemoTabulix.form") << "object Form1: TForm1\n  object de: TTabulix\n    Titulo = \n";
    open(folder / "DemoTabulix.form");

    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_NE(boxes()[0].text.find("DemoTabulix.form:"), std::string::npos) << boxes()[0].text;
    EXPECT_FALSE(control<QPushButton>("Button1")->isEnabled());
    EXPECT_EQ(form->Taula(), nullptr);
    click("Button12");
    EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(StartUpTest, StartUpRunsOnceOnly) {
    open();
    type("Edit4", "USD");
    form->hide();
    form->show();
    EXPECT_EQ(textOf("Edit4"), "USD");
}

}  // namespace
}  // namespace tabulix::demo::testing
