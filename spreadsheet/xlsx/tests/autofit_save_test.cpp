#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "automation/automation_error.h"
#include "automation/call_journal.h"
#include "spreadsheet/measure/column_width.h"
#include "spreadsheet/measure/text_measurer.h"
#include "spreadsheet/model/tests/spreadsheet_test_support.h"
#include "spreadsheet/xlsx/tests/chart_xlsx_reader.h"
#include "spreadsheet/xlsx/xlsx_export.h"

using namespace tabulix::spreadsheet;
using namespace tabulix::spreadsheet::testing;
using tabulix::automation::AutomationError;
namespace fs = std::filesystem;

class AutoFitAndSave : public SpreadsheetTest {
protected:
    AutoFitAndSave() : SpreadsheetTest(&writeXlsx) {}
    void SetUp() override {
        SpreadsheetTest::SetUp();
        folder = fs::temp_directory_path() / ("sheet-test-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // Pixels the column draws, with the default font's digit width.
    int columnPixels(std::uint32_t column) {
        const double digit = app->textMeasurer().maxDigitWidthPixels(FontSpec{"Calibri", 11.0});
        return columnPixelsForWidth(sheet->columnWidth(column), digit);
    }
    double textPixels(const std::string& text, const FontSpec& font) {
        return app->textMeasurer().widthPixels(text, font);
    }

    fs::path folder;
};

TEST_F(AutoFitAndSave, FittedColumnsNeverShowLessThanTheDisplayedNumber) {
    range("A1", "A3")->put(dispid::NumberFormat, Variant("#,##0.00"), tabulix::automation::kLcidEnglishUS);
    putValue("A1", Variant(1234567.891));
    putValue("A2", Variant(5));
    putValue("A3", Variant(-98765432.1));
    object(range("A3")->get(dispid::Font))->put(dispid::Size, Variant(16));
    object(range("A1", "A3")->get(dispid::Columns))->call(dispid::AutoFit);
    const std::string widest = sheet->displayedText({3, 1});
    EXPECT_EQ(widest, "-98.765.432,10");
    EXPECT_GE(columnPixels(1), textPixels(widest, FontSpec{"Calibri", 16.0}) + kCellPaddingPixels);
    // Bold text is wider than regular and gets a wider column.
    putValue("B1", Variant("Importe total"));
    object(range("B1")->get(dispid::Columns))->call(dispid::AutoFit);
    const double regular = sheet->columnWidth(2);
    object(range("B1")->get(dispid::Font))->put(dispid::Bold, Variant(true));
    object(range("B1")->get(dispid::Columns))->call(dispid::AutoFit);
    EXPECT_GT(sheet->columnWidth(2), regular);
}

// General numbers are measured once per shape of their text: a column of many numbers must come
// out exactly as wide as the same column holding only its widest number.
TEST_F(AutoFitAndSave, GeneralColumnsFitTheirWidestNumberExactly) {
    const double values[] = {5, -5, 1234.5, -98765.25, 0.001, 123456789012.0, 1e-9, 42, 7.125, -0.5, 99999.99,
                             3.14159265358979, 1e20, -1234567.5, -1234567.125, 0.30000000000000004};
    const FontSpec font{"Calibri", 11.0};
    double widest = 0;
    std::uint32_t widestRow = 0;
    std::uint32_t row = 0;
    for (double v : values) {
        ++row;
        putValue("A" + std::to_string(row), Variant(v));
        const double pixels = textPixels(sheet->displayedText({row, 1}), font);
        if (pixels > widest) {
            widest = pixels;
            widestRow = row;
        }
    }
    putValue("B1", Variant(values[widestRow - 1]));
    object(range("A1", "A" + std::to_string(row))->get(dispid::Columns))->call(dispid::AutoFit);
    object(range("B1")->get(dispid::Columns))->call(dispid::AutoFit);
    EXPECT_EQ(sheet->columnWidth(1), sheet->columnWidth(2)) << sheet->displayedText({widestRow, 1});
}

TEST_F(AutoFitAndSave, FitUsesOnlyTheRangesCellsAndSkipsMergedOnes) {
    putValue("A1", Variant("A very long title that must not widen the column"));
    range("A1", "C1")->call(dispid::Merge, {Variant(1)});
    putValue("A2", Variant("short"));
    putValue("A30", Variant("another very long text outside the range"));
    object(range("A1", "A3")->get(dispid::Columns))->call(dispid::AutoFit);
    const double fitted = sheet->columnWidth(1);
    EXPECT_LT(fitted, 8.0);
    EXPECT_GE(columnPixels(1), textPixels("short", FontSpec{"Calibri", 11.0}) + kCellPaddingPixels);
    // A column with nothing to show gets the default width back.
    range("D1")->put(dispid::ColumnWidth, Variant(30));
    object(range("D1", "D5")->get(dispid::Columns))->call(dispid::AutoFit);
    EXPECT_EQ(sheet->columnWidth(4), Worksheet::kDefaultColumnWidth);
}

TEST_F(AutoFitAndSave, SavedFileReplacesTheTargetAndNamesTheWorkbook) {
    putValue("A1", Variant("hola"));
    const fs::path target = folder / "libro.xlsx";
    { std::ofstream(target) << "old"; }
    book->call(dispid::SaveAs, {Variant(target.string())});
    EXPECT_GT(fs::file_size(target), 1000u);
    EXPECT_EQ(book->name(), "libro.xlsx");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    // A name without extension gets ".xlsx"; another extension is refused.
    book->saveAs((folder / "sin_extension").string());
    EXPECT_TRUE(fs::exists(folder / "sin_extension.xlsx"));
    EXPECT_THROW(book->saveAs((folder / "libro.xls").string()), AutomationError);
}

TEST_F(AutoFitAndSave, ReplacingKeepsTheFilesModeAndANewFileTakesTheUmasks) {
    putValue("A1", Variant("privado"));
    const fs::path target = folder / "privado.xlsx";
    { std::ofstream(target) << "old"; }
    ::chmod(target.c_str(), 0600);
    book->saveAs(target.string());
    struct stat saved {};
    ASSERT_EQ(::stat(target.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 07777, 0600u);
    EXPECT_GT(saved.st_size, 1000);

    const mode_t previous = ::umask(027);
    book->saveAs((folder / "nuevo.xlsx").string());
    ::umask(previous);
    ASSERT_EQ(::stat((folder / "nuevo.xlsx").c_str(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 07777, 0640u);
}

TEST_F(AutoFitAndSave, SavingRemovesTheTemporariesOfProcessesThatNoLongerExist) {
    // A process id that is free: a child that has exited and been waited for.
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    const std::string dead = std::to_string(child), alive = std::to_string(::getpid());
    const std::vector<std::string> stale = {".~libro.xlsx." + dead + ".Ab12Cd", ".~libro.xlsx." + dead + ".zZ9yY8"};
    const std::vector<std::string> kept = {
        ".~libro.xlsx." + alive + ".Ab12Cd",    // a save going on in a live process
        ".~otro.xlsx." + dead + ".Ab12Cd",      // another workbook's
        ".~libro.xlsx." + dead + ".Ab12Cd.x",   // not a name saving gives
        ".~libro.xlsx.Ab12Cd",
        "libro.xlsx." + dead + ".Ab12Cd",
    };
    for (const auto& names : {stale, kept})
        for (const std::string& name : names) std::ofstream(folder / name) << "partial";
    putValue("A1", Variant(1));
    book->saveAs((folder / "libro.xlsx").string());
    for (const std::string& name : stale) EXPECT_FALSE(fs::exists(folder / name)) << name;
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(folder / name)) << name;
    EXPECT_TRUE(fs::exists(folder / "libro.xlsx"));
}

TEST_F(AutoFitAndSave, FailedSaveRaisesAndLeavesNoFile) {
    // A folder that cannot exist: its parent is a file (this holds for root too).
    const fs::path blocker = folder / "blocker";
    { std::ofstream(blocker) << "x"; }
    try {
        book->call(dispid::SaveAs, {Variant((blocker / "out.xlsx").string())});
        ADD_FAILURE() << "saving into a file as folder succeeded";
    } catch (const AutomationError& e) {
        EXPECT_NE(std::string(e.what()).find("Workbook.SaveAs"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("out.xlsx"), std::string::npos) << e.what();
    }
    EXPECT_THROW(book->saveAs((folder / "missing" / "out.xlsx").string()), AutomationError);
    // A read-only folder, where the permission is enforced (not for root).
    const fs::path readOnly = folder / "readonly";
    fs::create_directories(readOnly);
    ::chmod(readOnly.c_str(), 0555);
    if (::access(readOnly.c_str(), W_OK) != 0) {
        EXPECT_THROW(book->saveAs((readOnly / "out.xlsx").string()), AutomationError);
    }
    ::chmod(readOnly.c_str(), 0755);
    EXPECT_TRUE(fs::is_empty(readOnly) || geteuid() == 0);
    EXPECT_FALSE(fs::exists(folder / "missing"));
    EXPECT_EQ(book->name(), "Libro1");  // a failed save keeps the name
}

TEST_F(AutoFitAndSave, JournalRecordsEveryCallInOrder) {
    tabulix::automation::CallJournal journal;
    app->setCallJournal(&journal);
    DispatchPtr r = range("A1", "B2");
    r->put(dispid::Value, Variant(3), tabulix::automation::kLcidSpanishSpain);
    object(r->get(dispid::Borders))->get(dispid::Item, {Variant(7)});
    EXPECT_THROW(r->get("Nothing"), AutomationError);  // refused by name: never reaches the object
    app->disableCallJournal();
    r->put(dispid::Value, Variant(4));
    std::vector<std::string> lines;
    for (const auto& entry : journal.entries()) lines.push_back(entry.describe());
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Worksheet.Range get [Text(\"A1\"), Text(\"B2\")]",
                         "Range.Value put [Int32(3)] lcid=0x0C0A",
                         "Range.Borders get []",
                         "Borders.Item get [Int32(7)]",
                     }));
    auto& own = app->enableCallJournal();
    app->get(dispid::Visible);
    ASSERT_EQ(own.entries().size(), 1u);
    EXPECT_EQ(own.entries()[0].member, "Visible");
    EXPECT_EQ(own.entries()[0].id, dispid::Visible);
}

TEST_F(AutoFitAndSave, RowsGrowToTheirLargestFontUnlessTheirHeightWasSet) {
    EXPECT_DOUBLE_EQ(sheet->standardRowHeight(), 15.0);  // Calibri 11, as the application has it
    putValue("A1", Variant("T\xC3\xADtulo"));
    EXPECT_DOUBLE_EQ(sheet->rowHeight(1), 15.0);
    const auto font = object(range("B1")->get(dispid::Font));
    font->put(dispid::Size, Variant(20));
    font->put(dispid::Bold, Variant(true));
    const double grown = sheet->rowHeight(1);
    EXPECT_GE(grown, 24.0);
    EXPECT_LE(grown, 27.0);
    EXPECT_DOUBLE_EQ(range("A1", "C1")->get(dispid::RowHeight).toDouble(), grown);
    EXPECT_TRUE(range("A1", "A2")->get(dispid::RowHeight).type() == tabulix::automation::VariantType::Null);
    // A smaller font than the default's leaves the standard height; the fitted height follows
    // the fonts back down.
    object(range("A2")->get(dispid::Font))->put(dispid::Size, Variant(8));
    EXPECT_DOUBLE_EQ(sheet->rowHeight(2), 15.0);
    font->put(dispid::Size, Variant(11));
    EXPECT_DOUBLE_EQ(sheet->rowHeight(1), 15.0);
    font->put(dispid::Size, Variant(20));

    // A height set by hand stays as set (in whole pixels) whatever the fonts.
    range("A3", "A4")->put(dispid::RowHeight, Variant(30.1));
    object(range("A3")->get(dispid::Font))->put(dispid::Size, Variant(40));
    EXPECT_DOUBLE_EQ(sheet->rowHeight(3), 30.0);
    EXPECT_DOUBLE_EQ(sheet->rowHeight(4), 30.0);
    EXPECT_THROW(range("A5")->put(dispid::RowHeight, Variant(410)), tabulix::automation::AutomationError);

    const fs::path path = folder / "filas.xlsx";
    book->saveAs(path.string());
    const std::string xml = zipEntries(path.string()).at("xl/worksheets/sheet1.xml");
    const auto rowTag = [&](int row) { return firstMatch(xml, "(<row r=\"" + std::to_string(row) + "\"[^>]*>)"); };
    EXPECT_NE(rowTag(1).find("ht=\""), std::string::npos) << rowTag(1);
    EXPECT_EQ(rowTag(1).find("customHeight"), std::string::npos) << rowTag(1);
    EXPECT_EQ(rowTag(2).find("ht="), std::string::npos) << rowTag(2);
    EXPECT_NE(rowTag(3).find("ht=\"30\" customHeight=\"1\""), std::string::npos) << rowTag(3);
    EXPECT_NE(rowTag(4).find("ht=\"30\" customHeight=\"1\""), std::string::npos) << rowTag(4);  // no cells
}
