#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "automation/automation_error.h"
#include "automation/events.h"
#include "spreadsheet/model/chart_sheet.h"
#include "spreadsheet_test_support.h"

using namespace tabulix::spreadsheet;
using namespace tabulix::spreadsheet::testing;
using tabulix::automation::AutomationError;
using tabulix::automation::DispId;
using tabulix::automation::EventSink;
namespace xl = tabulix::automation::xl;

namespace {

std::string nameOf(const DispatchPtr& object) { return object->get("Name").toText(); }

std::vector<std::string> sheetNames(Workbook& book) {
    std::vector<std::string> names;
    for (const auto& s : book.sheets()) names.push_back(s->name());
    return names;
}

// Records "SheetActivate Hoja2", "WorkbookActivate Libro1", "BeforeClose" in order.
struct Recorder : EventSink {
    std::vector<std::string> seen;
    std::function<void(DispId, std::span<Variant>)> action;
    void onEvent(DispId event, std::span<Variant> args) override {
        if (event == dispid::SheetActivate) seen.push_back("SheetActivate " + nameOf(args[0].toObject()));
        if (event == dispid::WorkbookActivate) seen.push_back("WorkbookActivate " + nameOf(args[0].toObject()));
        if (event == dispid::BeforeClose) seen.push_back("BeforeClose");
        if (action) action(event, args);
    }
};

}  // namespace

class WorkbookModel : public SpreadsheetTest {};

TEST_F(WorkbookModel, DefaultNamesAndPlacingOfNewSheets) {
    EXPECT_EQ(book->name(), "Libro1");
    EXPECT_EQ(sheetNames(*book), (std::vector<std::string>{"Hoja1"}));
    DispatchPtr sheets = object(book->get(dispid::Sheets));
    // Add(Before, After missing, Count 1, Type worksheet): before the active sheet, made active.
    DispatchPtr added = object(sheets->call(dispid::Add, {Variant::missing(), Variant::missing(), Variant(1),
                                                          Variant(xl::Worksheet)}, tabulix::automation::kLcidSpanishSpain));
    EXPECT_EQ(nameOf(added), "Hoja2");
    EXPECT_EQ(sheetNames(*book), (std::vector<std::string>{"Hoja2", "Hoja1"}));
    EXPECT_EQ(book->activeSheet()->name(), "Hoja2");
    DispatchPtr chart = object(sheets->call(dispid::Add, {Variant::missing(), Variant::missing(), Variant(1),
                                                          Variant(xl::Chart)}));
    EXPECT_EQ(chart->typeName(), "Chart");
    EXPECT_EQ(nameOf(chart), "Gr\xC3\xA1" "fico1");
    EXPECT_EQ(sheetNames(*book), (std::vector<std::string>{"Gr\xC3\xA1" "fico1", "Hoja2", "Hoja1"}));
    // Sheets counts every sheet, Worksheets only the worksheets.
    EXPECT_EQ(sheets->get(dispid::Count).toInt32(), 3);
    DispatchPtr worksheets = object(book->get(dispid::Worksheets));
    EXPECT_EQ(worksheets->get(dispid::Count).toInt32(), 2);
    EXPECT_EQ(nameOf(object(worksheets->get(dispid::Item, {Variant(1)}))), "Hoja2");
    EXPECT_EQ(nameOf(object(sheets->get(dispid::Item, {Variant("hoja1")}))), "Hoja1");
    // A renamed default is not reused; the counter goes on and skips names in use.
    book->sheets().back()->setName("Hoja4");
    EXPECT_EQ(book->addSheets(SheetType::Worksheet)->name(), "Hoja3");
    EXPECT_EQ(book->addSheets(SheetType::Worksheet)->name(), "Hoja5");
    // Workbook names count per application.
    EXPECT_EQ(app->addWorkbook()->name(), "Libro2");
    DispatchPtr workbooks = object(app->get(dispid::Workbooks));
    EXPECT_EQ(nameOf(object(workbooks->call(dispid::Add, {Variant(xl::WBATWorksheet)}))), "Libro3");
    EXPECT_EQ(workbooks->get(dispid::Count).toInt32(), 3);
    EXPECT_EQ(nameOf(object(workbooks->get(dispid::Item, {Variant(2)}))), "Libro2");
    EXPECT_THROW(workbooks->get(dispid::Item, {Variant(4)}), AutomationError);
    EXPECT_THROW(sheets->call(dispid::Add, {Variant::missing(), Variant::missing(), Variant(1), Variant(3)}),
                 AutomationError);
}

TEST_F(WorkbookModel, SheetNamesFollowTheNamingRules) {
    book->addSheets(SheetType::Worksheet);
    DispatchPtr first = object(object(book->get(dispid::Sheets))->get(dispid::Item, {Variant(1)}));
    auto refused = [&](const std::string& name) {
        try {
            first->put(dispid::Name, Variant(name));
            return false;
        } catch (const AutomationError& e) {
            EXPECT_NE(std::string(e.what()).find("Name"), std::string::npos) << e.what();
            return true;
        }
    };
    EXPECT_TRUE(refused("HOJA1"));  // the other sheet's name in another letter case
    EXPECT_TRUE(refused(""));
    EXPECT_TRUE(refused(std::string(32, 'x')));
    for (const char* bad : {"a:b", "a\\b", "a/b", "a?b", "a*b", "a[b", "a]b", "'quoted'"}) EXPECT_TRUE(refused(bad)) << bad;
    EXPECT_EQ(book->sheets().front()->name(), "Hoja2");  // nothing changed
    EXPECT_FALSE(refused(std::string(31, 'x')));
    EXPECT_FALSE(refused("Gr\xC3\xA1" "fico de ventas 2024"));
    EXPECT_FALSE(refused("hoja2"));  // its own name in another case
    EXPECT_EQ(nameOf(first), "hoja2");
    // Letter case is ignored beyond ASCII too.
    book->sheets().back()->setName("\xC3\x81rbol");  // Árbol
    EXPECT_THROW(book->sheets().front()->setName("\xC3\xA1RBOL"), AutomationError);
}

TEST_F(WorkbookModel, EventsArriveInOrderWithTheirTargets) {
    Recorder app_events, book_events;
    app->events()->advise(app_events);
    book->events()->advise(book_events);
    book->addSheets(SheetType::Worksheet);                 // active workbook: only the sheet event
    auto second = app->addWorkbook();                      // a new workbook is activated
    book->sheets().back()->activate();                     // Hoja1 of Libro1: workbook first, then sheet
    book->sheets().back()->activate();                     // already active: nothing
    second->activate();
    object(object(app->get(dispid::Workbooks))->call(dispid::Add, {Variant(xl::WBATWorksheet)}));
    EXPECT_EQ(app_events.seen, (std::vector<std::string>{"SheetActivate Hoja2", "WorkbookActivate Libro2",
                                                         "WorkbookActivate Libro1", "SheetActivate Hoja1",
                                                         "WorkbookActivate Libro2", "WorkbookActivate Libro3"}));
    app_events.seen.clear();
    // Closing the active workbook activates the one active before it.
    EXPECT_TRUE(app->activeWorkbook()->close());
    EXPECT_EQ(app_events.seen, (std::vector<std::string>{"WorkbookActivate Libro2"}));
    EXPECT_TRUE(book_events.seen.empty());
    app_events.seen.clear();
    book->call(dispid::Close);
    EXPECT_EQ(book_events.seen, (std::vector<std::string>{"BeforeClose"}));
    EXPECT_TRUE(app_events.seen.empty());  // Libro1 was not the active one
    EXPECT_EQ(app->workbooks().size(), 1u);
}

TEST_F(WorkbookModel, BeforeCloseCanCancelAndHandlersMayCallBackIn) {
    Recorder canceller;
    canceller.action = [](DispId, std::span<Variant> args) { args[0] = Variant(true); };
    const auto cookie = book->events()->advise(canceller);
    EXPECT_FALSE(book->close());
    EXPECT_FALSE(book->isClosed());
    EXPECT_EQ(app->workbooks().size(), 1u);
    book->events()->unadvise(cookie);

    // A handler that releases everything it can reach, adds a workbook and reads names while
    // the application is in the middle of adding a sheet.
    Recorder meddler;
    std::shared_ptr<Workbook> made;
    meddler.action = [&](DispId event, std::span<Variant> args) {
        if (event != dispid::SheetActivate || made) return;
        EXPECT_EQ(nameOf(args[0].toObject()), "Hoja2");
        made = app->addWorkbook();
        sheet.reset();
    };
    app->events()->advise(meddler);
    auto added = book->addSheets(SheetType::Worksheet);
    EXPECT_EQ(added->name(), "Hoja2");
    ASSERT_TRUE(made);
    EXPECT_EQ(app->activeWorkbook(), made);

    // A BeforeClose handler that closes the workbook itself, then drops the last references.
    Recorder closer;
    std::shared_ptr<Workbook> victim = app->addWorkbook();
    closer.action = [&](DispId, std::span<Variant>) { victim->close(); };
    victim->events()->advise(closer);
    Workbook* raw = victim.get();
    EXPECT_TRUE(raw->close());
    EXPECT_TRUE(raw->isClosed());
    victim.reset();
}

TEST_F(WorkbookModel, ClosedWorkbooksAndTheirSheetsRefuseCalls) {
    DispatchPtr r = range("A1");
    DispatchPtr ws = sheet;
    book->close();
    EXPECT_THROW(r->put(dispid::Value, Variant(1)), AutomationError);
    EXPECT_THROW(ws->get(dispid::Name), AutomationError);
    EXPECT_THROW(book->get(dispid::Sheets), AutomationError);
    EXPECT_THROW(book->close(), AutomationError);
    app.reset();  // the application goes; objects held elsewhere stay safe to call
    EXPECT_THROW(r->put(dispid::Value, Variant(1)), AutomationError);
}

// The model knows no file format: an application made without a writer refuses to save, says
// why, and writes nothing.
TEST_F(WorkbookModel, SavingWithoutAFileWriterIsRefused) {
    const std::filesystem::path target = std::filesystem::temp_directory_path() / "sin_escritor.xlsx";
    try {
        book->saveAs(target.string());
        ADD_FAILURE() << "saved without a writer";
    } catch (const AutomationError& e) {
        EXPECT_NE(std::string(e.what()).find("no file writer"), std::string::npos) << e.what();
    }
    EXPECT_EQ(book->name(), "Libro1");
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(WorkbookModel, DispatchReportsUnknownMembersAndBadArguments) {
    auto message = [](auto&& fn) {
        try {
            fn();
        } catch (const AutomationError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(sheet->idOfName("rAnGe"), dispid::Range);
    EXPECT_NE(message([&] { sheet->get("Cells"); }).find("Worksheet has no member named \"Cells\""), std::string::npos);
    EXPECT_NE(message([&] { range("A1")->get(0x7777); }).find("Range has no member with DispID 0x7777"),
              std::string::npos);
    EXPECT_NE(message([&] { range("A1")->call(dispid::Merge, {Variant(1), Variant(2)}); }).find("Range.Merge"),
              std::string::npos);
    EXPECT_NE(message([&] { object(range("A1")->get(dispid::Font))->put(dispid::Size, Variant("grande")); })
                  .find("Font.Size"),
              std::string::npos);
    EXPECT_NE(message([&] { sheet->get(dispid::Range, {Variant("A0"), Variant("A1")}); }).find("\"A0\""),
              std::string::npos);
    EXPECT_NE(message([&] { sheet->get(dispid::Range, {Variant(5)}); }).find("Worksheet.Range"), std::string::npos);
    EXPECT_NE(message([&] { app->put(dispid::WindowState, Variant(3)); }).find("Application.WindowState"),
              std::string::npos);
    app->put("visible", Variant(true));
    app->put(dispid::WindowState, Variant(xl::Maximized));
    EXPECT_TRUE(app->visible());
    EXPECT_EQ(app->windowState(), xl::Maximized);
    // A single "A1:B2" argument and two names give the same rectangle.
    EXPECT_EQ(std::dynamic_pointer_cast<Range>(object(sheet->get(dispid::Range, {Variant("B2:A1")})))->rect(),
              std::dynamic_pointer_cast<Range>(range("A1", "B2"))->rect());
}

TEST_F(WorkbookModel, ChartWizardRecordsItsArguments) {
    auto chart = std::static_pointer_cast<ChartSheet>(book->addSheets(SheetType::Chart));
    chart->call(dispid::ChartWizard, {Variant(range("A1", "C4")), Variant(-4100), Variant::missing(), Variant(2),
                                      Variant(1), Variant(1), Variant(true), Variant("Ventas"), Variant("Mes"),
                                      Variant("Euros"), Variant("")});
    ASSERT_TRUE(chart->chart());
    const ChartWizardSettings& s = *chart->chart();
    EXPECT_EQ(s.source, (CellRect{{1, 1}, {4, 3}}));
    EXPECT_EQ(s.sourceSheet.lock(), sheet);
    EXPECT_EQ(s.gallery, -4100);
    EXPECT_FALSE(s.format);
    EXPECT_EQ(s.plotBy, 2);
    EXPECT_EQ(s.hasLegend, true);
    EXPECT_EQ(s.title, "Ventas");
    EXPECT_EQ(s.valueTitle, "Euros");
    EXPECT_THROW(chart->call(dispid::ChartWizard, {Variant("A1:C4")}), AutomationError);
}
