// The formula list dialog: its look, the display line of each record (also of records typed by
// hand), and New, Delete and Change keeping the tree and the record list in step.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "component/formula_tabulix.h"
#include "design/property_tabulix.h"
#include "design/property_tabulix_item.h"
#include "design/tests/dialog_driver.h"
#include "design/up_down.h"
#include "framework/convert.h"
#include "framework/ui_services.h"

namespace tabulix::design {
namespace {

using testing::Choose;
using testing::Click;
using testing::DialogScript;
using testing::RunScripted;
using testing::TreeLines;

const std::vector<std::string> kDemoRecords = {
    "VENTAS_ENE;0;C;1;TOTAL VENTAS MENSUALES:;0;2;",
    "VENTAS_FEB;0;D;1;;0;0;",
    "VENTAS_MAR;0;E;1;;0;0;",
    "VENTAS_MAR;4;E;3;TOTAL VENTAS:;0;2;=(#F01#+#F02#+#F03#)",
    "VENTAS_MAR;4;E;4;TOTAL VENTAS CON IVA:;0;2;=#F04#*1.16",
    "VENTAS_MAR;4;E;5;Desviación Estandard Ventas Enero:;0;2;=STDEV(#T_VENTAS_ENE#)",
};
const std::vector<std::string> kDemoFieldNames = {"COD_ARTI", "DESC_ARTI", "VENTAS_ENE", "VENTAS_FEB", "VENTAS_MAR",
                                                  "STOC_ACT", "PVP",       "ACTIVO",     "OTROS"};

class ListDialog : public ::testing::Test {
protected:
    ListDialog() : formulas(nullptr) {
        dialog.cb = kDemoFieldNames;
        dialog.Formulas = &formulas;
        // The item dialogs, in the order they open.
        dialog.ShowModal = [this](QDialog& item) {
            DialogScript script = itemScripts.empty() ? DialogScript() : itemScripts.front();
            if (!itemScripts.empty()) itemScripts.erase(itemScripts.begin());
            return RunScripted(item, script);
        };
    }
    // Shows the list dialog with `records`, runs `script` on it and closes it with "&Salir".
    void run(std::vector<std::string> records, const std::function<void()>& script) {
        dialog.list = std::move(records);
        RunScripted(dialog, [&](QDialog&) {
            script();
            Click(*dialog.BitBtn3);
        });
    }
    void select(int node) { dialog.Tree->setCurrentItem(dialog.Tree->topLevelItem(node)); }
    static TfrmPropertyTabulixItem& item(QDialog& d) { return dynamic_cast<TfrmPropertyTabulixItem&>(d); }
    // The tree shows exactly the display lines of the list.
    void expectInStep() {
        std::vector<std::string> expected;
        for (const std::string& line : dialog.list) expected.push_back(dialog.Formato(line));
        EXPECT_EQ(TreeLines(*dialog.Tree), expected);
    }

    component::TFormulaTabulix formulas;
    TfrmPropertyTabulix dialog;
    std::vector<DialogScript> itemScripts;
};

TEST_F(ListDialog, WindowTreeAndButtons) {
    EXPECT_EQ(dialog.windowTitle(), "Editor de Formulas");
    EXPECT_NE(dialog.minimumSize(), dialog.maximumSize()) << "the user can widen it";
    EXPECT_EQ(dialog.font().family(), "Tahoma");
    EXPECT_EQ(dialog.Tree->palette().color(QPalette::Base), QColor(0, 128, 192));
    EXPECT_EQ(dialog.Tree->palette().color(QPalette::Text), QColor(Qt::yellow));
    EXPECT_EQ(dialog.Tree->font().pixelSize(), 13);
    EXPECT_FALSE(dialog.Tree->rootIsDecorated());
    EXPECT_EQ(dialog.Tree->indentation(), 19);
    EXPECT_EQ(dialog.BitBtn2->text(), "&Nueva Formula");
    EXPECT_EQ(dialog.BitBtn1->text(), "&Eliminar Formula");
    EXPECT_EQ(dialog.btnModificar->text(), "&Modificar Formula");
    EXPECT_EQ(dialog.BitBtn3->text(), "&Salir");
    for (QPushButton* b : {dialog.BitBtn2, dialog.BitBtn1, dialog.btnModificar, dialog.BitBtn3})
        EXPECT_FALSE(b->icon().isNull()) << b->text().toStdString();
}

TEST_F(ListDialog, DisplayLines) {
    EXPECT_EQ(dialog.Formato("VENTAS_FEB;0;D;1;;0;0;"),
              "[Campo]:VENTAS_FEB ## [Formula]:SUMA ## [Columna]:D ## [Incremento Fila]:1 ## [Texto]: ## "
              "[Alineacion]:IZQUIERDA ## [Texto Respecto Formula]:DERECHA ## ");
    // Fewer than eight fields (typed by hand): empty texts and words.
    EXPECT_EQ(dialog.Formato("VENTAS_FEB;1;D"),
              "[Campo]:VENTAS_FEB ## [Formula]:PROMEDIO ## [Columna]:D ## [Incremento Fila]: ## [Texto]: ## "
              "[Alineacion]: ## [Texto Respecto Formula]: ## ");
    EXPECT_EQ(dialog.Formato("X;7;A;1;;3;1;"),
              "[Campo]:X ## [Formula]: ## [Columna]:A ## [Incremento Fila]:1 ## [Texto]: ## "
              "[Alineacion]:CENTRADO ## [Texto Respecto Formula]:ABAJO ## ");
    EXPECT_THROW(dialog.Formato("X;;A;1;;0;0;"), framework::EConvertError);
}

TEST_F(ListDialog, TheSixDemonstrationRecordsShowSixLines) {
    run(kDemoRecords, [&] {
        ASSERT_EQ(dialog.Tree->topLevelItemCount(), 6);
        EXPECT_EQ(dialog.Tree->topLevelItem(3)->text(0).toStdString(),
                  "[Campo]:VENTAS_MAR ## [Formula]:=(#F01#+#F02#+#F03#) ## [Columna]:E ## [Incremento Fila]:3 ## "
                  "[Texto]:TOTAL VENTAS: ## [Alineacion]:DERECHA ## [Texto Respecto Formula]:DERECHA ## ");
        EXPECT_TRUE(dialog.Tree->hasFocus());
        expectInStep();
    });
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.list, kDemoRecords);
}

TEST_F(ListDialog, OpensWideEnoughForItsLinesAsFarAsTheScreenAllows) {
    run(kDemoRecords, [&] {
        int longest = 0;
        for (int i = 0; i < dialog.Tree->topLevelItemCount(); ++i)
            longest = std::max(longest, dialog.Tree->fontMetrics().horizontalAdvance(dialog.Tree->topLevelItem(i)->text(0)));
        EXPECT_GT(longest, 880) << "the demonstration's lines are longer than the old fixed width";
        EXPECT_GE(dialog.Tree->columnWidth(0), longest) << "the column holds whole lines";
        const int room = dialog.screen()->availableGeometry().width() - 40;
        EXPECT_GE(dialog.Tree->viewport()->width(), std::min(longest, room - 100));
        EXPECT_LE(dialog.width(), std::max(room, 880));
        dialog.resize(dialog.width() + 50, dialog.height() + 50);
        QCoreApplication::processEvents();
        EXPECT_GE(dialog.Tree->columnWidth(0), longest);
    });
}

TEST_F(ListDialog, AnEmptyListDeletesAndChangesNothing) {
    run({}, [&] {
        EXPECT_EQ(dialog.Tree->topLevelItemCount(), 0);
        Click(*dialog.BitBtn1);
        EXPECT_EQ(dialog.focusWidget(), dialog.Tree);
        Click(*dialog.btnModificar);
    });
    EXPECT_TRUE(dialog.list.empty());
}

TEST_F(ListDialog, NewThenCancelChangesNothing) {
    itemScripts.push_back([](QDialog& d) { Click(*item(d).BitBtn2); });
    run(kDemoRecords, [&] { Click(*dialog.BitBtn2); });
    EXPECT_EQ(dialog.list, kDemoRecords);
    EXPECT_EQ(dialog.Tree->topLevelItemCount(), 6);
}

TEST_F(ListDialog, NewThenOkWithTheDefaultsAppendsTheRecord) {
    itemScripts.push_back([](QDialog& d) { Click(*item(d).BitBtn1); });
    run(kDemoRecords, [&] {
        Click(*dialog.BitBtn2);
        EXPECT_EQ(dialog.focusWidget(), dialog.Tree);
    });
    ASSERT_EQ(dialog.list.size(), 7u);
    EXPECT_EQ(dialog.list.back(), "COD_ARTI;0;A;1;;0;0;");
    expectInStep();
}

TEST_F(ListDialog, NewRecordFilledInTheItemDialog) {
    itemScripts.push_back([](QDialog& d) {
        TfrmPropertyTabulixItem& i = item(d);
        Choose(*i.Campo, 4);  // VENTAS_MAR, column E
        Choose(*i.Formula, 4);
        QTest::keyClicks(i.FormulaPropia, "=#f05#/2");
        for (int n = 0; n < 6; ++n) Click(*i.Incrementador->UpButton());
        QTest::keyClicks(i.Texto, "MEDIA:");
        Choose(*i.Situacion, 2);
        Choose(*i.Alineacion, 1);
        Click(*i.BitBtn1);
    });
    run(kDemoRecords, [&] { Click(*dialog.BitBtn2); });
    EXPECT_EQ(dialog.list.back(), "VENTAS_MAR;4;E;7;MEDIA:;2;1;=#F05#/2");
    expectInStep();
}

TEST_F(ListDialog, DeletingTheMiddleOfThree) {
    run({kDemoRecords[0], kDemoRecords[1], kDemoRecords[2]}, [&] {
        select(1);
        Click(*dialog.BitBtn1);
        EXPECT_EQ(dialog.focusWidget(), dialog.Tree);
    });
    EXPECT_EQ(dialog.list, (std::vector<std::string>{kDemoRecords[0], kDemoRecords[2]}));
    expectInStep();
}

TEST_F(ListDialog, DoubleClickOpensTheItemDialogPresetAndOkWritesTheNormalisedRecord) {
    itemScripts.push_back([](QDialog& d) {
        TfrmPropertyTabulixItem& i = item(d);
        EXPECT_EQ(i.Campo->currentText(), "VENTAS_MAR");
        EXPECT_EQ(i.Formula->currentIndex(), 4);
        EXPECT_TRUE(i.FormulaPropia->isVisible());
        EXPECT_EQ(i.FormulaPropia->text(), "=#F04#*1.16");
        EXPECT_EQ(i.columna->currentText(), "E");
        EXPECT_EQ(i.IncFila->text(), "4");
        EXPECT_EQ(i.Texto->text(), "TOTAL VENTAS CON IVA:");
        EXPECT_EQ(i.Situacion->currentIndex(), 0);
        EXPECT_EQ(i.Alineacion->currentIndex(), 2);
        Click(*i.BitBtn1);
    });
    // Typed by hand: leading zeros and blanks that the editor does not write.
    const std::string handTyped = "VENTAS_MAR;04;E;004;TOTAL VENTAS CON IVA:; 0;2;=#F04#*1.16";
    run({kDemoRecords[0], handTyped}, [&] {
        QTreeWidgetItem* node = dialog.Tree->topLevelItem(1);
        dialog.Tree->setCurrentItem(node);
        const QRect place = dialog.Tree->visualItemRect(node);
        QTest::mouseClick(dialog.Tree->viewport(), Qt::LeftButton, {}, place.center());
        QTest::mouseDClick(dialog.Tree->viewport(), Qt::LeftButton, {}, place.center());
        EXPECT_EQ(dialog.Tree->currentItem(), node) << "the changed node stays selected";
    });
    EXPECT_EQ(dialog.list[1], kDemoRecords[4]);
    expectInStep();
}

TEST_F(ListDialog, ChangeOfAnUnknownFieldAndAnAlignmentOutOfRange) {
    framework::RecordingUi ui;
    itemScripts.push_back([&](QDialog& d) {
        TfrmPropertyTabulixItem& i = item(d);
        EXPECT_EQ(i.Campo->currentIndex(), -1);
        EXPECT_EQ(i.Alineacion->currentIndex(), -1);
        Click(*i.BitBtn1);
        ASSERT_EQ(ui.Boxes().size(), 1u);
        EXPECT_EQ(ui.Boxes()[0].text, "Debe indicar el Campo.");
        Choose(*i.Campo, 1);
        Click(*i.BitBtn1);
    });
    run({"NO_EXISTE;0;A;1;;0;5;"}, [&] {
        select(0);
        Click(*dialog.btnModificar);
    });
    EXPECT_EQ(dialog.list[0], "DESC_ARTI;0;B;1;;0;-1;");
}

TEST_F(ListDialog, ChangeThenCancelAndABadNumberLeaveTheRecord) {
    framework::RecordingUi ui;
    itemScripts.push_back([](QDialog& d) {
        QTest::keyClicks(item(d).Texto, "NUEVO");
        Click(*item(d).BitBtn2);
    });
    run({kDemoRecords[1], "VENTAS_FEB;0;D;x;;0;0;"}, [&] {
        select(0);
        Click(*dialog.btnModificar);
        select(1);
        Click(*dialog.btnModificar);  // field 4 is not a number: no item dialog
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(dialog.list, (std::vector<std::string>{kDemoRecords[1], "VENTAS_FEB;0;D;x;;0;0;"}));
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_NE(ui.Boxes()[0].text.find("'x' is not a valid integer value"), std::string::npos) << ui.Boxes()[0].text;
    EXPECT_TRUE(itemScripts.empty());
}

TEST_F(ListDialog, ARecordThatCannotBeShownEndsTheFill) {
    dialog.list = {kDemoRecords[0], "A;B;C;1;;0;0;"};
    RunScripted(dialog, {});
    EXPECT_THROW(dialog.RethrowFillError(), framework::EConvertError);
}

}  // namespace
}  // namespace tabulix::design
