// The component's connections against the embedded spreadsheet: new workbooks and sheets,
// showing the application, and what closing a workbook or destroying the component leaves.

#include <gtest/gtest.h>

#include <cstdio>

#include <unistd.h>

#include "automation/automation_error.h"
#include "automation/dispids.h"
#include "component/tabulix_error.h"
#include "component/tests/demo_fixture.h"
#include "component/tests/spreadsheet_fixture.h"
#include "spreadsheet/model/sheet.h"

using namespace tabulix;
using namespace tabulix::component;
using namespace tabulix::component::testing;
using automation::Variant;

namespace {

using ConnectionTest = EmbeddedSpreadsheetTest;

void expectUnconnected(const TTabulix& tabulix) {
    EXPECT_EQ(tabulix.ExcelApplication(), nullptr);
    EXPECT_EQ(tabulix.ExcelWorkbook(), nullptr);
    EXPECT_EQ(tabulix.ExcelWorksheet(), nullptr);
    EXPECT_EQ(tabulix.ExcelChart(), nullptr);
    EXPECT_EQ(tabulix.PrimeraFilaDatos(), 0);
    EXPECT_EQ(tabulix.UltimaFilaDatos(), 0);
}

TEST_F(ConnectionTest, CrearLibroTwiceLeavesTheFirstWorkbookOpen) {
    TestableTabulix tabulix(nullptr);
    tabulix.CrearLibro();
    TransferRows(tabulix, 3, 20);
    tabulix.CrearLibro();

    ASSERT_EQ(app->workbooks().size(), 2u);
    const auto& first = app->workbooks()[0];
    const auto& second = app->workbooks()[1];
    EXPECT_FALSE(first->isClosed());
    EXPECT_EQ(first->sheets().size(), 1u);
    EXPECT_EQ(second->sheets().size(), 1u);  // a workbook of one worksheet
    EXPECT_EQ(second->sheets()[0]->name(), "Hoja1");
    EXPECT_EQ(tabulix.ExcelWorkbook()->Object(), second);
    EXPECT_EQ(tabulix.ExcelWorksheet()->Object(), second->sheets()[0]);
    // The workbook-activated handler may leave a chart connection, but none is connected.
    EXPECT_TRUE(!tabulix.ExcelChart() || !tabulix.ExcelChart()->IsConnected());
    EXPECT_EQ(tabulix.PrimeraFilaDatos(), 0);
    EXPECT_EQ(tabulix.UltimaFilaDatos(), 0);
    EXPECT_FALSE(app->visible());  // CrearLibro leaves the visibility alone
}

TEST_F(ConnectionTest, CrearLibroSendsItsCallsWithTheLocale) {
    TTabulix tabulix(nullptr);
    tabulix.CrearLibro();
    char lcid[16];
    std::snprintf(lcid, sizeof lcid, "0x%04X", static_cast<unsigned>(tabulix.LocaleId()));
    const std::vector<std::string> lines = calls();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Application.Workbooks get []");
    EXPECT_EQ(lines[1], std::string("Workbooks.Add call [Int32(-4167)] lcid=") + lcid);
    EXPECT_EQ(lines[lines.size() - 2], "Workbook.Worksheets get []");
    EXPECT_EQ(lines.back(), "Worksheets.Item get [Int32(1)]");
    // In between, only the workbook-activated handler, following the new workbook: it reads
    // and activates, and neither adds nor changes anything.
    for (std::size_t i = 2; i + 2 < lines.size(); ++i) {
        EXPECT_EQ(lines[i].find(" put "), std::string::npos) << lines[i];
        EXPECT_EQ(lines[i].find(".Add "), std::string::npos) << lines[i];
    }
}

TEST_F(ConnectionTest, CrearHojaAddsAWorksheetBeforeTheActiveOne) {
    TestableTabulix tabulix(nullptr);
    tabulix.CrearHoja();  // no workbook: nothing at all
    expectUnconnected(tabulix);
    EXPECT_TRUE(app->workbooks().empty());
    EXPECT_TRUE(journal->entries().empty());
    tabulix.Activar();
    tabulix.CrearHoja();  // an application but still no workbook
    EXPECT_EQ(tabulix.ExcelWorksheet(), nullptr);
    EXPECT_TRUE(app->workbooks().empty());

    tabulix.CrearLibro();
    const auto book = app->workbooks()[0];
    TransferRows(tabulix, 3, 20);
    tabulix.CrearHoja();
    ASSERT_EQ(book->sheets().size(), 2u);
    EXPECT_EQ(book->sheets()[0]->name(), "Hoja2");
    EXPECT_EQ(book->activeSheet(), book->sheets()[0]);
    EXPECT_EQ(tabulix.ExcelWorksheet()->Object(), book->sheets()[0]);
    EXPECT_EQ(tabulix.ExcelWorkbook()->Object(), book);
    EXPECT_EQ(tabulix.PrimeraFilaDatos(), 0);
    EXPECT_EQ(tabulix.UltimaFilaDatos(), 0);

    book->activateSheet(*book->sheets()[1]);  // the user goes back to Hoja1
    tabulix.CrearHoja();
    ASSERT_EQ(book->sheets().size(), 3u);
    EXPECT_EQ(book->sheets()[1]->name(), "Hoja3");
    EXPECT_EQ(book->sheets()[2]->name(), "Hoja1");
    EXPECT_EQ(tabulix.ExcelWorksheet()->Object(), book->sheets()[1]);
}

TEST_F(ConnectionTest, GuardarLibroSavesTheConnectedWorkbookAndRefusesWithoutOne) {
    TTabulix tabulix(nullptr);
    EXPECT_THROW(tabulix.GuardarLibro("nada.xlsx"), ETabulixError);
    tabulix.CrearLibro();
    tabulix.ValorCasilla("A1", Variant("hola"));
    const std::string file = ::testing::TempDir() + "guardar_libro_" + std::to_string(::getpid());
    journal->clear();
    tabulix.GuardarLibro(file);
    EXPECT_EQ(calls().back().rfind("Workbook.SaveAs call [Text(", 0), 0u) << calls().back();
    EXPECT_EQ(std::remove((file + ".xlsx").c_str()), 0) << "no workbook saved with .xlsx added";
    EXPECT_THROW(tabulix.GuardarLibro("/no/such/folder/x.xlsx"), automation::AutomationError);
}

TEST_F(ConnectionTest, SetVisibleShowsOrHidesTheApplicationMaximized) {
    TTabulix tabulix(nullptr);
    tabulix.SetVisible(true);  // no application connection: nothing
    EXPECT_FALSE(app->visible());
    EXPECT_TRUE(journal->entries().empty());

    tabulix.Activar();
    EXPECT_FALSE(tabulix.ExcelApplication()->IsConnected());  // Activar touches no member
    tabulix.SetVisible(true);
    EXPECT_EQ(tabulix.ExcelApplication()->Object(), app);  // attached to the running one
    EXPECT_TRUE(app->visible());
    EXPECT_EQ(app->windowState(), -4137);

    app->setWindowState(-4143);
    journal->clear();
    tabulix.SetVisible(false);
    EXPECT_FALSE(app->visible());
    EXPECT_EQ(app->windowState(), -4137);
    const auto& entries = journal->entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].id, automation::dispid::Visible);
    EXPECT_EQ(entries[0].kind, automation::InvokeKind::PropertyPut);
    EXPECT_EQ(entries[0].args, std::vector<Variant>{Variant(false)});
    EXPECT_EQ(entries[1].id, automation::dispid::WindowState);
    EXPECT_EQ(entries[1].args, std::vector<Variant>{Variant(std::int32_t{-4137})});
    for (const auto& entry : entries) EXPECT_EQ(entry.lcid, tabulix.LocaleId());
}

TEST_F(ConnectionTest, ClosingTheConnectedWorkbookDropsEveryConnection) {
    TestableTabulix tabulix(nullptr);
    tabulix.CrearLibro();
    TransferRows(tabulix, 3, 20);
    auto book = app->workbooks()[0];
    EXPECT_TRUE(book->close());  // the handler leaves the cancel flag alone
    EXPECT_TRUE(book->isClosed());
    expectUnconnected(tabulix);

    // Cell writes now do nothing; the next workbook connects through a new application connection.
    journal->clear();
    tabulix.ValorCasilla("A1", Variant(1.0));
    EXPECT_TRUE(journal->entries().empty());
    tabulix.CrearLibro();
    ASSERT_NE(tabulix.ExcelApplication(), nullptr);
    EXPECT_EQ(tabulix.ExcelWorkbook()->Object(), app->workbooks().back());
}

TEST_F(ConnectionTest, ClosingTheWorkbookAfterAChartDropsEveryConnection) {
    TestableTabulix tabulix(nullptr);
    tabulix.CrearLibro();
    tabulix.ValorCasilla("A1", Variant("Mes"));
    tabulix.ValorCasilla("B1", Variant("Ventas"));
    tabulix.ValorCasilla("A2", Variant("Enero"));
    tabulix.ValorCasilla("B2", Variant(1520.5));
    tabulix.CrearGrafico("Ventas", "A1", "B2", TTipoGrafico::xlColumn, TColumna_Fila::xlEnColumna, "Ventas", "", "",
                         "", 1, 1, true);
    ASSERT_NE(tabulix.ExcelChart(), nullptr);
    ASSERT_TRUE(tabulix.ExcelChart()->IsConnected());
    TransferRows(tabulix, 2, 2);

    app->workbooks()[0]->close();
    expectUnconnected(tabulix);
}

TEST_F(ConnectionTest, ClosingAnotherWorkbookKeepsTheConnections) {
    TestableTabulix tabulix(nullptr);
    tabulix.CrearLibro();
    tabulix.CrearLibro();
    TransferRows(tabulix, 3, 20);
    auto first = app->workbooks()[0];
    auto second = app->workbooks()[1];

    first->close();
    EXPECT_EQ(app->workbooks().size(), 1u);
    ASSERT_NE(tabulix.ExcelWorkbook(), nullptr);
    EXPECT_EQ(tabulix.ExcelWorkbook()->Object(), second);
    ASSERT_NE(tabulix.ExcelWorksheet(), nullptr);
    EXPECT_EQ(tabulix.ExcelWorksheet()->Object(), second->sheets()[0]);
    EXPECT_NE(tabulix.ExcelApplication(), nullptr);
    EXPECT_EQ(tabulix.UltimaFilaDatos(), 20);
    tabulix.ValorCasilla("A1", Variant("sigue"));
    EXPECT_EQ(worksheetOf(*tabulix.ExcelWorksheet())->value(cell("A1")), Variant("sigue"));
}

TEST_F(ConnectionTest, DestroyingTheComponentLeavesTheApplicationAndItsWorkbooksOpen) {
    {
        TTabulix tabulix(nullptr);
        tabulix.CrearLibro();
        tabulix.CrearHoja();
        tabulix.ValorCasilla("B2", Variant("queda"));
        tabulix.SetVisible(true);
    }
    EXPECT_EQ(automation::runningApplication(), app);
    ASSERT_EQ(app->workbooks().size(), 1u);
    const auto book = app->workbooks()[0];
    EXPECT_FALSE(book->isClosed());
    EXPECT_EQ(book->sheets().size(), 2u);
    EXPECT_TRUE(app->visible());
    auto sheet = std::dynamic_pointer_cast<spreadsheet::Worksheet>(book->sheets()[0]);
    EXPECT_EQ(sheet->value(cell("B2")), Variant("queda"));

    // Nothing of the component hears the workbook close any more.
    EXPECT_TRUE(book->close());
}

TEST_F(ConnectionTest, ARepeatedActivarKeepsWorkingWithTheNewConnection) {
    TTabulix tabulix(nullptr);
    tabulix.Activar();
    tabulix.SetVisible(true);  // the first connection is linked and hears the events
    tabulix.Activar();
    EXPECT_FALSE(tabulix.ExcelApplication()->IsConnected());
    tabulix.CrearLibro();
    ASSERT_EQ(app->workbooks().size(), 1u);
    EXPECT_EQ(tabulix.ExcelWorkbook()->Object(), app->workbooks()[0]);

    // The user adds a workbook: the component follows it once, through the new connection.
    const auto added = app->addWorkbook();
    EXPECT_EQ(tabulix.ExcelWorkbook()->Object(), added);
    EXPECT_EQ(tabulix.ExcelWorksheet()->Object(), added->sheets()[0]);
    added->close();
    expectUnconnected(tabulix);
    EXPECT_FALSE(app->workbooks()[0]->isClosed());
}

}  // namespace
