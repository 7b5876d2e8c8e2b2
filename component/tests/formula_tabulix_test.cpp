#include <gtest/gtest.h>

#include "component/tests/demo_fixture.h"
#include "framework/convert.h"

using namespace tabulix::component;
using namespace tabulix::component::testing;
using tabulix::framework::EConvertError;
using tabulix::framework::EStringListError;

TEST(ElementoFormula, SplitsAtSemicolonsWithoutTrimming) {
    const std::string record = "VENTAS_FEB;0;D;1;;0;0;";
    EXPECT_EQ(TFormulaTabulix::ElementoFormula(record, 1), "VENTAS_FEB");
    EXPECT_EQ(TFormulaTabulix::ElementoFormula(record, 3), "D");
    EXPECT_EQ(TFormulaTabulix::ElementoFormula(record, 5), "");
    EXPECT_EQ(TFormulaTabulix::ElementoFormula(record, 8), "");
    EXPECT_EQ(TFormulaTabulix::ElementoFormula(record, 9), "");
    EXPECT_EQ(TFormulaTabulix::ElementoFormula(record, 0), "");
    EXPECT_EQ(TFormulaTabulix::ElementoFormula("A;4;E;3; x ;0;2;=B1+1", 8), "=B1+1");
    EXPECT_EQ(TFormulaTabulix::ElementoFormula("A;4;E;3; x ;0;2;=B1+1", 5), " x ");
}

TEST(FormulaRecords, AccessorsAboveTheEndAreEmptyAndBelowOneRaise) {
    DemoComponent demo;
    TFormulaTabulix& list = demo.tabulix->Formulas();
    while (list.CuantasFormulas() > 3) list.Delete(list.Count() - 1);
    EXPECT_EQ(list.Campo(1), "VENTAS_ENE");
    EXPECT_EQ(list.Columna(2), "D");
    EXPECT_EQ(list.IncrementoFila(1), 1);
    EXPECT_EQ(list.Texto(1), "TOTAL VENTAS MENSUALES:");
    EXPECT_EQ(list.Situacion(1), 0);
    EXPECT_EQ(list.Alineacion(1), 2);
    EXPECT_EQ(list.Campo(4), "");
    EXPECT_EQ(list.IncrementoFila(4), 0);
    EXPECT_THROW(list.Campo(0), EStringListError);
    EXPECT_THROW(list.IncrementoFila(-1), EStringListError);
    list.Add("X;0;A;;;0;0;");
    EXPECT_THROW(list.IncrementoFila(4), EConvertError);
}

TEST(FormulaRecords, FunctionNamesFollowTheSpanishSettingButFormulasUseEnglish) {
    DemoComponent demo;
    TFormulaTabulix& list = demo.tabulix->Formulas();
    EXPECT_TRUE(list.VersionCastellana());
    EXPECT_EQ(list.NombreFuncion(0), "SUMA");
    EXPECT_EQ(list.NombreFuncion(1), "PROMEDIO");
    EXPECT_EQ(list.NombreFuncion(4), "");
    EXPECT_EQ(list.NombreFuncion(7), "");
    list.SetStrings(1, "VENTAS_FEB;1;D;1;;0;0;");
    TransferRows(*demo.tabulix, 3, 20);
    EXPECT_EQ(list.Formula(2), "=AVERAGE(D3:D20)");
    EXPECT_TRUE(list.VersionCastellana());
    EXPECT_THROW(list.Formula(7), EStringListError);
    EXPECT_THROW(list.Formula(0), EStringListError);
}

TEST(FormulaRecords, DemonstrationRecordsOverDataRowsThreeToTwenty) {
    DemoComponent demo;
    TransferRows(*demo.tabulix, 3, 20);
    TFormulaTabulix& list = demo.tabulix->Formulas();
    const char* cells[] = {"C21", "D21", "E21", "E23", "E24", "E25"};
    const char* texts[] = {"=SUM(C3:C20)",   "=SUM(D3:D20)", "=SUM(E3:E20)",
                           "=(C21+D21+E21)", "=E23*1.16",    "=STDEV(C3:C20)"};
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(demo.tabulix->CasillaFormula(i), cells[i - 1]) << "record " << i;
        EXPECT_EQ(list.Formula(i), texts[i - 1]) << "record " << i;
    }
    EXPECT_EQ(list.Formula(1, 2, 5, 4, 9), "=SUM(B5:D9)");
    EXPECT_EQ(list.Formula(1, 27, 1, 28, 2), "=SUM(AA1:AB2)");
}

TEST(FormulaPropia, ExpandsPlaceholdersInAnyCaseAndDropsBrokenOnes) {
    DemoComponent demo;
    TFormulaTabulix& list = demo.tabulix->Formulas();
    EXPECT_EQ(list.FormulaPropia("=MAX(#T_VENTAS_ENE#)"), "=MAX()");  // before any transfer
    EXPECT_EQ(list.FormulaPropia("=#F4#"), "=E3");                     // rows count from 0
    TransferRows(*demo.tabulix, 3, 20);
    EXPECT_EQ(list.FormulaPropia("=#f1#+#F02#"), "=C21+D21");
    EXPECT_EQ(list.FormulaPropia("=#FX#+1"), "=+1");
    EXPECT_EQ(list.FormulaPropia("=#F01"), "=01");
    EXPECT_EQ(list.FormulaPropia("=SUM(#T_NOEXISTE#)"), "=SUM()");
    EXPECT_EQ(list.FormulaPropia("=STDEV(#T_ventas_ene#)"), "=STDEV(C3:C20)");
    EXPECT_EQ(list.FormulaPropia("=if(a1>0,\"si\",\"no\")"), "=IF(A1>0,\"SI\",\"NO\")");
    EXPECT_EQ(list.FormulaPropia("=#F99#"), "=20");    // beyond the list: the last data row alone
    EXPECT_EQ(list.FormulaPropia("=#T_VENTAS_ENE"), "=VENTAS_ENE");  // no closing marker: empty name
    EXPECT_EQ(list.FormulaPropia(5), "=E23*1.16");
    EXPECT_THROW(list.FormulaPropia(7), EStringListError);
    // A column text that is itself a placeholder is put in once, not expanded forever.
    list.Add("VENTAS_MAR;4;#F7#;0;;0;0;=#F7#+#t_ventas_ene#");
    EXPECT_EQ(list.FormulaPropia(7), "=#F7#20+C3:C20");
}

TEST(FormulaRecords, EliminarFormulasEmptiesTheList) {
    DemoComponent demo;
    EXPECT_EQ(demo.tabulix->Formulas().CuantasFormulas(), 6);
    demo.tabulix->Formulas().EliminarFormulas();
    EXPECT_EQ(demo.tabulix->Formulas().CuantasFormulas(), 0);
}
