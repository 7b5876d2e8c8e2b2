#include <gtest/gtest.h>

#include "component/tests/demo_fixture.h"

using namespace tabulix;
using namespace tabulix::component;
using namespace tabulix::component::testing;

namespace {
std::unique_ptr<data::TMemoryDataSet> ThreeFields() {
    auto set = std::make_unique<data::TMemoryDataSet>();
    set->AddFieldDef("VENTAS", data::TFieldType::ftFloat);
    set->AddFieldDef("CODIGO", data::TFieldType::ftString, 5);
    set->AddFieldDef("TOTAL", data::TFieldType::ftFloat);
    set->Open();
    set->FieldByName("CODIGO")->SetVisible(false);
    return set;
}
}  // namespace

TEST(ColumnaCampo, CountsVisibleFieldsOnlyAndIgnoresLetterCase) {
    framework::RecordingUi ui;
    auto set = ThreeFields();
    TestableTabulix tabulix(nullptr);
    EXPECT_EQ(tabulix.ColumnaCampo("VENTAS"), 0);  // no data set
    tabulix.SetDatos(set.get());
    EXPECT_EQ(tabulix.ColumnaCampo("ventas"), 1);
    EXPECT_EQ(tabulix.ColumnaCampo("total"), 2);
    EXPECT_EQ(tabulix.ColumnaCampo("CODIGO"), 0);
    EXPECT_EQ(tabulix.ColumnaCampo("NADA"), 0);
    EXPECT_EQ(tabulix.ColumnaCampo("TOTAL "), 0);  // no trimming
}

TEST(RangoCampo, NamesTheDataCellsOfTheLastTransfer) {
    DemoComponent demo;
    EXPECT_EQ(demo.tabulix->RangoCampo("VENTAS_MAR"), "");
    TransferRows(*demo.tabulix, 5, 20);
    EXPECT_EQ(demo.tabulix->RangoCampo("DESC_ARTI"), "B5:B20");
    EXPECT_EQ(demo.tabulix->RangoCampo("ventas_ene"), "C5:C20");
    EXPECT_EQ(demo.tabulix->RangoCampo("NADA"), "");
}

TEST(CasillaFormula, NamesTheResultCellOrGivesEmptyText) {
    DemoComponent demo;
    TFormulaTabulix& list = demo.tabulix->Formulas();
    while (list.Count() > 3) list.Delete(list.Count() - 1);
    EXPECT_EQ(demo.tabulix->CasillaFormula(1), "C1");  // before any transfer: from row 0
    TransferRows(*demo.tabulix, 3, 20);
    EXPECT_EQ(demo.tabulix->CasillaFormula(1), "C21");
    EXPECT_EQ(demo.tabulix->CasillaFormula(5), "20");
    EXPECT_EQ(demo.tabulix->CasillaFormula(0), "");
    EXPECT_EQ(demo.tabulix->CasillaFormula(-3), "");
    list.Add("VENTAS_ENE;0;C;tres;;0;0;");
    EXPECT_EQ(demo.tabulix->CasillaFormula(4), "");
}

TEST(CellNames, ComponentOperationsNameColumnsBeyondZ) {
    TTabulix tabulix(nullptr);
    EXPECT_EQ(tabulix.Casilla(1, 1), "A1");
    EXPECT_EQ(tabulix.Casilla(26, 100), "Z100");
    EXPECT_EQ(tabulix.Casilla(27, 2), "AA2");
    EXPECT_EQ(tabulix.Casilla(0, 1), "");
    EXPECT_EQ(tabulix.Casilla('c', 7), "c7");
    EXPECT_EQ(tabulix.Casilla('B', 0), "B0");
    EXPECT_EQ(tabulix.Columna(0), " ");
    EXPECT_EQ(tabulix.Columna(-4), " ");
    EXPECT_EQ(tabulix.Columna(3), "C");
    EXPECT_EQ(tabulix.Columna(703), "AAA");
    EXPECT_EQ(tabulix.ColumnaExcel(1), "A");
    EXPECT_EQ(tabulix.MovCasilla("C5", 2, -1), "E4");
}

TEST(SingleCellWrites, DoNothingWithoutAWorksheet) {
    TTabulix tabulix(nullptr);
    EXPECT_NO_THROW(tabulix.ValorCasilla("A1", automation::Variant("x")));
    EXPECT_NO_THROW(tabulix.FormulaCasilla("A1", "=1+1"));
    EXPECT_NO_THROW(tabulix.ValorCasilla("not a cell", automation::Variant(1.0)));
}
