// The manual page as a user drives it: the three address forms, value and formula writes with the
// chosen font and background, the font and colour dialogs, and the workbook and sheet lists.

#include <QColorDialog>
#include <QFontDialog>

#include "component/tabulix.h"
#include "demo/font_choice.h"
#include "demo/tests/demo_window_fixture.h"
#include "framework/dialogs.h"
#include "spreadsheet/cells/cell_style.h"

namespace tabulix::demo::testing {
namespace {

class ManualActionsTest : public DemoWindowTest {
protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        open();
        form->setDialogRunner([this](QDialog& dialog) {
            ++dialogsRun;
            if (auto* fonts = qobject_cast<QFontDialog*>(&dialog)) fonts->setCurrentFont(fontAnswer);
            if (auto* colours = qobject_cast<QColorDialog*>(&dialog)) colours->setCurrentColor(colourAnswer);
            dialog.done(confirm ? QDialog::Accepted : QDialog::Rejected);
            return dialog.result();
        });
    }

    // Writes `value` into the cell that the address controls name, in a new workbook.
    void writeValue(const QString& value) {
        type("Edit14", value);
        click("Button6");
    }

    std::string valueAt(const std::string& name) const { return activeSheet()->value(cell(name)).toText(); }
    const spreadsheet::CellStyle& styleAt(const std::string& name) const {
        return activeSheet()->cellStyle(cell(name));
    }

    int dialogsRun = 0;
    bool confirm = true;
    QFont fontAnswer;
    QColor colourAnswer;
};

TEST_F(ManualActionsTest, FirstFormTakesColumnAndRowNumbers) {
    click("Button16");
    type("Edit9", "2");
    type("Edit10", "5");
    writeValue("hola");
    ASSERT_TRUE(boxes().empty()) << boxes().front().text;
    EXPECT_EQ(valueAt("B5"), "hola");
}

TEST_F(ManualActionsTest, SecondFormTakesTheLetterAsTheComponentNamesIt) {
    click("Button16");
    control<QRadioButton>("f2")->setChecked(true);
    type("Edit11", "c");
    type("Edit12", "3");
    writeValue("tres");
    ASSERT_TRUE(boxes().empty()) << boxes().front().text;
    EXPECT_EQ(valueAt("C3"), "tres");
}

TEST_F(ManualActionsTest, SecondFormWithoutALetterReportsTheSpreadsheetsRefusal) {
    click("Button16");
    control<QRadioButton>("f2")->setChecked(true);
    type("Edit11", "");
    writeValue("nada");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].type, framework::TMsgDlgType::mtError);
    EXPECT_TRUE(activeSheet()->cells().cellCount() == 0) << "something was written";
}

TEST_F(ManualActionsTest, ThirdFormPassesTheCellNameUnchanged) {
    click("Button16");
    control<QRadioButton>("f3")->setChecked(true);
    type("Edit13", "d7");
    writeValue("siete");
    EXPECT_EQ(valueAt("D7"), "siete");

    type("Edit13", "no es casilla");
    writeValue("x");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_NE(boxes()[0].text.find("no es casilla"), std::string::npos) << boxes()[0].text;
}

TEST_F(ManualActionsTest, ANumberEditThatIsNotANumberStopsTheWrite) {
    click("Button16");
    type("Edit10", "fila");
    writeValue("x");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_NE(boxes()[0].text.find("'fila'"), std::string::npos) << boxes()[0].text;
    EXPECT_TRUE(activeSheet()->cells().cellCount() == 0);
    // The window stays usable.
    type("Edit10", "1");
    writeValue("y");
    EXPECT_EQ(valueAt("A1"), "y");
}

TEST_F(ManualActionsTest, FormulaWriteExpandsAndStoresTheFormula) {
    click("Button16");
    type("Edit9", "3");
    type("Edit10", "2");
    type("Formula", "=SUM(1,2)*2");
    click("Button19");
    ASSERT_TRUE(boxes().empty()) << boxes().front().text;
    ASSERT_NE(activeSheet()->formulaText(cell("C2")), nullptr);
    EXPECT_EQ(*activeSheet()->formulaText(cell("C2")), "=SUM(1,2)*2");
    EXPECT_EQ(valueAt("C2"), "6");
}

TEST_F(ManualActionsTest, WritesBeforeAnyWorkbookHaveNoVisibleEffect) {
    writeValue("perdido");
    type("Formula", "=1+1");
    click("Button19");
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(form->de().ExcelWorksheet(), nullptr);
    EXPECT_EQ(form->de().ExcelApplication(), nullptr);
}

TEST_F(ManualActionsTest, TheFontDialogsStartingFontIsAppliedWithoutOpeningIt) {
    click("Button16");
    writeValue("fuente");
    const spreadsheet::FontStyle& font = styleAt("A1").font;
    EXPECT_EQ(font.name, AvailableFamily("MS Sans Serif").toStdString());
    EXPECT_EQ(font.size, 8.0) << "11 pixels are 8 points";
    EXPECT_FALSE(font.bold);
    EXPECT_EQ(styleAt("A1").fill, spreadsheet::kAutomaticColour) << "a background without the check box";
    EXPECT_EQ(dialogsRun, 0);
}

TEST_F(ManualActionsTest, AConfirmedFontIsKeptForTheNextWritesAndACancelledOneIsNot) {
    click("Button16");
    fontAnswer = WidgetFont("DejaVu Sans", 16, true);
    fontAnswer.setPointSize(15);
    click("Button5");
    confirm = false;
    fontAnswer = QFont("DejaVu Serif", 30);
    click("Button5");
    EXPECT_EQ(dialogsRun, 2);

    writeValue("negrita");
    const spreadsheet::FontStyle& font = styleAt("A1").font;
    EXPECT_EQ(font.name, AvailableFamily("DejaVu Sans").toStdString());
    EXPECT_EQ(font.size, 15.0);
    EXPECT_TRUE(font.bold);
}

TEST_F(ManualActionsTest, TheBackgroundIsAppliedOnlyWhenItsCheckBoxIsChecked) {
    click("Button16");
    colourAnswer = QColor(255, 0, 0);
    click("Button7");
    writeValue("sin fondo");
    EXPECT_EQ(styleAt("A1").fill, spreadsheet::kAutomaticColour);

    check("CheckBox7")->setChecked(true);
    type("Edit9", "2");
    writeValue("con fondo");
    EXPECT_EQ(styleAt("B1").fill, 0xFF0000u);

    confirm = false;
    colourAnswer = QColor(0, 0, 255);
    click("Button7");
    type("Edit9", "3");
    writeValue("sigue rojo");
    EXPECT_EQ(styleAt("C1").fill, 0xFF0000u) << "a cancelled colour replaced the chosen one";
}

TEST_F(ManualActionsTest, ShowAndHideDriveTheSpreadsheetsVisibility) {
    click("Button4");
    EXPECT_EQ(form->de().ExcelApplication(), nullptr) << "showing connected the spreadsheet";
    click("Button10");
    click("Button4");
    EXPECT_TRUE(app()->visible());
    click("Button17");
    EXPECT_FALSE(app()->visible());
    click("Button2");
    EXPECT_TRUE(app()->visible());
    click("Button18");
    EXPECT_FALSE(app()->visible());
}

TEST_F(ManualActionsTest, ListingWorkbooksBeforeAnyConnectionEmptiesTheList) {
    list("Libros")->addItem("viejo");
    click("Button12");
    EXPECT_EQ(list("Libros")->count(), 0);
    EXPECT_EQ(list("Libros")->currentIndex(), -1);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ManualActionsTest, ActivateButtonsWithEmptyListsDoNothing) {
    click("Button10");
    click("Button13");
    click("Button15");
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(form->de().ExcelWorkbook(), nullptr);
    EXPECT_EQ(list("Hojas")->count(), 0) << "activating nothing listed the sheets";
}

TEST_F(ManualActionsTest, ActivatingAWorkbookConnectsItAndListsItsSheets) {
    click("Button16");
    click("Button3");  // Libro1 now has two sheets
    click("Button16");
    click("Button12");
    ASSERT_EQ(list("Libros")->count(), 2);
    EXPECT_EQ(list("Libros")->currentIndex(), 0);
    const std::string first = list("Libros")->currentText().toStdString();

    click("Button13");
    ASSERT_TRUE(boxes().empty()) << boxes().front().text;
    EXPECT_EQ(activeBook()->name(), first);
    EXPECT_EQ(list("Hojas")->count(), 2);

    list("Hojas")->setCurrentIndex(1);
    const std::string sheet = list("Hojas")->currentText().toStdString();
    click("Button15");
    EXPECT_EQ(activeSheet()->name(), sheet);
    writeValue("aqui");
    EXPECT_EQ(valueAt("A1"), "aqui") << "the write went to another sheet than the activated one";
}

}  // namespace
}  // namespace tabulix::demo::testing
