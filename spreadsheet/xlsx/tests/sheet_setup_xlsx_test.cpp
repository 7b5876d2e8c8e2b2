// A sheet's panes, autofilter and page set-up, and the workbook's defined names and document
// properties, saved and read back as a spreadsheet program reads them (openpyxl), the file
// checked against the format's schemas; a workbook without them keeps its parts as they were.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "spreadsheet/model/chart_sheet.h"
#include "spreadsheet/model/tests/spreadsheet_test_support.h"
#include "spreadsheet/xlsx/xlsx_export.h"
#include "chart_xlsx_reader.h"

using namespace tabulix::spreadsheet;
using namespace tabulix::spreadsheet::testing;
namespace fs = std::filesystem;
namespace xl = tabulix::automation::xl;

namespace {

class SavedSheetSetup : public SpreadsheetTest {
protected:
    SavedSheetSetup() : SpreadsheetTest(&writeXlsx) {}
    void SetUp() override {
        SpreadsheetTest::SetUp();
        folder = fs::temp_directory_path() / ("sheet-setup-test-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path save(const std::string& name) {
        const fs::path file = folder / name;
        book->saveAs(file.string());
        return file;
    }

    // Runs `script` (Python, the workbook as sys.argv[1]) and gives what it printed, or skips the
    // test when openpyxl is missing.
    std::string readBack(const fs::path& file, const std::string& script) {
        const fs::path source = folder / "read.py", result = folder / "read.txt";
        std::ofstream(source) << "import sys, openpyxl\nbook = openpyxl.load_workbook(sys.argv[1])\n"
                                 "out = open(sys.argv[2], 'w', encoding='utf-8')\n"
                              << script;
        const std::string command = "/usr/bin/python3 " + source.string() + " " + file.string() + " " + result.string();
        if (std::system(command.c_str()) != 0) return "<the script failed>";
        std::ifstream in(result);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    // The schema validator's verdict: 0 when every part is valid.
    static int validate(const fs::path& file) {
        const char* source = std::getenv("TABULIX_SOURCE_DIR");
        const std::string tools = std::string(source ? source : ".") + "/tools/ooxml";
        return std::system(("/usr/bin/python3 " + tools + "/validate_xlsx.py " + tools + "/xsd " + file.string() +
                            " >/dev/null")
                               .c_str());
    }

    fs::path folder;
};

bool haveOpenpyxl() { return std::system("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null") == 0; }

TEST_F(SavedSheetSetup, EverySettingReadsBackAndTheFileIsValid) {
    if (!haveOpenpyxl()) GTEST_SKIP() << "python3 with openpyxl is not available";
    sheet->setName("Hoja's & <1>");
    for (const char* cell : {"A1", "A2", "B2", "C2", "D2", "A9"}) putValue(cell, Variant(cell));

    DispatchPtr window = object(book->get("Windows", {Variant(1)}));
    window->put("SplitRow", Variant(2));
    window->put("SplitColumn", Variant(1));
    window->put("FreezePanes", Variant(true));
    range("A2", "D9")->call("AutoFilter");
    DispatchPtr page = object(sheet->get("PageSetup"));
    page->put("Orientation", Variant(xl::Landscape));
    page->put("Zoom", Variant(false));
    page->put("FitToPagesWide", Variant(1));
    page->put("FitToPagesTall", Variant(false));
    page->put("PrintTitleRows", Variant("$1:$2"));
    page->put("CenterHeader", Variant("Ventas && <Compras>"));
    page->put("LeftFooter", Variant("&D"));
    page->put("RightFooter", Variant("P\xC3\xA1gina &P de &N"));
    page->put("LeftMargin", Variant(72.0));
    page->put("BottomMargin", Variant(36.0));
    DispatchPtr names = object(book->get("Names"));
    names->call("Add", {Variant("Bloque"), Variant("='Hoja''s & <1>'!$A$3:$D$9")});
    names->call("Add", {Variant("Total"), Variant("=$D$10")});
    const auto property = [&](const char* name, const Variant& value) {
        object(book->get("BuiltinDocumentProperties", {Variant(name)}))->put(dispid::PropertyValue, value);
    };
    property("Title", Variant("Informe & <resumen>"));
    property("Author", Variant("Jos\xC3\xA9"));
    property("Company", Variant("Acme"));
    property("Creation Date", Variant(tabulix::automation::Date::fromYmd(2024, 3, 1)));

    // New sheets go before the active one: the chart sheet lies between the worksheets, and
    // built-in names count every sheet for their scope.
    book->addSheets(SheetType::Chart);
    auto second = std::static_pointer_cast<Worksheet>(book->addSheets(SheetType::Worksheet));
    second->setName("Dos");
    window = object(book->get("Windows", {Variant(1)}));
    window->put("ScrollRow", Variant(100));
    window->put("SplitRow", Variant(3));  // split, not frozen
    DispatchPtr secondPage = object(second->get("PageSetup"));
    secondPage->put("Zoom", Variant(75));
    secondPage->put("PrintTitleRows", Variant("$4:$4"));

    const fs::path file = save("finished.xlsx");
    EXPECT_EQ(validate(file), 0) << "the schema validator refused " << file;
    const std::string read = readBack(file, R"(
ws = book["Hoja's & <1>"]
s = ws.page_setup
rows = lambda sheet: sheet.print_title_rows.split("!")[-1]
out.write(f"{book.sheetnames}|{ws.freeze_panes}|{ws.sheet_view.pane.state}|{ws.auto_filter.ref}|{rows(ws)}\n")
out.write(f"{s.orientation}|{ws.sheet_properties.pageSetUpPr.fitToPage}|{s.fitToWidth}|{s.fitToHeight}\n")
out.write(f"{ws.oddHeader.center.text}|{ws.oddFooter.left.text}|{ws.oddFooter.right.text}\n")
out.write(f"{ws.page_margins.left:g}|{ws.page_margins.bottom:g}|{ws.page_margins.right:g}\n")
out.write(f"{book.defined_names['Bloque'].attr_text}|{book.defined_names['Total'].attr_text}\n")
p = book.properties
out.write(f"{p.title}|{p.creator}|{p.created:%Y-%m-%d}\n")
two = book['Dos']
out.write(f"{two.sheet_view.pane.state}|{two.sheet_view.topLeftCell}|{two.sheet_view.pane.topLeftCell}|{two.page_setup.scale}|{rows(two)}\n")
)");
    EXPECT_EQ(read,
              "['Dos', 'Gr\xC3\xA1" "fico1', \"Hoja's & <1>\"]|B3|frozen|A2:D9|$1:$2\n"
              "landscape|True|1|0\n"
              "Ventas && <Compras>|&D|P\xC3\xA1gina &P de &N\n"
              "1|0.5|0.7\n"
              "'Hoja''s & <1>'!$A$3:$D$9|'Hoja''s & <1>'!$D$10\n"
              "Informe & <resumen>|Jos\xC3\xA9|2024-03-01\n"
              "split|A100|A103|75|$4:$4\n");
    const auto entries = zipEntries(file.string());
    EXPECT_NE(entries.at("docProps/app.xml").find("<Company>Acme</Company>"), std::string::npos);
    EXPECT_NE(entries.at("xl/workbook.xml").find(R"(name="_xlnm.Print_Titles" localSheetId="2")"), std::string::npos)
        << "the chart sheet counts";
}

TEST_F(SavedSheetSetup, WithoutThemTheSheetAndPackageAreAsBefore) {
    putValue("A1", Variant(1.0));
    const auto entries = zipEntries(save("plain.xlsx").string());
    EXPECT_EQ(entries.count("docProps/core.xml"), 0u);
    EXPECT_EQ(entries.at("_rels/.rels").find("docProps"), std::string::npos);
    const std::string& xml = entries.at("xl/worksheets/sheet1.xml");
    for (const char* absent : {"<sheetPr", "<pane", "<autoFilter", "<pageSetup", "<headerFooter"})
        EXPECT_EQ(xml.find(absent), std::string::npos) << absent;
    EXPECT_NE(xml.find(R"(<sheetView tabSelected="1" workbookViewId="0"/>)"), std::string::npos);
    EXPECT_NE(xml.find(R"(<pageMargins left="0.7" right="0.7" top="0.75" bottom="0.75" header="0.3" footer="0.3"/>)"),
              std::string::npos);
    EXPECT_EQ(entries.at("xl/workbook.xml").find("definedNames"), std::string::npos);

    // A name of a sheet deleted since refers to #REF!, which the file keeps as it is.
    auto other = std::static_pointer_cast<Worksheet>(book->addSheets(SheetType::Worksheet));
    object(book->get("Names"))->call("Add", {Variant("fuera"), Variant("=" + other->name() + "!$A$1")});
    book->deleteSheet(*other);
    EXPECT_NE(zipEntries(save("ref.xlsx").string()).at("xl/workbook.xml").find(R"(<definedName name="fuera">#REF!</definedName>)"),
              std::string::npos);
}

}  // namespace
