// ValorCasilla and FormulaCasilla against the embedded spreadsheet: what reaches the cells, and
// that each write is one range lookup and one put, sent unchanged.

#include <gtest/gtest.h>

#include "automation/automation_error.h"
#include "automation/dispids.h"
#include "component/tests/demo_fixture.h"
#include "component/tests/spreadsheet_fixture.h"
#include "spreadsheet/model/workbook.h"

using namespace tabulix;
using namespace tabulix::component;
using namespace tabulix::component::testing;
using automation::InvokeKind;
using automation::Variant;
namespace dispid = automation::dispid;

namespace {

class SingleCellTest : public EmbeddedSpreadsheetTest {
protected:
    // The component goes before the application it is connected to.
    void TearDown() override {
        demo.tabulix.reset();
        EmbeddedSpreadsheetTest::TearDown();
    }

    // The component on a new workbook, with the journal emptied of the set-up calls.
    void connect() {
        demo.tabulix->CrearLibro();
        sheet = worksheetOf(*demo.tabulix->ExcelWorksheet());
        journal->clear();
    }

    // Exactly one Range lookup of `cellName` (as both corners), then one put of `member` with `value`.
    void expectOneLookupAndOnePut(const std::string& cellName, automation::DispId member, const Variant& value) {
        const auto& entries = journal->entries();
        ASSERT_EQ(entries.size(), 2u) << ::testing::PrintToString(calls());
        EXPECT_EQ(entries[0].object, "Worksheet");
        EXPECT_EQ(entries[0].id, dispid::Range);
        EXPECT_EQ(entries[0].kind, InvokeKind::PropertyGet);
        EXPECT_EQ(entries[0].args, (std::vector<Variant>{Variant(cellName), Variant(cellName)}));
        EXPECT_EQ(entries[1].object, "Range");
        EXPECT_EQ(entries[1].id, member);
        EXPECT_EQ(entries[1].kind, InvokeKind::PropertyPut);
        EXPECT_EQ(entries[1].args, std::vector<Variant>{value});
    }

    DemoComponent demo;
    TestableTabulix& tabulix = *demo.tabulix;
    std::shared_ptr<spreadsheet::Worksheet> sheet;
};

TEST_F(SingleCellTest, WritesWithoutAWorksheetSendNothing) {
    tabulix.ValorCasilla("A1", Variant(1.0));
    tabulix.FormulaCasilla("A1", "=#F01#+1");
    tabulix.Activar();  // an application connection alone is not enough
    tabulix.ValorCasilla("A1", Variant(1.0));
    tabulix.FormulaCasilla("A1", "=SUM(#T_VENTAS_ENE#)");
    EXPECT_TRUE(journal->entries().empty());
    EXPECT_TRUE(app->workbooks().empty());
}

TEST_F(SingleCellTest, ValorCasillaPutsTheValueUnchanged) {
    connect();
    tabulix.ValorCasilla("B2", Variant(1520.5));
    expectOneLookupAndOnePut("B2", dispid::Value, Variant(1520.5));
    EXPECT_EQ(sheet->value(cell("B2")), Variant(1520.5));

    // Data stays data: a text that begins with "=" is not a formula.
    journal->clear();
    tabulix.ValorCasilla("C3", Variant("=1+2"));
    expectOneLookupAndOnePut("C3", dispid::Value, Variant("=1+2"));
    EXPECT_EQ(sheet->formulaText(cell("C3")), nullptr);
    EXPECT_EQ(sheet->value(cell("C3")), Variant("=1+2"));

    // The name goes to the spreadsheet as given: a lower-case column from Casilla('c', 7).
    journal->clear();
    tabulix.ValorCasilla(tabulix.Casilla('c', 7), Variant(true));
    expectOneLookupAndOnePut("c7", dispid::Value, Variant(true));
    EXPECT_EQ(sheet->value(cell("C7")), Variant(true));

    tabulix.ValorCasilla("D4", Variant("Descripci\xC3\xB3n"));
    EXPECT_EQ(sheet->value(cell("D4")), Variant("Descripci\xC3\xB3n"));
}

TEST_F(SingleCellTest, FormulaCasillaExpandsPlaceholdersAgainstTheLastTransfer) {
    connect();
    TransferRows(tabulix, 3, 20);
    journal->clear();
    tabulix.FormulaCasilla("E30", "=#F04#*1.16");
    expectOneLookupAndOnePut("E30", dispid::Formula, Variant("=E23*1.16"));
    ASSERT_NE(sheet->formulaText(cell("E30")), nullptr);
    EXPECT_EQ(*sheet->formulaText(cell("E30")), "=E23*1.16");

    tabulix.FormulaCasilla("F30", "=sum(#t_ventas_feb#)+#f1#");
    ASSERT_NE(sheet->formulaText(cell("F30")), nullptr);
    EXPECT_EQ(*sheet->formulaText(cell("F30")), "=SUM(D3:D20)+C21");

    // On a new sheet, before its transfer, the rows count from 0 and ranges vanish.
    tabulix.CrearHoja();
    journal->clear();
    tabulix.FormulaCasilla("A1", "=#F02#");
    expectOneLookupAndOnePut("A1", dispid::Formula, Variant("=D1"));
}

TEST_F(SingleCellTest, RefusedCellNamesAndFormulasRaiseAutomationErrors) {
    connect();
    tabulix.ValorCasilla("A5", Variant("antes"));
    EXPECT_THROW(tabulix.ValorCasilla("A0", Variant(1.0)), automation::AutomationError);
    EXPECT_THROW(tabulix.ValorCasilla("", Variant(1.0)), automation::AutomationError);
    EXPECT_THROW(tabulix.ValorCasilla("XFE1", Variant(1.0)), automation::AutomationError);
    EXPECT_THROW(tabulix.FormulaCasilla("1A", "=1"), automation::AutomationError);
    // A formula the spreadsheet cannot read leaves the cell as it was.
    EXPECT_THROW(tabulix.FormulaCasilla("A5", "=SUM(("), automation::AutomationError);
    EXPECT_EQ(sheet->value(cell("A5")), Variant("antes"));
    EXPECT_EQ(sheet->formulaText(cell("A5")), nullptr);
}

TEST_F(SingleCellTest, WritesAfterActivatingAChartSheetGoToTheWorksheet) {
    connect();
    const auto book = app->workbooks()[0];
    book->addSheets(spreadsheet::SheetType::Chart);  // the user adds a chart sheet
    const std::string chartName = book->activeSheet()->name();
    tabulix.ActivarHoja(chartName);
    ASSERT_NE(tabulix.ExcelChart(), nullptr);
    EXPECT_EQ(tabulix.ExcelChart()->Object(), book->activeSheet());

    journal->clear();
    tabulix.ValorCasilla("A1", Variant(7.0));
    expectOneLookupAndOnePut("A1", dispid::Value, Variant(7.0));
    EXPECT_EQ(sheet->value(cell("A1")), Variant(7.0));
    EXPECT_EQ(tabulix.ExcelWorksheet()->Object(), sheet);
}

}  // namespace
