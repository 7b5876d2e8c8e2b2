// The component on Calc: the same calls as on the embedded spreadsheet, the suite's own events
// moving its connections, charts of every kind.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/util/CloseVetoException.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include "automation/automation_error.h"
#include "automation/call_journal.h"
#include "automation/connection.h"
#include "component/tabulix.h"
#include "data/memory_data_set.h"
#include "office/calc_sheet.h"
#include "office/calc_workbook.h"
#include "office/tests/calc_test_support.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"

namespace tabulix::office {
namespace {

using namespace automation;
using component::TTabulix;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;
using testing::Calc;

std::unique_ptr<data::TMemoryDataSet> sales(int records) {
    auto set = std::make_unique<data::TMemoryDataSet>();
    set->SetName("Ventas");
    set->AddFieldDef("ARTICULO", data::TFieldType::ftString, 20);
    set->AddFieldDef("ENERO", data::TFieldType::ftFloat);
    set->AddFieldDef("FEBRERO", data::TFieldType::ftFloat);
    for (int r = 1; r <= records; ++r)
        set->AppendRecord({Variant("Art\xC3\xAD" "culo " + std::to_string(r)), Variant(r * 10.5), Variant(r * 3.0)});
    set->Open();
    return set;
}

void closeEveryWorkbook() {
    const DispatchPtr books = Calc()->get(dispid::Workbooks).toObject();
    while (books->get(dispid::Count).toInt32() > 0)
        books->get(dispid::Item, {Variant(std::int32_t{1})}).toObject()->call(dispid::Close, {Variant(false)});
}

std::shared_ptr<CalcWorkbook> calcBook(const TTabulix& tabulix) {
    return std::dynamic_pointer_cast<CalcWorkbook>(tabulix.ExcelWorkbook()->Object());
}

std::string connectedSheetName(const TTabulix& tabulix) {
    return tabulix.ExcelWorksheet()->Object()->get(dispid::Name).toText();
}

// The transfer through both applications, recorded call by call.
std::vector<std::string> journalOfTransfer(bool calc) {
    auto set = sales(4);
    TTabulix tabulix(nullptr);
    tabulix.SetDatos(set.get());
    tabulix.Titulo = "VENTAS";
    tabulix.Formulas().Add("ENERO;0;B;1;TOTAL:;0;2;");
    CallJournal journal;
    if (calc) {
        closeEveryWorkbook();
        SetCalcCallJournal(&journal);
    } else {
        shutDownRunningApplication();
        spreadsheet::installEmbeddedSpreadsheet();
        spreadsheet::runningEmbeddedApplication()->setCallJournal(&journal);
    }
    tabulix.TraspasarNuevoLibro();
    if (calc) SetCalcCallJournal(nullptr);
    else spreadsheet::runningEmbeddedApplication()->setCallJournal(nullptr);
    std::vector<std::string> lines;
    // Column widths that are put after fitting come from each spreadsheet's own measuring.
    for (const JournalEntry& entry : journal.entries())
        lines.push_back(entry.member == "ColumnWidth" && entry.kind == InvokeKind::PropertyPut
                            ? "Range.ColumnWidth put [measured]"
                            : entry.describe());
    if (!calc) shutDownRunningApplication();
    return lines;
}

TEST(CalcComponent, ATransferMakesTheSameCallsAsOnTheEmbeddedSpreadsheet) {
    const std::vector<std::string> embedded = journalOfTransfer(false);
    const std::vector<std::string> calc = journalOfTransfer(true);
    ASSERT_GT(embedded.size(), 50u);
    for (std::size_t i = 0; i < std::min(calc.size(), embedded.size()); ++i)
        ASSERT_EQ(calc[i], embedded[i]) << "call " << i;
    EXPECT_EQ(calc.size(), embedded.size());
}

TEST(CalcComponent, TheSuitesOwnEventsMoveTheComponent) {
    Calc();
    TTabulix tabulix(nullptr);
    tabulix.CrearLibro();
    tabulix.CrearHoja();
    const std::shared_ptr<CalcWorkbook> first = calcBook(tabulix);
    const std::string added = connectedSheetName(tabulix);

    // A click on the other sheet's tab: the controller activates it.
    const auto sheets = first->sheets();
    ASSERT_EQ(sheets.size(), 2u);
    const Reference<css::sheet::XSpreadsheet> other = sheetName(sheets[0]) == added ? sheets[1] : sheets[0];
    Reference<css::sheet::XSpreadsheetView>(first->controller(), UNO_QUERY_THROW)->setActiveSheet(other);
    DeliverCalcEvents();
    EXPECT_EQ(connectedSheetName(tabulix), sheetName(other));
    EXPECT_NE(connectedSheetName(tabulix), added);

    // A second workbook, then the first one's window brought to the front.
    tabulix.CrearLibro();
    const std::shared_ptr<CalcWorkbook> second = calcBook(tabulix);
    ASSERT_NE(second, first);
    first->controller()->getFrame()->activate();
    DeliverCalcEvents();
    EXPECT_EQ(calcBook(tabulix), first);
    EXPECT_EQ(tabulix.ExcelWorkbook()->Object()->get(dispid::Name).toText(), first->name());

    // Closing the connected workbook in the suite drops every connection.
    Reference<css::util::XCloseable>(first->model(), UNO_QUERY_THROW)->close(true);
    DeliverCalcEvents();
    EXPECT_EQ(tabulix.ExcelWorkbook(), nullptr);
    EXPECT_EQ(tabulix.ExcelWorksheet(), nullptr);
    EXPECT_EQ(tabulix.ExcelApplication(), nullptr);
    EXPECT_EQ(tabulix.PrimeraFilaDatos(), 0);
}

// Calc reports the activations a new sheet causes late, the old sheet's among them: none may take
// the component back to the sheet it left.
TEST(CalcComponent, TheComponentStaysOnTheSheetItAdded) {
    closeEveryWorkbook();
    auto set = sales(3);
    TTabulix tabulix(nullptr);
    tabulix.SetDatos(set.get());
    tabulix.TraspasarNuevoLibro();
    for (int i = 0; i < 3; ++i) {
        const std::string before = connectedSheetName(tabulix);
        tabulix.CrearHoja();
        tabulix.NombreHoja = "Hoja nueva " + std::to_string(i);
        tabulix.Traspasar();
        const std::string added = connectedSheetName(tabulix);
        EXPECT_NE(added, before);
        for (int wait = 0; wait < 5; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            DeliverCalcEvents();
        }
        EXPECT_EQ(connectedSheetName(tabulix), added) << "after adding sheet " << i + 2;
        EXPECT_EQ(tabulix.ExcelWorkbook()->Object()->get(dispid::ActiveSheet).toObject()->get(dispid::Name).toText(), added);
    }
}

// A text too long for a cell stops the transfer as on the embedded spreadsheet, with the same
// message naming record, field and cell; Calc would have cut it.
std::string overLongTextError(bool calc) {
    if (calc) {
        closeEveryWorkbook();
    } else {
        shutDownRunningApplication();
        spreadsheet::installEmbeddedSpreadsheet();
    }
    auto set = std::make_unique<data::TMemoryDataSet>();
    set->SetName("Notas");
    set->AddFieldDef("TEXTO", data::TFieldType::ftMemo);
    set->AppendRecord({Variant("corto")});
    set->AppendRecord({Variant(std::string(40000, 'n'))});
    set->Open();
    TTabulix tabulix(nullptr);
    tabulix.SetDatos(set.get());
    std::string error;
    try {
        tabulix.TraspasarNuevoLibro();
    } catch (const AutomationError& e) {
        error = e.what();
    }
    if (!calc) shutDownRunningApplication();
    return error;
}

TEST(CalcComponent, AnOverLongTextIsRefusedAsOnTheEmbeddedSpreadsheet) {
    const std::string embedded = overLongTextError(false);
    EXPECT_NE(embedded.find("TEXTO"), std::string::npos) << embedded;
    EXPECT_EQ(overLongTextError(true), embedded);
}

TEST(CalcComponent, ABeforeCloseHandlerCanKeepTheWorkbookOpen) {
    const DispatchPtr book = testing::NewWorkbook();
    WorkbookConnection connection(nullptr);
    connection.ConnectTo(book);
    int asked = 0;
    connection.OnBeforeClose = [&](Connection&, Variant& cancel) {
        ++asked;
        cancel = Variant(true);
    };
    const auto model = std::dynamic_pointer_cast<CalcWorkbook>(book)->model();
    EXPECT_THROW(Reference<css::util::XCloseable>(model, UNO_QUERY_THROW)->close(true), css::util::CloseVetoException);
    DeliverCalcEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(book->get(dispid::Name).toText(), std::dynamic_pointer_cast<CalcWorkbook>(book)->name());

    EXPECT_FALSE(book->call(dispid::Close, {Variant(false)}).toBool());  // through the object model too
    EXPECT_EQ(asked, 2);
    connection.OnBeforeClose = nullptr;
    EXPECT_TRUE(book->call(dispid::Close, {Variant(false)}).toBool());
}

TEST(CalcComponent, NavigationListsAndActivatesByName) {
    closeEveryWorkbook();
    TTabulix tabulix(nullptr);
    tabulix.CrearLibro();
    tabulix.CrearLibro();
    const auto books = tabulix.Libros();
    ASSERT_EQ(books->Count(), 2);
    const std::string firstName = books->Strings(0);
    tabulix.ActivarLibro(firstName);
    EXPECT_EQ(tabulix.ExcelWorkbook()->Object()->get(dispid::Name).toText(), firstName);

    tabulix.CrearHoja();
    const std::string added = connectedSheetName(tabulix);
    const auto sheets = tabulix.Hojas();
    ASSERT_EQ(sheets->Count(), 2) << sheets->Text();
    EXPECT_EQ(sheets->Strings(0), added);  // placed before the active sheet
    tabulix.ActivarHoja(sheets->Strings(1));
    EXPECT_EQ(connectedSheetName(tabulix), sheets->Strings(1));
    tabulix.ActivarHoja(sheets->Strings(0) + " ");
    EXPECT_EQ(connectedSheetName(tabulix), sheets->Strings(1));
}

TEST(CalcComponent, ChartsOfEveryKindOnSheetsOfTheirOwn) {
    auto set = sales(5);
    TTabulix tabulix(nullptr);
    tabulix.SetDatos(set.get());
    tabulix.TraspasarNuevoLibro();
    const std::string dataSheet = connectedSheetName(tabulix);
    const std::string first = "A" + std::to_string(tabulix.PrimeraFilaDatos() - 1);
    const std::string last = "C" + std::to_string(tabulix.UltimaFilaDatos());
    for (int kind = 0; kind <= static_cast<int>(component::TTipoGrafico::xlRadar); ++kind) {
        SCOPED_TRACE(kind);
        tabulix.CrearGrafico("Tipo" + std::to_string(kind), first, last, static_cast<component::TTipoGrafico>(kind),
                             kind % 2 ? component::TColumna_Fila::xlEnFila : component::TColumna_Fila::xlEnColumna,
                             "Ventas", "Art\xC3\xAD" "culos", "Euros", "Meses", 1, 1, true);
        EXPECT_EQ(tabulix.ExcelChart()->Object()->get(dispid::Name).toText(), "Tipo" + std::to_string(kind));
        EXPECT_EQ(tabulix.ExcelWorkbook()->Object()->get(dispid::ActiveSheet).toObject()->get(dispid::Name).toText(),
                  dataSheet);
    }
    // The same name again: the sheet keeps it with the suite's default name after a dot.
    tabulix.CrearGrafico("Tipo0", first, last, component::TTipoGrafico::xlPie, component::TColumna_Fila::xlEnColumna,
                         "", "", "", "", 1, 1, false);
    const std::string again = tabulix.ExcelChart()->Object()->get(dispid::Name).toText();
    EXPECT_EQ(again.rfind("Tipo0.", 0), 0u) << again;

    const auto sheets = tabulix.Hojas();
    EXPECT_EQ(sheets->Count(), 15) << sheets->Text();
    const DispatchPtr book = tabulix.ExcelWorkbook()->Object();
    EXPECT_EQ(book->get(dispid::Worksheets).toObject()->get(dispid::Count).toInt32(), 1);
    EXPECT_EQ(book->get(dispid::Sheets).toObject()->get(dispid::Count).toInt32(), 15);
}

}  // namespace
}  // namespace tabulix::office
