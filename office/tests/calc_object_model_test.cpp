// Calc through the object model: what the component's calls do to the suite's documents.

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCellRange.hpp>

#include "automation/application_provider.h"
#include "automation/automation_error.h"
#include "automation/events.h"
#include "office/calc_workbook.h"
#include "office/tests/calc_test_support.h"

namespace tabulix::office {
namespace {

using namespace automation;
using testing::Calc;
using testing::Cell;
using testing::FirstSheet;
using testing::NewWorkbook;

std::string errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const AutomationError& e) {
        return e.what();
    }
    return "";
}

TEST(CalcObjectModel, ValuesAndEnglishFormulas) {
    const DispatchPtr sheet = FirstSheet(NewWorkbook());
    Cell(sheet, "A1")->put(dispid::Value, Variant(2.5));
    Cell(sheet, "A2")->put(dispid::Value, Variant(std::int32_t{4}));
    Cell(sheet, "B1")->put(dispid::Value, Variant("=A1 stays text"));
    Cell(sheet, "C1")->put(dispid::Formula, Variant("=SUM(A1:A2)"));
    Cell(sheet, "C2")->put(dispid::Formula, Variant("=IF(A1>2,\"big\",\"small\")"));
    Cell(sheet, "C3")->put(dispid::Formula, Variant("=STDEV(A1:A2)*1.16"));

    EXPECT_EQ(Cell(sheet, "B1")->get(dispid::Value).toText(), "=A1 stays text");
    EXPECT_DOUBLE_EQ(Cell(sheet, "C1")->get(dispid::Value).toDouble(), 6.5);
    EXPECT_EQ(Cell(sheet, "C1")->get(dispid::Formula).toText(), "=SUM(A1:A2)");
    EXPECT_EQ(Cell(sheet, "C2")->get(dispid::Value).toText(), "big");
    EXPECT_NEAR(Cell(sheet, "C3")->get(dispid::Value).toDouble(), 1.0606601717798 * 1.16, 1e-9);
}

// Values put one cell at a time are written to Calc together, later; every other call sees them
// written, in the order they were put, on whichever sheet: a value replaced, a cell emptied
// again, a formula over them, a Boolean that brings its format along in between.
TEST(CalcObjectModel, ValuesPutOneByOneAreAllThereForTheNextCall) {
    const DispatchPtr book = NewWorkbook();
    const DispatchPtr first = FirstSheet(book);
    const DispatchPtr second = book->get(dispid::Worksheets).toObject()->call(dispid::Add).toObject();
    for (int row = 1; row <= 40; ++row) {
        const std::string r = std::to_string(row);
        Cell(first, "A" + r)->put(dispid::Value, Variant(row * 1.5));
        Cell(first, "B" + r)->put(dispid::Value, Variant("fila " + r));
        if (row % 7 == 0) Cell(first, "C" + r)->put(dispid::Value, Variant(row % 2 == 0));
        Cell(second, "A" + r)->put(dispid::Value, Variant(row));
    }
    Cell(first, "A2")->put(dispid::Value, Variant(100.0));
    Cell(first, "B3")->put(dispid::Value, Variant::null());
    Cell(first, "D1")->put(dispid::Formula, Variant("=SUM(A1:A40)"));
    EXPECT_DOUBLE_EQ(Cell(first, "D1")->get(dispid::Value).toDouble(), 1.5 * (40 * 41 / 2) - 3.0 + 100.0);
    EXPECT_EQ(Cell(first, "B40")->get(dispid::Value).toText(), "fila 40");
    EXPECT_TRUE(Cell(first, "B3")->get(dispid::Value).isEmpty());
    EXPECT_DOUBLE_EQ(Cell(first, "C14")->get(dispid::Value).toDouble(), 1.0);
    EXPECT_DOUBLE_EQ(Cell(second, "A40")->get(dispid::Value).toDouble(), 40.0);

    // Booleans down a column bring their format only into the cells that had none.
    Cell(first, "E2")->put(dispid::NumberFormat, Variant("0.00"), kLcidEnglishUS);
    for (const char* name : {"E1", "E2", "E3"}) Cell(first, name)->put(dispid::Value, Variant(true));
    EXPECT_EQ(Cell(first, "E2")->get(dispid::NumberFormat, {}, kLcidEnglishUS).toText(), "0.00");
    const std::string boolean = Cell(first, "C14")->get(dispid::NumberFormat, {}, kLcidEnglishUS).toText();
    EXPECT_NE(boolean, "General");
    EXPECT_EQ(Cell(first, "E1")->get(dispid::NumberFormat, {}, kLcidEnglishUS).toText(), boolean);
    EXPECT_EQ(Cell(first, "E3")->get(dispid::NumberFormat, {}, kLcidEnglishUS).toText(), boolean);
}

// What Calc holds in a cell of the first sheet, read past the object model (which would write
// the kept values first): 0 for an empty cell.
double heldInCalc(const DispatchPtr& book, sal_Int32 column, sal_Int32 row) {
    namespace css = com::sun::star;
    using css::uno::Reference;
    const auto& model = std::dynamic_pointer_cast<CalcWorkbook>(book)->model();
    const Reference<css::container::XIndexAccess> sheets(
        Reference<css::sheet::XSpreadsheetDocument>(model, css::uno::UNO_QUERY_THROW)->getSheets(),
        css::uno::UNO_QUERY_THROW);
    const Reference<css::table::XCellRange> cells(sheets->getByIndex(0), css::uno::UNO_QUERY_THROW);
    return cells->getCellByPosition(column, row)->getValue();
}

// Hidden, values wait for the call that needs them; shown, the rows that have waited go over
// when the next row begins, so that the user sees the sheet grow (and the row being put waits).
TEST(CalcObjectModel, ShownValuesGoOverInWholeRowsAsTheyWait) {
    for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "shown" : "hidden");
        const DispatchPtr book = NewWorkbook();
        const DispatchPtr sheet = FirstSheet(book);
        Calc()->put(dispid::Visible, Variant(shown));
        Cell(sheet, "A1")->put(dispid::Value, Variant(1.0));
        Cell(sheet, "B1")->put(dispid::Value, Variant(2.0));
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        Cell(sheet, "A2")->put(dispid::Value, Variant(3.0));
        EXPECT_EQ(heldInCalc(book, 0, 0), shown ? 1.0 : 0.0);
        EXPECT_EQ(heldInCalc(book, 1, 0), shown ? 2.0 : 0.0);
        EXPECT_EQ(heldInCalc(book, 0, 1), 0.0);
        EXPECT_EQ(Cell(sheet, "A2")->get(dispid::Value).toDouble(), 3.0);
        Calc()->put(dispid::Visible, Variant(false));
        book->call(dispid::Close, {Variant(false)});
    }
}

// Records the threads that application events arrive on.
class ThreadsOfEvents final : public EventSink {
public:
    void onEvent(DispId, std::span<Variant>) override { threads.push_back(std::this_thread::get_id()); }
    std::vector<std::thread::id> threads;
};

// Puts `count` values down column A of the workbook's first sheet, adding a sheet half-way,
// then reads them back: their sum.
double fillAndSum(const DispatchPtr& book, int count) {
    const DispatchPtr sheet = FirstSheet(book);
    for (int row = 1; row <= count; ++row) {
        Cell(sheet, "A" + std::to_string(row))->put(dispid::Value, Variant(static_cast<double>(row)));
        if (row == count / 2) book->get(dispid::Worksheets).toObject()->call(dispid::Add);
    }
    double sum = 0;
    for (int row = 1; row <= count; ++row) sum += Cell(sheet, "A" + std::to_string(row))->get(dispid::Value).toDouble();
    return sum;
}

// Two threads drive the one soffice at once, each its own workbook: their calls take turns, no
// value goes astray, and the events of a workbook reach only the thread that added it.
TEST(CalcObjectModel, ThreadsTakeTurnsAndKeepTheirOwnEvents) {
    const DispatchPtr calc = Calc();
    const int soffice = CalcProcessId();
    ThreadsOfEvents heard;
    const auto cookie = calc->events()->advise(heard);
    constexpr int kValues = 40;
    const double expected = kValues * (kValues + 1) / 2.0;
    double otherSum = 0;
    std::string otherError;
    std::thread other([&] {
        try {
            const DispatchPtr book = attachOrStartApplication()->get(dispid::Workbooks).toObject()->call(dispid::Add).toObject();
            otherSum = fillAndSum(book, kValues);
            book->call(dispid::Close, {Variant(false)});
        } catch (const std::exception& e) {
            otherError = e.what();
        }
    });
    const DispatchPtr book = NewWorkbook();
    const double sum = fillAndSum(book, kValues);
    other.join();
    book->call(dispid::Close, {Variant(false)});
    calc->events()->unadvise(cookie);
    EXPECT_EQ(otherError, "");
    EXPECT_EQ(sum, expected);
    EXPECT_EQ(otherSum, expected);
    EXPECT_EQ(CalcProcessId(), soffice) << "one soffice for the process";
    EXPECT_FALSE(heard.threads.empty());
    for (const std::thread::id thread : heard.threads) EXPECT_EQ(thread, std::this_thread::get_id());
}

TEST(CalcObjectModel, AFormulaCalcCannotReadIsRefusedAndTheCellKept) {
    const DispatchPtr sheet = FirstSheet(NewWorkbook());
    Cell(sheet, "A1")->put(dispid::Value, Variant(7.0));
    for (const char* formula : {"=SUM(A2:A3", "=1+*2", "=(A2))"}) {
        const std::string error = errorOf([&] { Cell(sheet, "A1")->put(dispid::Formula, Variant(formula)); });
        EXPECT_NE(error.find("Range.Formula"), std::string::npos) << formula << ": " << error;
        EXPECT_DOUBLE_EQ(Cell(sheet, "A1")->get(dispid::Value).toDouble(), 7.0) << formula;
    }
}

TEST(CalcObjectModel, CellNamesOutsideTheSheetAreRefused) {
    const DispatchPtr sheet = FirstSheet(NewWorkbook());
    for (const char* name : {"", "A0", "1A", "XFE1", "A1048577", "A1:B2"}) {
        const std::string error = errorOf([&] { Cell(sheet, name); });
        EXPECT_NE(error.find("is not a cell name"), std::string::npos) << name << ": " << error;
    }
}
TEST(CalcObjectModel, NumberFormatsAreReadInTheCallsLocaleAndKeptInTheFilesNotation) {
    const DispatchPtr sheet = FirstSheet(NewWorkbook());
    Cell(sheet, "A1")->put(dispid::NumberFormat, Variant("#.##0,00"), kLcidSpanishSpain);
    EXPECT_EQ(Cell(sheet, "A1")->get(dispid::NumberFormat).toText(), "#,##0.00");
    Cell(sheet, "A2")->put(dispid::NumberFormat, Variant("#,##0.000"), kLcidEnglishUS);
    EXPECT_EQ(Cell(sheet, "A2")->get(dispid::NumberFormat).toText(), "#,##0.000");
    Cell(sheet, "A3")->put(dispid::NumberFormat, Variant("#.##0,00 \"kg.\""), kLcidSpanishSpain);
    EXPECT_EQ(Cell(sheet, "A3")->get(dispid::NumberFormat).toText(), "#,##0.00 \"kg.\"");
    Cell(sheet, "A4")->put(dispid::NumberFormat, Variant(""), kLcidSpanishSpain);
    EXPECT_EQ(Cell(sheet, "A4")->get(dispid::NumberFormat).toText(), "General");
}

TEST(CalcObjectModel, SheetNamesFollowTheSpreadsheetsRules) {
    const DispatchPtr book = NewWorkbook();
    const DispatchPtr sheets = book->get(dispid::Sheets).toObject();
    const DispatchPtr added = sheets->call(dispid::Add).toObject();  // placed first
    const DispatchPtr other = sheets->get(dispid::Item, {Variant(std::int32_t{2})}).toObject();
    other->put(dispid::Name, Variant("Ventas"));
    for (const char* bad : {"", "a/b", "[x]", "VENTAS", "1234567890123456789012345678901x"}) {
        const std::string error = errorOf([&] { added->put(dispid::Name, Variant(bad)); });
        EXPECT_NE(error.find("Worksheet.Name"), std::string::npos) << bad << ": " << error;
    }
    added->put(dispid::Name, Variant("Resumen"));
    EXPECT_EQ(sheets->get(dispid::Item, {Variant("resumen")}).toObject()->get(dispid::Name).toText(), "Resumen");
    EXPECT_EQ(sheets->get(dispid::Count).toInt32(), 2);
}

TEST(CalcObjectModel, ValuesBringTheirFormatsAndFontsBordersAndWidthsReadBack) {
    const DispatchPtr sheet = FirstSheet(NewWorkbook());
    Cell(sheet, "A1")->put(dispid::Value, Variant(Date::fromYmd(2024, 2, 29)));
    EXPECT_DOUBLE_EQ(Cell(sheet, "A1")->get(dispid::Value).toDouble(), Date::fromYmd(2024, 2, 29).serial);
    EXPECT_NE(Cell(sheet, "A1")->get(dispid::NumberFormat).toText(), "General");
    Cell(sheet, "A2")->put(dispid::Value, Variant(true));
    EXPECT_DOUBLE_EQ(Cell(sheet, "A2")->get(dispid::Value).toDouble(), 1.0);

    const DispatchPtr block = sheet->get(dispid::Range, {Variant("B2"), Variant("C4")}).toObject();
    const DispatchPtr font = block->get(dispid::Font).toObject();
    font->put(dispid::Name, Variant("Tahoma"));
    font->put(dispid::Bold, Variant(true));
    font->put(dispid::Color, Variant(std::int32_t{0x0000FF}));  // red, as 0x00BBGGRR
    EXPECT_EQ(Cell(sheet, "C4")->get(dispid::Font).toObject()->get(dispid::Name).toText(), "Tahoma");
    EXPECT_TRUE(Cell(sheet, "B3")->get(dispid::Font).toObject()->get(dispid::Bold).toBool());
    EXPECT_EQ(Cell(sheet, "B2")->get(dispid::Font).toObject()->get(dispid::Color).toInt32(), 0x0000FF);
    EXPECT_NE(errorOf([&] { font->put(dispid::Color, Variant(std::int64_t{0x7F000000})); }).find("is not a colour"),
              std::string::npos);

    const DispatchPtr edge = block->get(dispid::Borders).toObject()->get(dispid::Item, {Variant(xl::EdgeTop)}).toObject();
    edge->put(dispid::Color, Variant(std::int32_t{0xFF0000}));  // blue
    edge->put(dispid::Weight, Variant(xl::Thick));
    const DispatchPtr topOfB2 = Cell(sheet, "B2")->get(dispid::Borders).toObject()->get(dispid::Item, {Variant(xl::EdgeTop)}).toObject();
    EXPECT_EQ(topOfB2->get(dispid::Weight).toInt32(), xl::Thick);
    EXPECT_EQ(topOfB2->get(dispid::Color).toInt32(), 0xFF0000);
    const DispatchPtr topOfB3 = Cell(sheet, "B3")->get(dispid::Borders).toObject()->get(dispid::Item, {Variant(xl::EdgeTop)}).toObject();
    EXPECT_EQ(topOfB3->get(dispid::Weight).toInt32(), xl::Hairline) << "only the block's outer edge has the line";

    Cell(sheet, "D1")->put(dispid::ColumnWidth, Variant(20.0));
    EXPECT_NEAR(Cell(sheet, "D1")->get(dispid::ColumnWidth).toDouble(), 20.0, 0.15);
    Cell(sheet, "E1")->put(dispid::Value, Variant("un texto bastante largo para la columna"));
    Cell(sheet, "E1")->get(dispid::Columns).toObject()->call(dispid::AutoFit);
    EXPECT_GT(Cell(sheet, "E1")->get(dispid::ColumnWidth).toDouble(), 25.0);
}

// What the embedded spreadsheet counts in UTF-16 code units, Calc counts the same way: twenty
// "ñ" make a sheet name of twenty characters, however many bytes they take.
TEST(CalcObjectModel, NamesAndTextsAreMeasuredInUtf16Units) {
    const DispatchPtr sheet = FirstSheet(NewWorkbook());
    std::string twenty, thirtyTwo;
    for (int i = 0; i < 20; ++i) twenty += "\xC3\xB1";
    for (int i = 0; i < 32; ++i) thirtyTwo += "\xC3\xB1";
    sheet->put(dispid::Name, Variant(twenty));
    EXPECT_EQ(sheet->get(dispid::Name).toText(), twenty);
    EXPECT_NE(errorOf([&] { sheet->put(dispid::Name, Variant(thirtyTwo)); }).find("is longer than 31 characters"),
              std::string::npos);

    std::string wide;  // 16,384 characters of four bytes, 32,768 UTF-16 units
    for (int i = 0; i < 16384; ++i) wide += "\xF0\x9F\x98\x80";
    EXPECT_EQ(errorOf([&] { Cell(sheet, "A1")->put(dispid::Value, Variant(wide)); }),
              "Range.Value: a cell holds at most 32767 characters (UTF-16 code units), the text has 32768");
    const std::string most(32767, 'x');
    Cell(sheet, "A2")->put(dispid::Value, Variant(most));
    EXPECT_EQ(Cell(sheet, "A2")->get(dispid::Value).toText(), most) << "nothing is cut";
}

// Dates and amounts bring the embedded spreadsheet's formats, in the file's notation and with no
// locale of their own; so do formats given in English.
TEST(CalcObjectModel, ValuesBringTheEmbeddedSpreadsheetsFormats) {
    const DispatchPtr sheet = FirstSheet(NewWorkbook());
    const auto formatAfter = [&](const std::string& cell, const Variant& value, Lcid lcid) {
        Cell(sheet, cell)->put(dispid::Value, value, lcid);
        return Cell(sheet, cell)->get(dispid::NumberFormat).toText();
    };
    const Variant morning(Date{Date::fromYmd(2024, 2, 29).serial + 0.25});
    EXPECT_EQ(formatAfter("A1", Variant(Date::fromYmd(1800, 1, 1)), kLcidSpanishSpain), "DD/MM/YYYY");
    EXPECT_EQ(formatAfter("A2", morning, kLcidSpanishSpain), "DD/MM/YYYY H:MM");
    EXPECT_EQ(formatAfter("A3", Variant(Date::fromYmd(2000, 1, 1)), kLcidEnglishUS), "M/D/YYYY");
    EXPECT_EQ(formatAfter("A4", Variant(Currency::fromDouble(12.5)), kLcidSpanishSpain), "#,##0.00 \"\xE2\x82\xAC\"");
    Cell(sheet, "A5")->put(dispid::NumberFormat, Variant("#,##0.000"), kLcidEnglishUS);
    for (const char* cell : {"A1", "A2", "A3", "A4", "A5"})
        EXPECT_EQ(Cell(sheet, cell)->get(dispid::NumberFormat).toText().find("[$"), std::string::npos) << cell;
    // A text Calc would read as a number or a formula keeps the general format.
    for (const char* text : {"00123", "=A1", "12%", "TRUE"}) {
        Cell(sheet, "B1")->put(dispid::Value, Variant(text));
        EXPECT_EQ(Cell(sheet, "B1")->get(dispid::NumberFormat).toText(), "General") << text;
        EXPECT_EQ(Cell(sheet, "B1")->get(dispid::Value).toText(), text);
    }
}

// AutoFit fits the range's own cells, not everything the column holds, and never past 255.
TEST(CalcObjectModel, AutoFitTakesTheRangesCellsOnly) {
    const DispatchPtr sheet = FirstSheet(NewWorkbook());
    Cell(sheet, "A1")->put(dispid::Value, Variant("A TITLE FAR WIDER THAN THE DATA BELOW IT"));
    for (const char* cell : {"A2", "A3", "A4"}) Cell(sheet, cell)->put(dispid::Value, Variant("abc"));
    Cell(sheet, "A5")->put(dispid::Formula, Variant("=LEN(A1)*1000000"));
    sheet->get(dispid::Range, {Variant("A2"), Variant("A5")}).toObject()->get(dispid::Columns).toObject()->call(dispid::AutoFit);
    const double fitted = Cell(sheet, "A1")->get(dispid::ColumnWidth).toDouble();
    EXPECT_GT(fitted, 7.0) << "the formula's result, 40000000, is fitted";
    EXPECT_LT(fitted, 15.0) << "the title above is not";

    Cell(sheet, "B1")->put(dispid::Value, Variant(std::string(400, 'w')));
    Cell(sheet, "B1")->get(dispid::Columns).toObject()->call(dispid::AutoFit);
    EXPECT_LE(Cell(sheet, "B1")->get(dispid::ColumnWidth).toDouble(), 255.0);
    EXPECT_GT(Cell(sheet, "B1")->get(dispid::ColumnWidth).toDouble(), 200.0);
    EXPECT_EQ(NewWorkbook()->get(dispid::Sheets).toObject()->get(dispid::Count).toInt32(), 1)
        << "the sheet AutoFit measures on is gone";
}

// A line drawn on an edge replaces the line the cells across the edge draw there.
TEST(CalcObjectModel, TheLaterBorderLineWins) {
    const DispatchPtr sheet = FirstSheet(NewWorkbook());
    const auto border = [&](const char* first, const char* last, std::int32_t index) {
        return sheet->get(dispid::Range, {Variant(first), Variant(last)})
            .toObject()
            ->get(dispid::Borders)
            .toObject()
            ->get(dispid::Item, {Variant(index)})
            .toObject();
    };
    const DispatchPtr above = border("A1", "B1", xl::EdgeBottom);
    above->put(dispid::Weight, Variant(xl::Thick));
    above->put(dispid::Color, Variant(std::int32_t{0x0000FF}));
    const DispatchPtr below = border("A2", "B2", xl::EdgeTop);
    below->put(dispid::Weight, Variant(xl::Thin));
    below->put(dispid::Color, Variant(std::int32_t{0xFF0000}));
    for (const char* cell : {"A1", "B1"}) {
        EXPECT_EQ(border(cell, cell, xl::EdgeBottom)->get(dispid::Weight).toInt32(), xl::Thin) << cell;
        EXPECT_EQ(border(cell, cell, xl::EdgeBottom)->get(dispid::Color).toInt32(), 0xFF0000) << cell;
    }
    EXPECT_EQ(border("C1", "C1", xl::EdgeBottom)->get(dispid::Weight).toInt32(), xl::Hairline) << "no line there to replace";
}

TEST(CalcObjectModel, SaveAsWritesAnXlsxOrNothing) {
    const DispatchPtr book = NewWorkbook();
    Cell(FirstSheet(book), "A1")->put(dispid::Value, Variant("hola"));
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("calc-save-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string missing = (folder / "no" / "x.xlsx").string();
    EXPECT_NE(errorOf([&] { book->call(dispid::SaveAs, {Variant(missing)}); }).find("does not exist"), std::string::npos);
    const std::filesystem::path target = folder / "libro de #ventas 100%.xlsx";
    book->call(dispid::SaveAs, {Variant(target.string())});
    std::ifstream saved(target, std::ios::binary);
    char magic[2] = {};
    saved.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "PK");
    EXPECT_EQ(book->get(dispid::Name).toText(), "libro de #ventas 100%.xlsx");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);

    // Saved over a read-only file, the new file keeps its permissions; a name without extension
    // gets ".xlsx", another extension is refused.
    std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    book->call(dispid::SaveAs, {Variant(target.string())});
    EXPECT_EQ(std::filesystem::status(target).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    book->call(dispid::SaveAs, {Variant((folder / "informe").string())});
    EXPECT_TRUE(std::filesystem::exists(folder / "informe.xlsx"));
    EXPECT_EQ(errorOf([&] { book->call(dispid::SaveAs, {Variant((folder / "informe.ods").string())}); }),
              "Workbook.SaveAs: Cannot save \"" + (folder / "informe.ods").string() +
                  "\": only .xlsx workbooks can be written");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tabulix::office
