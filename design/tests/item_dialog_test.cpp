// The formula item dialog as the user meets it: defaults of a new record, the lists and their
// codes, the own formula's visibility and capitals, the column following the field (also past
// "Z"), the row offset held to 1..50, the help lines as the focus moves, the checks at OK, and
// the ";" that the caption and the own formula refuse.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include "design/property_tabulix_item.h"
#include "design/tests/dialog_driver.h"
#include "design/up_down.h"
#include "framework/ui_services.h"

namespace tabulix::design {
namespace {

using testing::Choose;
using testing::Click;
using testing::RunScripted;
using Item = TfrmPropertyTabulixItem;

const QStringList kDemoFields = {"COD_ARTI", "DESC_ARTI", "VENTAS_ENE", "VENTAS_FEB", "VENTAS_MAR",
                                 "STOC_ACT", "PVP",       "ACTIVO",     "OTROS"};

QStringList items(const QComboBox& list) {
    QStringList entries;
    for (int i = 0; i < list.count(); ++i) entries << list.itemText(i);
    return entries;
}

// An item dialog as the list dialog prepares it for New.
std::unique_ptr<Item> newItem(const QStringList& fields = kDemoFields) {
    auto item = std::make_unique<Item>();
    item->Campo->clear();
    item->Campo->addItems(fields);
    item->CrearComboSegunIdioma();
    return item;
}

TEST(ItemDialog, WindowControlsAndLists) {
    auto item = newItem();
    EXPECT_EQ(item->windowTitle(), "Propiedades Formula");
    EXPECT_EQ(item->font().family(), "Tahoma");
    EXPECT_EQ(item->font().pixelSize(), 13);
    EXPECT_EQ(item->minimumSize(), item->maximumSize()) << "fixed-size frame";
    EXPECT_EQ(items(*item->Formula), QStringList({"SUMA", "PROMEDIO", "MAX", "MIN", "OTRA"}));
    EXPECT_EQ(items(*item->Situacion), QStringList({"DERECHA", "IZQUIERDA", "ARRIBA", "ABAJO"}));
    EXPECT_EQ(items(*item->Alineacion), QStringList({"IZQUIERDA", "CENTRADO", "DERECHA"}));
    ASSERT_EQ(item->columna->count(), 26) << "nine fields: the letters A to Z";
    EXPECT_EQ(item->columna->itemText(0), "A");
    EXPECT_EQ(item->columna->itemText(25), "Z");
    EXPECT_EQ(item->Incrementador->Min(), 1);
    EXPECT_EQ(item->Incrementador->Max(), 50);
    EXPECT_TRUE(item->IncFila->isReadOnly());
    EXPECT_EQ(item->BitBtn1->text().remove('&'), "OK");
    EXPECT_EQ(item->BitBtn2->text().remove('&'), "Cancel");
}

TEST(ItemDialog, OkRightAfterNewGivesTheDefaults) {
    auto item = newItem();
    ASSERT_EQ(RunScripted(*item, [&](QDialog&) { Click(*item->BitBtn1); }), QDialog::Accepted);
    const Item::Resultado& r = item->Result();
    EXPECT_EQ(r.campo, "COD_ARTI");
    EXPECT_EQ(r.formula, 0);
    EXPECT_EQ(r.columna, "A");
    EXPECT_EQ(r.incFila, "1");
    EXPECT_EQ(r.texto, "");
    EXPECT_EQ(r.situacion, 0);
    EXPECT_EQ(r.alineacion, 0);
    EXPECT_EQ(r.formulaPropia, "");
}

TEST(ItemDialog, CancelAndTheCloseBoxCaptureTheValuesWithoutChecking) {
    framework::RecordingUi ui;
    auto item = newItem();
    item->Campo->setCurrentIndex(-1);
    item->Texto->setText("ABANDONADO");
    EXPECT_EQ(RunScripted(*item, [&](QDialog&) { Click(*item->BitBtn2); }), QDialog::Rejected);
    EXPECT_EQ(item->Result().texto, "ABANDONADO");
    EXPECT_EQ(item->Result().campo, "");

    auto closed = newItem();
    EXPECT_EQ(RunScripted(*closed, [&](QDialog& d) { d.close(); }), QDialog::Rejected);
    EXPECT_EQ(closed->Result().campo, "COD_ARTI");
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST(ItemDialog, OwnFormulaShownForOtraInCapitalsAndDiscardedWhenLeft) {
    auto item = newItem();
    RunScripted(*item, [&](QDialog&) {
        EXPECT_FALSE(item->FormulaPropia->isVisible());
        Choose(*item->Formula, 4);
        ASSERT_TRUE(item->FormulaPropia->isVisible());
        item->FormulaPropia->setFocus();
        QTest::keyClicks(item->FormulaPropia, "=sum(#t_ventas_ene#)");
        EXPECT_EQ(item->FormulaPropia->text(), "=SUM(#T_VENTAS_ENE#)");
        Click(*item->BitBtn1);
    });
    EXPECT_EQ(item->Result().formula, 4);
    EXPECT_EQ(item->Result().formulaPropia, "=SUM(#T_VENTAS_ENE#)");

    auto left = newItem();
    RunScripted(*left, [&](QDialog&) {
        Choose(*left->Formula, 4);
        QTest::keyClicks(left->FormulaPropia, "=1+2");
        Choose(*left->Formula, 2);  // MAX
        EXPECT_FALSE(left->FormulaPropia->isVisible());
        EXPECT_EQ(left->FormulaPropia->text(), "");
        Click(*left->BitBtn1);
    });
    EXPECT_EQ(left->Result().formula, 2);
    EXPECT_EQ(left->Result().formulaPropia, "");
}

TEST(ItemDialog, AChangeOfAnOwnFormulaOpensWithItVisible) {
    auto item = newItem();
    item->Formula->setCurrentIndex(4);
    item->FormulaPropia->setText("=#F04#*1.16");
    RunScripted(*item, [&](QDialog&) {
        EXPECT_TRUE(item->FormulaPropia->isVisible());
        EXPECT_EQ(item->FormulaPropia->text(), "=#F04#*1.16");
    });
}

TEST(ItemDialog, TheColumnFollowsTheChosenField) {
    auto item = newItem();
    Choose(*item->Campo, 2);
    EXPECT_EQ(item->columna->currentText(), "C");
    Choose(*item->Campo, 0);
    EXPECT_EQ(item->columna->currentText(), "A");
}

TEST(ItemDialog, FieldsPastZGetTheirOwnColumnLetters) {
    QStringList many;
    for (int i = 1; i <= 30; ++i) many << QString("CAMPO%1").arg(i);
    auto item = newItem(many);
    ASSERT_EQ(item->columna->count(), 30);
    EXPECT_EQ(item->columna->itemText(26), "AA");
    EXPECT_EQ(item->columna->itemText(29), "AD");
    EXPECT_EQ(item->columna->currentText(), "A") << "the default column stays A";
    Choose(*item->Campo, 26);
    EXPECT_EQ(item->columna->currentText(), "AA");
    ASSERT_EQ(RunScripted(*item, [&](QDialog&) { Click(*item->BitBtn1); }), QDialog::Accepted);
    EXPECT_EQ(item->Result().columna, "AA");
}

TEST(ItemDialog, TheRowOffsetStaysWithinOneToFiftyAndCannotBeTyped) {
    auto item = newItem();
    RunScripted(*item, [&](QDialog&) {
        Click(*item->Incrementador->DownButton());
        EXPECT_EQ(item->IncFila->text(), "1") << "no wrap below 1";
        for (int i = 0; i < 60; ++i) Click(*item->Incrementador->UpButton());
        EXPECT_EQ(item->IncFila->text(), "50") << "no wrap above 50";
        item->IncFila->setFocus();
        QTest::keyClick(item->IncFila, Qt::Key_Down);
        EXPECT_EQ(item->IncFila->text(), "49");
        QTest::keyClicks(item->IncFila, "7");
        EXPECT_EQ(item->IncFila->text(), "49") << "typing does nothing";
        Click(*item->BitBtn1);
    });
    EXPECT_EQ(item->Result().incFila, "49");
    item->Incrementador->SetPosition(0);
    EXPECT_EQ(item->IncFila->text(), "1");
}

TEST(ItemDialog, HelpLinesFollowTheFocus) {
    auto item = newItem();
    RunScripted(*item, [&](QDialog&) {
        EXPECT_EQ(item->HelpLine(), Item::kAyudaCampo) << "Campo has the focus when shown";
        item->Formula->setFocus();
        EXPECT_EQ(item->HelpLine(), Item::kAyudaFormula);
        item->columna->setFocus();
        EXPECT_EQ(item->HelpLine(), Item::kAyudaColumna);
        item->IncFila->setFocus();
        EXPECT_EQ(item->HelpLine(), Item::kAyudaIncFila);
        item->Texto->setFocus();
        EXPECT_EQ(item->HelpLine(), Item::kAyudaTexto);
        item->Alineacion->setFocus();
        EXPECT_EQ(item->HelpLine(), Item::kAyudaAlineacion);
        item->Situacion->setFocus();
        EXPECT_EQ(item->HelpLine(), Item::kAyudaSituacion);
        Choose(*item->Formula, 4);
        item->FormulaPropia->setFocus();
        EXPECT_EQ(item->HelpLine(), Item::kAyudaFormulaPropia);
        item->BitBtn2->setFocus();
        EXPECT_EQ(item->HelpLine(), "") << "leaving the eight controls empties the panel";
    });
    EXPECT_NE(std::string(Item::kAyudaFormulaPropia).find("#F02#  Ej2:"), std::string::npos);
}

TEST(ItemDialog, EveryHelpLineReadsWholeInTheDialogsPanel) {
    auto item = newItem();
    RunScripted(*item, [&](QDialog&) {
        auto* panel = item->StatusBar->findChild<QLabel*>();
        ASSERT_NE(panel, nullptr);
        const QSize before = item->size();
        const auto readsWhole = [&](const char* expected) {
            QCoreApplication::processEvents();
            EXPECT_EQ(item->HelpLine(), expected);
            EXPECT_LE(panel->heightForWidth(panel->width()), panel->height()) << expected;
            EXPECT_EQ(item->size(), before) << "the dialog keeps its size";
        };
        readsWhole(Item::kAyudaCampo);
        Choose(*item->Formula, 4);
        item->FormulaPropia->setFocus();
        readsWhole(Item::kAyudaFormulaPropia);
        // The line with both examples of an own formula is wider than the dialog: it wraps.
        EXPECT_GT(panel->fontMetrics().horizontalAdvance(QString::fromUtf8(Item::kAyudaFormulaPropia)), panel->width());
        item->IncFila->setFocus();
        readsWhole(Item::kAyudaIncFila);
        item->Texto->setFocus();
        QTest::keyClicks(item->Texto, ";");
        readsWhole(Item::kAyudaPuntoYComa);
        Click(*item->BitBtn2);
    });
}

TEST(ItemDialog, OkChecksFieldFunctionColumnAndSituationInThatOrder) {
    framework::RecordingUi ui;
    auto item = newItem();
    item->Campo->setCurrentIndex(-1);
    item->Formula->setCurrentIndex(-1);
    item->columna->setCurrentIndex(-1);
    item->Situacion->setCurrentIndex(-1);
    item->Alineacion->setCurrentIndex(-1);
    const int result = RunScripted(*item, [&](QDialog&) {
        const std::pair<QComboBox*, const char*> steps[] = {{item->Campo, "Debe indicar el Campo."},
                                                            {item->Formula, "Debe indicar la Formula."},
                                                            {item->columna, "Debe indicar la Columna."},
                                                            {item->Situacion, "Debe indicar la Situación."}};
        for (const auto& [control, message] : steps) {
            ui.Clear();
            Click(*item->BitBtn1);
            ASSERT_EQ(ui.Boxes().size(), 1u);
            EXPECT_EQ(ui.Boxes()[0].text, message);
            EXPECT_EQ(ui.Boxes()[0].type, framework::TMsgDlgType::mtError);
            EXPECT_EQ(ui.Boxes()[0].buttons, framework::mbOKOnly);
            EXPECT_TRUE(item->isVisible()) << "the dialog stays open";
            EXPECT_TRUE(control->hasFocus()) << message;
            control->setCurrentIndex(1);
        }
        ui.Clear();
        Click(*item->BitBtn1);  // the alignment is not checked
        EXPECT_TRUE(ui.Boxes().empty());
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(item->Result().alineacion, -1);
}

TEST(ItemDialog, SemicolonsAreRefusedInTheCaptionAndTheOwnFormula) {
    auto item = newItem();
    RunScripted(*item, [&](QDialog&) {
        item->Texto->setFocus();
        QTest::keyClicks(item->Texto, "TOTAL;X");
        EXPECT_EQ(item->Texto->text(), "TOTALX");
        EXPECT_EQ(item->HelpLine(), QString::fromUtf8(Item::kAyudaPuntoYComa));
        Choose(*item->Formula, 4);
        item->FormulaPropia->setFocus();
        QTest::keyClicks(item->FormulaPropia, "=max(1;2)");
        EXPECT_EQ(item->FormulaPropia->text(), "=MAX(12)");
        item->FormulaPropia->setCursorPosition(1);
        item->FormulaPropia->insert(";;");  // as a paste would
        emit item->FormulaPropia->textEdited(item->FormulaPropia->text());
        EXPECT_EQ(item->FormulaPropia->text(), "=MAX(12)");
        EXPECT_EQ(item->FormulaPropia->cursorPosition(), 1);
        Click(*item->BitBtn1);
    });
    EXPECT_EQ(item->Result().texto, "TOTALX");
}

}  // namespace
}  // namespace tabulix::design
