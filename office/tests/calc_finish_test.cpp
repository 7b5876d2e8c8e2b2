// A report's finish on Calc through the object model: the window's frozen panes, the page set-up
// with its header and footer codes, defined names, document properties and the autofilter, read
// back from Calc and from the workbook it saves (with openpyxl).

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "automation/automation_error.h"
#include "component/tabulix.h"
#include "component/tests/demo_fixture.h"
#include "office/tests/calc_test_support.h"

namespace tabulix::office {
namespace {

using namespace automation;
using testing::Cell;
using testing::FirstSheet;
using testing::NewWorkbook;

bool refused(const std::function<void()>& call) {
    try {
        call();
    } catch (const AutomationError&) {
        return true;
    }
    return false;
}

TEST(CalcFinish, EverySettingReadsBackFromCalc) {
    const DispatchPtr book = NewWorkbook();
    const DispatchPtr sheet = FirstSheet(book);
    const std::string name = sheet->get(dispid::Name).toText();

    const DispatchPtr window = book->get(dispid::Windows).toObject()->get(dispid::Item, {Variant(1)}).toObject();
    window->put(dispid::SplitRow, Variant(2));
    window->put(dispid::SplitColumn, Variant(1));
    EXPECT_TRUE(window->get(dispid::FreezePanes).toBool());
    EXPECT_EQ(window->get(dispid::SplitRow).toInt32(), 2);
    EXPECT_EQ(window->get(dispid::SplitColumn).toInt32(), 1);
    window->put(dispid::FreezePanes, Variant(false));
    EXPECT_EQ(window->get(dispid::SplitRow).toInt32(), 0);
    EXPECT_TRUE(refused([&] { window->put(dispid::ScrollRow, Variant(0)); }));

    const DispatchPtr page = sheet->get(dispid::PageSetup).toObject();
    page->put(dispid::Orientation, Variant(xl::Landscape));
    page->put(dispid::Zoom, Variant(false));
    page->put(dispid::FitToPagesWide, Variant(1));
    page->put(dispid::FitToPagesTall, Variant(false));
    page->put(dispid::LeftMargin, Variant(72.0));
    page->put(dispid::PrintTitleRows, Variant("$1:$2"));
    page->put(dispid::CenterHeader, Variant("Ventas && Compras"));
    page->put(dispid::LeftFooter, Variant("&D"));
    page->put(dispid::RightFooter, Variant("P\xC3\xA1gina &P de &N"));
    EXPECT_EQ(page->get(dispid::Orientation).toInt32(), xl::Landscape);
    EXPECT_EQ(page->get(dispid::Zoom), Variant(false));
    EXPECT_EQ(page->get(dispid::FitToPagesWide).toInt32(), 1);
    EXPECT_EQ(page->get(dispid::FitToPagesTall), Variant(false));
    EXPECT_NEAR(page->get(dispid::LeftMargin).toDouble(), 72.0, 0.05);
    EXPECT_EQ(page->get(dispid::PrintTitleRows).toText(), "$1:$2");
    EXPECT_EQ(page->get(dispid::CenterHeader).toText(), "Ventas && Compras");
    EXPECT_EQ(page->get(dispid::LeftFooter).toText(), "&D");
    EXPECT_EQ(page->get(dispid::RightFooter).toText(), "P\xC3\xA1gina &P de &N");
    for (const auto& setting : std::initializer_list<std::pair<DispId, Variant>>{
             {dispid::CenterFooter, Variant("&Bnegrita")}, {dispid::Orientation, Variant(3)},
             {dispid::Zoom, Variant(5)}, {dispid::LeftMargin, Variant(-1.0)}, {dispid::PrintTitleRows, Variant("cabecera")}})
        EXPECT_TRUE(refused([&] { page->put(setting.first, setting.second); })) << setting.second.describe();
    EXPECT_EQ(page->get(dispid::RightFooter).toText(), "P\xC3\xA1gina &P de &N") << "a refused footer leaves the other";

    const DispatchPtr names = book->get(dispid::Names).toObject();
    names->call(dispid::Add, {Variant("Bloque"), Variant("='" + name + "'!$A$3:$C$9")});
    names->call(dispid::Add, {Variant("Total"), Variant("=$C$10")});
    names->call(dispid::Add, {Variant("bloque"), Variant("='" + name + "'!$A$3:$C$12")});
    EXPECT_EQ(names->get(dispid::Count).toInt32(), 2) << "a name again, in other letters, takes the new cells";
    EXPECT_EQ(names->get(dispid::Item, {Variant("Total")}).toObject()->get(dispid::RefersTo).toText(),
              "='" + name + "'!$C$10");
    EXPECT_TRUE(refused([&] { names->call(dispid::Add, {Variant("A1"), Variant("=$A$1")}); }));
    EXPECT_TRUE(refused([&] { names->call(dispid::Add, {Variant("bien"), Variant("=SUM(A1:A3)")}); }));
    EXPECT_EQ(names->get(dispid::Count).toInt32(), 2);

    const DispatchPtr properties = book->get(dispid::BuiltinDocumentProperties).toObject();
    const auto property = [&](const char* which) { return properties->get(dispid::Item, {Variant(which)}).toObject(); };
    property("Title")->put(dispid::PropertyValue, Variant("Informe"));
    property("Company")->put(dispid::PropertyValue, Variant("Acme"));
    const Date when = Date::fromYmd(2024, 3, 1);
    property("Creation Date")->put(dispid::PropertyValue, Variant(when));
    EXPECT_EQ(property("title")->get(dispid::PropertyValue).toText(), "Informe");
    EXPECT_EQ(property("Company")->get(dispid::PropertyValue).toText(), "Acme");
    EXPECT_EQ(property("Creation Date")->get(dispid::PropertyValue), Variant(when));
    EXPECT_TRUE(refused([&] { property("Colour"); }));

    // The filter buttons go on over the block and come off again.
    Cell(sheet, "A2")->put(dispid::Value, Variant("Uno"));
    const DispatchPtr block = sheet->get(dispid::Range, {Variant("A2"), Variant("C9")}).toObject();
    block->call(dispid::AutoFilter);
    block->call(dispid::AutoFilter);
    block->call(dispid::AutoFilter);
    EXPECT_TRUE(refused([&] { block->call(dispid::AutoFilter, {Variant(1), Variant(">5")}); }));

    // Each sheet keeps its own frozen panes in the saved file, shown or not.
    const DispatchPtr other = book->get(dispid::Sheets).toObject()->call(dispid::Add).toObject();
    window->put(dispid::ScrollRow, Variant(5));
    window->put(dispid::SplitRow, Variant(1));
    sheet->call(dispid::Activate);
    window->put(dispid::SplitRow, Variant(2));
    window->put(dispid::SplitColumn, Variant(1));

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("calc-finish-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "finished.xlsx";
    book->call(dispid::SaveAs, {Variant(file.string())});
    if (std::system("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null") != 0) {
        std::filesystem::remove_all(folder);
        GTEST_SKIP() << "python3 with openpyxl is not available";
    }
    const std::filesystem::path script = folder / "read.py", result = folder / "read.txt";
    std::ofstream(script) << R"(import sys, zipfile, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
ws, other = book[sys.argv[3]], book[sys.argv[4]]
s = ws.page_setup
out = open(sys.argv[2], 'w', encoding='utf-8')
out.write(f"{ws.auto_filter.ref}|{ws.print_title_rows.split('!')[-1]}|{s.orientation}|{s.fitToWidth}|{s.fitToHeight}\n")
out.write(f"{ws.oddHeader.center.text}|{ws.oddFooter.left.text}|{ws.oddFooter.right.text}|{ws.page_margins.left:.2f}\n")
out.write(f"{book.defined_names['bloque'].attr_text.replace(chr(39), '')}|{book.properties.title}|{book.properties.created:%Y-%m-%d}\n")
out.write(str('<Company>Acme</Company>' in zipfile.ZipFile(sys.argv[1]).read('docProps/app.xml').decode()) + "\n")
out.write(f"{ws.freeze_panes}|{other.freeze_panes}|{other.sheet_view.topLeftCell}\n")
)";
    ASSERT_EQ(std::system(("/usr/bin/python3 " + script.string() + " " + file.string() + " " + result.string() + " '" + name +
                           "' '" + other->get(dispid::Name).toText() + "'")
                              .c_str()),
              0);
    std::ifstream in(result);
    const std::string read{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(read, "A2:C9|$1:$2|landscape|1|0\n"
                    "Ventas && Compras|&D|P\xC3\xA1gina &P de &N|1.00\n" +
                        name + "!$A$3:$C$12|Informe|2024-03-01\nTrue\nB3|A6|A5\n");
    std::filesystem::remove_all(folder);
    book->call(dispid::Close, {Variant(false)});
}

TEST(CalcFinish, FittedHeadingsGetRoomForTheFilterButtons) {
    auto set = component::testing::MakeWideHeadingDataSet();
    testing::Calc();
    const auto widths = [&](bool filter) {
        component::TTabulix t(nullptr);
        t.SetDatos(set.get());
        t.Autofiltro = filter;
        t.TraspasarNuevoLibro();
        const DispatchPtr sheet = t.ExcelWorksheet()->Object();
        const auto width = [&](const char* cell) { return Cell(sheet, cell)->get(dispid::ColumnWidth).toDouble(); };
        const std::pair result(width("A1"), width("B1"));
        t.ExcelWorkbook()->Object()->call(dispid::Close, {Variant(false)});
        return result;
    };
    const auto [heading, text] = widths(false);
    const auto [headingWithButton, textWithButton] = widths(true);
    // The button's 18 pixels of a 7-pixel digit come out as 17 or 18 whole pixels.
    EXPECT_GE(headingWithButton - heading, 17.0 / 7.0 - 0.01);
    EXPECT_LE(headingWithButton - heading, 19.0 / 7.0 + 0.01);
    EXPECT_EQ(textWithButton, text);
}

}  // namespace
}  // namespace tabulix::office
