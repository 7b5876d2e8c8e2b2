#include <gtest/gtest.h>

#include "component/tests/demo_fixture.h"
#include "component/tests/spreadsheet_fixture.h"
#include "spreadsheet/model/chart_sheet.h"

using namespace tabulix;
using namespace tabulix::component;
using namespace tabulix::component::testing;
using automation::Variant;

namespace {

class NavigationTest : public EmbeddedSpreadsheetTest {
protected:
    void TearDown() override {
        tabulix.reset();
        EmbeddedSpreadsheetTest::TearDown();
    }
    std::vector<std::string> lines(std::unique_ptr<framework::TStringList> list) { return list->Lines(); }
    std::shared_ptr<spreadsheet::Workbook> book(int position) { return app->workbooks().at(position - 1); }
    spreadsheet::Worksheet& worksheetNamed(const std::string& name) {
        return static_cast<spreadsheet::Worksheet&>(*app->activeWorkbook()->sheetNamed(name));
    }

    std::unique_ptr<TestableTabulix> tabulix = std::make_unique<TestableTabulix>(nullptr);
};

}  // namespace

TEST_F(NavigationTest, ListsWorkbooksAndSheetsInTheApplicationsOrder) {
    EXPECT_TRUE(lines(tabulix->Libros()).empty());
    tabulix->CrearLibro();
    tabulix->CrearLibro();
    EXPECT_EQ(lines(tabulix->Libros()), (std::vector<std::string>{"Libro1", "Libro2"}));
    tabulix->CrearHoja();  // before the active sheet
    tabulix->ValorCasilla("A1", Variant(1.0));
    tabulix->CrearGrafico("Grafica", "A1", "A1", TTipoGrafico::xlColumn, TColumna_Fila::xlEnFila, "", "", "", "", 0, 0,
                          false);
    EXPECT_EQ(lines(tabulix->Hojas()), (std::vector<std::string>{"Grafica", "Hoja2", "Hoja1"}));
}

TEST_F(NavigationTest, LookupsIgnoreLetterCaseButNotBlanks) {
    tabulix->CrearLibro();
    tabulix->CrearHoja();
    tabulix->ActivarHoja("hoja1 ");
    EXPECT_EQ(app->activeWorkbook()->activeSheet()->name(), "Hoja2");
    tabulix->ActivarHoja("hoja1");
    EXPECT_EQ(app->activeWorkbook()->activeSheet()->name(), "Hoja1");
    tabulix->ValorCasilla("B2", Variant("aqui"));
    EXPECT_EQ(worksheetNamed("Hoja1").value(cell("B2")), Variant("aqui"));

    tabulix->CrearLibro();
    auto* before = tabulix->ExcelWorkbook();
    tabulix->ActivarLibro("Libro9");
    EXPECT_EQ(tabulix->ExcelWorkbook(), before);  // not open: nothing changes
    EXPECT_EQ(app->activeWorkbook()->name(), "Libro2");
    tabulix->ActivarLibro("LIBRO1");
    EXPECT_EQ(app->activeWorkbook()->name(), "Libro1");
    tabulix->ValorCasilla("C3", Variant(3.0));
    EXPECT_EQ(static_cast<spreadsheet::Worksheet&>(*book(1)->activeSheet()).value(cell("C3")), Variant(3.0));
}

TEST_F(NavigationTest, ActivatingAChartSheetKeepsCellWritesOnTheWorksheet) {
    tabulix->CrearLibro();
    tabulix->ValorCasilla("A1", Variant(1.0));
    tabulix->CrearGrafico("Grafica", "A1", "A1", TTipoGrafico::xlColumn, TColumna_Fila::xlEnFila, "", "", "", "", 0, 0,
                          false);
    tabulix->ActivarHoja("grafica");
    EXPECT_EQ(app->activeWorkbook()->activeSheet()->name(), "Grafica");
    EXPECT_TRUE(tabulix->ExcelChart()->IsConnected());
    tabulix->ValorCasilla("A2", Variant(2.0));
    EXPECT_EQ(worksheetNamed("Hoja1").value(cell("A2")), Variant(2.0));
}

TEST_F(NavigationTest, TheComponentFollowsTheUsersActivationsButNotWhileCharting) {
    tabulix->CrearLibro();
    tabulix->CrearHoja();
    TransferRows(*tabulix, 3, 20);
    app->activeWorkbook()->sheetNamed("Hoja1")->activate();  // the user clicks the tab
    tabulix->ValorCasilla("A1", Variant("aqui"));
    EXPECT_EQ(worksheetNamed("Hoja1").value(cell("A1")), Variant("aqui"));
    EXPECT_EQ(tabulix->RangoCampo("X"), "");  // no data set: rows kept but no field
    EXPECT_EQ(tabulix->UltimaFilaDatos(), 20);

    tabulix->CrearLibro();
    book(1)->activate();  // the user switches workbook
    tabulix->ValorCasilla("A2", Variant("libro1"));
    EXPECT_EQ(static_cast<spreadsheet::Worksheet&>(*book(1)->activeSheet()).value(cell("A2")), Variant("libro1"));

    // Building a chart adds and activates a chart sheet, then the data sheet again: the
    // component stays on its worksheet throughout.
    auto* worksheet = tabulix->ExcelWorksheet();
    tabulix->CrearGrafico("G", "A1", "A2", TTipoGrafico::xlPie, TColumna_Fila::xlEnColumna, "", "", "", "", 0, 0, true);
    EXPECT_EQ(tabulix->ExcelWorksheet(), worksheet);
    EXPECT_EQ(app->activeWorkbook()->activeSheet()->name(), "Hoja1");
    EXPECT_FALSE(tabulix->ConstruyendoGrafico());
}

TEST_F(NavigationTest, ChartsSendTheGalleryAndPlotByCodes) {
    tabulix->CrearLibro();
    tabulix->ValorCasilla("A1", Variant(1.0));
    for (std::size_t type = 0; type < TTipoGraficoValor.size(); ++type) {
        for (auto orientation : {TColumna_Fila::xlEnFila, TColumna_Fila::xlEnColumna}) {
            journal->clear();
            tabulix->CrearGrafico("G", "A1", "A1", static_cast<TTipoGrafico>(type), orientation, "t", "c", "v", "e", 0, 0,
                                  true);
            const automation::JournalEntry* wizard = nullptr;
            for (const auto& e : journal->entries())
                if (e.member == "ChartWizard") wizard = &e;
            ASSERT_NE(wizard, nullptr);
            ASSERT_EQ(wizard->args.size(), 11u);
            EXPECT_EQ(wizard->args[1], Variant(TTipoGraficoValor[type]));
            EXPECT_TRUE(wizard->args[2].isMissing());
            EXPECT_EQ(wizard->args[3], Variant(orientation == TColumna_Fila::xlEnFila ? 1 : 2));
            EXPECT_EQ(wizard->lcid, tabulix->LocaleId());
        }
    }
    EXPECT_EQ(TTipoGraficoValor[static_cast<int>(TTipoGrafico::xl3DSurface)], -4103);
    EXPECT_EQ(TTipoGraficoValor[static_cast<int>(TTipoGrafico::xlSurface)], 83);
    EXPECT_EQ(TTipoGraficoValor[static_cast<int>(TTipoGrafico::xlRadar)], -4151);
}

TEST_F(NavigationTest, ChartSheetNamesFallBackToTheDefaultName) {
    tabulix->CrearLibro();
    tabulix->ValorCasilla("A1", Variant(1.0));
    auto chart = [&](const std::string& name) {
        tabulix->CrearGrafico(name, "A1", "A1", TTipoGrafico::xlLine, TColumna_Fila::xlEnFila, "", "", "", "", 0, 0,
                              false);
    };
    chart("Grafica");
    chart("Grafica");
    chart("");
    EXPECT_EQ(lines(tabulix->Hojas()),
              (std::vector<std::string>{"Grafica", "Grafica.Gr\xC3\xA1" "fico2", ".Gr\xC3\xA1" "fico3", "Hoja1"}));
    EXPECT_THROW(chart("mal:nombre"), automation::AutomationError);  // both attempts refused
    EXPECT_EQ(app->activeWorkbook()->activeSheet()->name(), "Hoja1");
    EXPECT_FALSE(tabulix->ConstruyendoGrafico());
}

TEST_F(NavigationTest, AChartWithoutAWorksheetDoesNothing) {
    tabulix->CrearGrafico("G", "A1", "B2", TTipoGrafico::xlColumn, TColumna_Fila::xlEnFila, "", "", "", "", 1, 1, true);
    EXPECT_EQ(tabulix->ExcelChart(), nullptr);
    EXPECT_TRUE(journal->entries().empty());
}

TEST_F(NavigationTest, AFailingChartWizardLeavesTheDataSheetActiveAndTheChartSheetInPlace) {
    tabulix->CrearLibro();
    tabulix->ValorCasilla("A1", Variant("Mes"));
    tabulix->ValorCasilla("B1", Variant("Ventas"));
    tabulix->ValorCasilla("A2", Variant("Enero"));
    tabulix->ValorCasilla("B2", Variant(1520.5));
    auto* worksheet = tabulix->ExcelWorksheet();
    // Two label rows of a two-row block, plotted by rows, leave no row of values.
    try {
        tabulix->CrearGrafico("Grafica", "A1", "B2", TTipoGrafico::xl3DColumn, TColumna_Fila::xlEnFila, "Ventas", "Mes",
                              "Euros", "Serie", 2, 1, true);
        ADD_FAILURE() << "a chart without values was built";
    } catch (const automation::AutomationError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("ChartWizard"), std::string::npos) << message;
        EXPECT_NE(message.find("category label count (argument 5)"), std::string::npos) << message;
    }
    EXPECT_EQ(app->activeWorkbook()->activeSheet()->name(), "Hoja1");
    EXPECT_FALSE(tabulix->ConstruyendoGrafico());
    EXPECT_EQ(tabulix->ExcelWorksheet(), worksheet);
    EXPECT_EQ(lines(tabulix->Hojas()), (std::vector<std::string>{"Grafica", "Hoja1"}));
    auto chart = std::dynamic_pointer_cast<spreadsheet::ChartSheet>(app->activeWorkbook()->sheetNamed("Grafica"));
    ASSERT_NE(chart, nullptr);
    EXPECT_FALSE(chart->model());  // the sheet stays, without a chart

    // Cell writes still reach the data sheet, and the next chart succeeds beside the first.
    tabulix->ValorCasilla("C1", Variant("sigue"));
    EXPECT_EQ(worksheetNamed("Hoja1").value(cell("C1")), Variant("sigue"));
    tabulix->CrearGrafico("Grafica", "A1", "B2", TTipoGrafico::xl3DColumn, TColumna_Fila::xlEnFila, "Ventas", "Mes",
                          "Euros", "Serie", 1, 1, true);
    EXPECT_EQ(lines(tabulix->Hojas()), (std::vector<std::string>{"Grafica", "Grafica.Gr\xC3\xA1" "fico2", "Hoja1"}));
    EXPECT_EQ(app->activeWorkbook()->activeSheet()->name(), "Hoja1");
}
