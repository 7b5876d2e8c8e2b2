#include <gtest/gtest.h>

#include "component/tests/demo_fixture.h"
#include "framework/currency_settings.h"

using namespace tabulix;
using namespace tabulix::component;
using namespace tabulix::component::testing;
using framework::TModalResult;

TEST(TTabulixLife, ConstructorSetsTheDefaults) {
    TTabulix tabulix(nullptr);
    EXPECT_EQ(tabulix.Datos(), nullptr);
    EXPECT_TRUE(tabulix.CabeceraMostrar);
    EXPECT_TRUE(tabulix.ComaEsDecimal);
    EXPECT_EQ(tabulix.FilaInicial, 1);
    EXPECT_EQ(tabulix.NombreHoja, "Datos");
    EXPECT_EQ(tabulix.Titulo, "");
    EXPECT_TRUE(tabulix.AutoAjustarColumnasDatos);
    EXPECT_TRUE(tabulix.AutoAjustarFormulas);
    EXPECT_FALSE(tabulix.AutoAjustarFormulasTexto);
    EXPECT_TRUE(tabulix.TituloCombinarCentrar);
    EXPECT_FALSE(tabulix.VerConstruccion);
    EXPECT_FALSE(tabulix.ActivarAlCreate);
    EXPECT_EQ(tabulix.PrimeraFilaDatos(), 0);
    EXPECT_EQ(tabulix.UltimaFilaDatos(), 0);
    EXPECT_FALSE(tabulix.ConstruyendoGrafico());
    EXPECT_EQ(tabulix.LocaleId(), framework::UserDefaultLocaleId());
    EXPECT_EQ(tabulix.Formulas().CuantasFormulas(), 0);
    EXPECT_TRUE(tabulix.Formulas().VersionCastellana());
    EXPECT_EQ(tabulix.Formulas().Owner(), &tabulix);
    EXPECT_EQ(tabulix.ExcelApplication(), nullptr);
    EXPECT_EQ(tabulix.ExcelWorkbook(), nullptr);
    EXPECT_EQ(tabulix.ExcelWorksheet(), nullptr);
    EXPECT_EQ(tabulix.ExcelChart(), nullptr);
    for (TAtributosCasilla* set : {&tabulix.CabeceraFormato(), &tabulix.TituloFormato(), &tabulix.DatosFormato(),
                                   &tabulix.FormulasFormatoLiteral(), &tabulix.FormulasFormatoResultado()}) {
        EXPECT_FALSE(set->ColorFondoActivado);
        EXPECT_EQ(set->ColorFondo, framework::clWhite);
        EXPECT_TRUE(set->LiniasInterior.Empty());
        EXPECT_TRUE(set->LiniasContorno.Empty());
        EXPECT_EQ(set->GrosorInterior(), 2);
        EXPECT_EQ(set->GrosorContorno(), 2);
        EXPECT_EQ(set->Fuente().Name(), "MS Sans Serif");
    }
}

TEST(TTabulixLife, SetDatosAsksOnlyWhenADataSetIsReplaced) {
    framework::RecordingUi ui;
    auto first = MakeDemoDataSet();
    auto second = MakeDemoDataSet();
    TTabulix tabulix(nullptr);

    tabulix.Formulas().Add(kDemoRecords[0]);
    tabulix.SetDatos(first.get());  // had none: no question
    tabulix.SetDatos(first.get());  // the same one: no question
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(tabulix.Formulas().CuantasFormulas(), 1);

    ui.QueueAnswer(TModalResult::mrNo);
    tabulix.SetDatos(second.get());
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text,
              "Si modifica la fuente de Datos se eliminaran todas las Formulas creadas.\r"
              "\xC2\xBF"
              "Desea modificar la fuente de datos?");
    EXPECT_EQ(ui.Boxes()[0].type, framework::TMsgDlgType::mtConfirmation);
    EXPECT_EQ(ui.Boxes()[0].buttons, framework::mbYesNo);
    EXPECT_EQ(tabulix.Datos(), first.get());
    EXPECT_EQ(tabulix.Formulas().CuantasFormulas(), 1);

    ui.QueueAnswer(TModalResult::mrNo);
    tabulix.SetDatos(nullptr);  // none is another reference too
    EXPECT_EQ(ui.Boxes().size(), 2u);
    EXPECT_EQ(tabulix.Datos(), first.get());

    ui.QueueAnswer(TModalResult::mrYes);
    tabulix.SetDatos(second.get());
    EXPECT_EQ(tabulix.Datos(), second.get());
    EXPECT_EQ(tabulix.Formulas().CuantasFormulas(), 0);
}

TEST(TTabulixLife, WithoutAWindowASecondDataSetKeepsTheFormulasUnlessTheProgramAnswersYes) {
    ASSERT_EQ(&framework::CurrentUi(), &framework::DefaultUi());
    auto first = MakeDemoDataSet();
    auto second = MakeDemoDataSet();
    TTabulix tabulix(nullptr);
    tabulix.SetDatos(first.get());
    tabulix.Formulas().Add(kDemoRecords[0]);

    tabulix.SetDatos(second.get());
    EXPECT_EQ(tabulix.Datos(), first.get());
    EXPECT_EQ(tabulix.Formulas().CuantasFormulas(), 1);

    framework::DefaultUi().SetAnswer(TModalResult::mrYes);
    tabulix.SetDatos(second.get());
    framework::DefaultUi().SetAnswer(TModalResult::mrNone);
    EXPECT_EQ(tabulix.Datos(), second.get());
    EXPECT_EQ(tabulix.Formulas().CuantasFormulas(), 0);
}

TEST(TTabulixLife, DestroyingTheDataSetClearsDatosWithoutAQuestion) {
    framework::RecordingUi ui;
    auto set = MakeDemoDataSet();
    TTabulix tabulix(nullptr);
    tabulix.SetDatos(set.get());
    tabulix.Formulas().Add(kDemoRecords[0]);
    set.reset();
    EXPECT_EQ(tabulix.Datos(), nullptr);
    EXPECT_EQ(tabulix.Formulas().CuantasFormulas(), 1);
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(tabulix.ColumnaCampo("VENTAS_ENE"), 0);
}

TEST(TTabulixLife, DestroyingTheComponentFirstLeavesTheDataSetUsable) {
    auto set = MakeDemoDataSet();
    {
        TTabulix tabulix(nullptr);
        tabulix.SetDatos(set.get());
    }
    set->Open();  // no dangling notification left behind
    EXPECT_TRUE(set->Active());
}

TEST(TTabulixLife, ActivarAlCreateConnectsWhenLoadingEndsButNotWhileDesigning) {
    {
        TestableTabulix tabulix(nullptr);
        tabulix.ActivarAlCreate = true;
        tabulix.BeginLoading();
        EXPECT_EQ(tabulix.ExcelApplication(), nullptr);
        tabulix.EndLoading();
        EXPECT_NE(tabulix.ExcelApplication(), nullptr);
        EXPECT_FALSE(tabulix.ExcelApplication()->IsConnected());  // linked at the first use only
    }
    {
        TestableTabulix tabulix(nullptr);
        tabulix.BeginLoading();
        tabulix.EndLoading();
        EXPECT_EQ(tabulix.ExcelApplication(), nullptr);
    }
    {
        TestableTabulix tabulix(nullptr);
        tabulix.SetDesigning(true);
        tabulix.ActivarAlCreate = true;
        tabulix.BeginLoading();
        tabulix.EndLoading();
        EXPECT_EQ(tabulix.ExcelApplication(), nullptr);
    }
}

TEST(TTabulixLife, OperationsWithoutTheirConnectionDoNothing) {
    TTabulix tabulix(nullptr);
    tabulix.CrearHoja();
    tabulix.SetVisible(true);
    EXPECT_EQ(tabulix.ExcelApplication(), nullptr);
    EXPECT_EQ(tabulix.ExcelWorksheet(), nullptr);
    EXPECT_EQ(tabulix.Libros()->Count(), 0);
    EXPECT_EQ(tabulix.Hojas()->Count(), 0);
    tabulix.ActivarLibro("Libro1");
    tabulix.ActivarHoja("Hoja1");
    EXPECT_EQ(tabulix.ExcelWorkbook(), nullptr);
}

TEST(TTabulixLife, ARepeatedActivarReplacesTheApplicationConnection) {
    TTabulix tabulix(nullptr);
    tabulix.Activar();
    auto* first = tabulix.ExcelApplication();
    tabulix.Activar();
    EXPECT_NE(tabulix.ExcelApplication(), nullptr);
    EXPECT_NE(tabulix.ExcelApplication(), first);
    EXPECT_EQ(tabulix.ComponentCount(), 1);  // the earlier one was released at once
}
