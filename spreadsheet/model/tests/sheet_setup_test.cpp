// What a report's finish asks of the object model, through automation by member name: the
// window's panes, autofilter, page set-up, defined names and document properties; every refused
// value leaves things as they were.

#include <gtest/gtest.h>

#include "automation/automation_error.h"
#include "spreadsheet/measure/text_measurer.h"
#include "spreadsheet/model/chart_sheet.h"
#include "spreadsheet_test_support.h"

using namespace tabulix::spreadsheet;
using namespace tabulix::spreadsheet::testing;
using tabulix::automation::AutomationError;
namespace xl = tabulix::automation::xl;

namespace {

class SheetSetupTest : public SpreadsheetTest {
protected:
    DispatchPtr window() { return object(book->get("Windows", {Variant(1)})); }
    DispatchPtr pageSetup() { return object(sheet->get("PageSetup")); }
    DispatchPtr names() { return object(book->get("Names")); }
    DispatchPtr property(const char* name) { return object(book->get("BuiltinDocumentProperties", {Variant(name)})); }
};

TEST_F(SheetSetupTest, FreezingASplitFreezesTheRowsAndColumnsAboveAndLeftOfIt) {
    DispatchPtr w = window();
    w->put("ScrollRow", Variant(1));
    w->put("SplitRow", Variant(3));
    w->put("SplitColumn", Variant(1));
    EXPECT_FALSE(sheet->panes().frozen);
    w->put("FreezePanes", Variant(true));
    EXPECT_TRUE(sheet->panes().frozen);
    EXPECT_EQ(sheet->panes().scrollingCell(), (CellAddress{4, 2}));
    EXPECT_EQ(w->get("SplitRow").toInt32(), 3);
    EXPECT_TRUE(w->get("FreezePanes").toBool());

    // Unfreezing keeps the split; taking the split away takes everything.
    w->put("FreezePanes", Variant(false));
    EXPECT_TRUE(sheet->panes().isSplit());
    w->put("Split", Variant(false));
    EXPECT_EQ(sheet->panes(), Panes{});
}

TEST_F(SheetSetupTest, PanesBelongToTheActiveSheetAndAreCheckedAgainstTheSheetsSize) {
    window()->put("SplitRow", Variant(2));
    window()->put("FreezePanes", Variant(true));
    auto second = book->addSheets(SheetType::Worksheet);
    EXPECT_FALSE(window()->get("FreezePanes").toBool()) << "the new active sheet has panes of its own";
    EXPECT_TRUE(sheet->panes().frozen);

    // Nothing to freeze at without a split; a split that leaves no row to scroll is refused.
    window()->put("FreezePanes", Variant(true));
    EXPECT_FALSE(window()->get("FreezePanes").toBool());
    window()->put("ScrollRow", Variant(1048576));
    EXPECT_THROW(window()->put("SplitRow", Variant(1)), AutomationError);
    EXPECT_EQ(window()->get("SplitRow").toInt32(), 0);
    EXPECT_THROW(window()->put("ScrollColumn", Variant(0)), AutomationError);
    EXPECT_THROW(book->get("Windows", {Variant(2)}), AutomationError);

    book->addSheets(SheetType::Chart);
    EXPECT_THROW(window()->get("SplitRow"), AutomationError);
}

TEST_F(SheetSetupTest, AutoFilterWithoutArgumentsTurnsTheButtonsOnAndOff) {
    range("A3", "D20")->call("AutoFilter");
    ASSERT_TRUE(sheet->autoFilter());
    EXPECT_EQ(rangeName(*sheet->autoFilter()), "A3:D20");
    EXPECT_TRUE(sheet->get("AutoFilterMode").toBool());
    EXPECT_THROW(range("A3")->call("AutoFilter", {Variant(1), Variant(">5")}), AutomationError);
    EXPECT_EQ(rangeName(*sheet->autoFilter()), "A3:D20") << "a refused criterion leaves the filter";
    range("A3", "D20")->call("AutoFilter");
    EXPECT_FALSE(sheet->autoFilter());

    range("B1", "C9")->call("AutoFilter");
    EXPECT_THROW(sheet->put("AutoFilterMode", Variant(true)), AutomationError);
    sheet->put("AutoFilterMode", Variant(false));
    EXPECT_FALSE(sheet->autoFilter());
}

TEST_F(SheetSetupTest, FittedFilterHeadingsGetRoomForTheirButtons) {
    // Headings in row 3; under B a text wider than its heading and the button together; D is
    // outside the filter.
    const char* cells[][2] = {{"A3", "Column1"}, {"B3", "Importe"}, {"C3", "X"}, {"D3", "Fuera"},
                              {"A4", "1"},       {"B4", "Un texto de datos mucho m\xC3\xA1s ancho"},
                              {"C4", "1"},       {"D5", "1"}};
    for (const auto& [cell, text] : cells) range(cell)->put("Value", Variant(std::string(text)));
    const auto fitted = [&] {
        object(range("A3", "D5")->get("Columns"))->call("AutoFit");
        std::vector<double> widths;
        for (std::uint32_t c = 1; c <= 4; ++c) widths.push_back(sheet->columnWidth(c));
        return widths;
    };
    const std::vector<double> plain = fitted();

    range("A3", "C5")->call("AutoFilter");
    const std::vector<double> filtered = fitted();
    const double button = 18.0 / TextMeasurer().maxDigitWidthPixels(FontSpec{"Calibri", 11.0});
    EXPECT_NEAR(filtered[0] - plain[0], button, 0.02) << "a heading wider than its data";
    EXPECT_EQ(filtered[1], plain[1]) << "data wider than the heading and its button";
    EXPECT_GT(filtered[2], plain[2] + button / 2) << "a heading narrower than its data without the button";
    EXPECT_EQ(filtered[3], plain[3]) << "a column outside the filter";

    range("A3", "C5")->call("AutoFilter");
    EXPECT_EQ(fitted(), plain) << "without the filter the widths are as before";
}

TEST_F(SheetSetupTest, PageSetupKeepsWhatItIsGivenAndRefusesWhatCannotPrint) {
    DispatchPtr page = pageSetup();
    page->put("LeftMargin", Variant(36.0));
    page->put("Orientation", Variant(xl::Landscape));
    page->put("PaperSize", Variant(xl::PaperA4));
    page->put("Zoom", Variant(false));
    page->put("FitToPagesWide", Variant(1));
    page->put("FitToPagesTall", Variant(false));
    page->put("PrintTitleRows", Variant("$1:$3"));
    page->put("CenterHeader", Variant("VENTAS && COMPRAS"));
    page->put("RightFooter", Variant("P\xC3\xA1gina &P de &N"));

    const PageLayout& layout = sheet->pageLayout();
    EXPECT_EQ(layout.leftMargin, 36.0);
    EXPECT_EQ(layout.orientation, PageOrientation::Landscape);
    EXPECT_FALSE(layout.zoom);
    EXPECT_EQ(layout.fitWide, 1u);
    EXPECT_EQ(layout.fitTall, 0u);
    EXPECT_FALSE(page->get("FitToPagesTall").toBool());
    EXPECT_EQ(page->get("Zoom"), Variant(false));
    EXPECT_EQ(page->get("PrintTitleRows").toText(), "$1:$3");
    EXPECT_EQ(page->get("CenterHeader").toText(), "VENTAS && COMPRAS");

    // Title rows named every way the application accepts them.
    for (const char* rows : {"1:3", "$A$1:$H$3", "'Hoja1'!$1:$3", "$3:$1"}) {
        page->put("PrintTitleRows", Variant(rows));
        EXPECT_EQ(page->get("PrintTitleRows").toText(), "$1:$3") << rows;
    }
    page->put("PrintTitleRows", Variant(""));
    EXPECT_FALSE(layout.hasTitleRows());

    const struct {
        const char* member;
        Variant value;
    } refused[] = {
        {"LeftMargin", Variant(-1.0)},    {"TopMargin", Variant(5000.0)}, {"Orientation", Variant(3)},
        {"Zoom", Variant(9)},             {"Zoom", Variant(true)},        {"FitToPagesWide", Variant(1.5)},
        {"PaperSize", Variant(0)},        {"PrintTitleRows", Variant("cabecera")},
        {"LeftFooter", Variant(std::string(254, 'x'))},
    };
    for (const auto& r : refused) {
        const Variant before = page->get(r.member);
        EXPECT_THROW(page->put(r.member, r.value), AutomationError) << r.member << " = " << r.value.describe();
        EXPECT_EQ(page->get(r.member), before) << r.member;
    }
}

TEST_F(SheetSetupTest, DefinedNamesReferToFixedCellsOfAWorksheet) {
    sheet->setName("Ventas 2024");
    names()->call("Add", {Variant("Ventas_2024"), Variant("='Ventas 2024'!$A$4:$C$20")});
    names()->call("Add", {Variant("total"), Variant("=B21")});
    names()->call("Add", {Variant("Bloque.\xC3\x91" "a"), Variant("='Ventas 2024'!A1")});
    ASSERT_EQ(names()->get("Count").toInt32(), 3);
    EXPECT_EQ(object(names()->get("Item", {Variant("TOTAL")}))->get("RefersTo").toText(), "='Ventas 2024'!$B$21");

    // The same name ignoring case takes the new cells; renaming the sheet is followed.
    names()->call("Add", {Variant("TOTAL"), Variant("='Ventas 2024'!$B$22")});
    EXPECT_EQ(names()->get("Count").toInt32(), 3);
    sheet->setName("Hoja's");
    EXPECT_EQ(DefinedNames::reference(*book->names().find("total")), "'Hoja''s'!$B$22");

    for (const char* bad : {"", "A1", "xfd1048576", "R1C1", "r", "C", "1abc", "dos palabras", "a-b", "_xlnm.Print_Area"})
        EXPECT_THROW(names()->call("Add", {Variant(bad), Variant("=A1")}), AutomationError) << '"' << bad << '"';
    for (const char* bad : {"A1", "=Otra!A1", "=A0", "='Hoja''s'A1", "=SUM(A1:A3)"})
        EXPECT_THROW(names()->call("Add", {Variant("bien"), Variant(bad)}), AutomationError) << bad;
    EXPECT_EQ(names()->get("Count").toInt32(), 3) << "refused names add nothing";

    object(names()->get("Item", {Variant(1)}))->call("Delete");
    EXPECT_EQ(names()->get("Count").toInt32(), 2);
}

TEST_F(SheetSetupTest, ANameOfADeletedWorksheetRefersToNothing) {
    auto other = std::static_pointer_cast<Worksheet>(book->addSheets(SheetType::Worksheet));
    names()->call("Add", {Variant("fuera"), Variant("=" + other->name() + "!$A$1")});
    book->deleteSheet(*other);
    EXPECT_EQ(DefinedNames::reference(*book->names().find("fuera")), "#REF!");
}

TEST_F(SheetSetupTest, DocumentPropertiesTakeTextsAndDates) {
    property("Title")->put(dispid::PropertyValue, Variant("Ventas"));
    property("company")->put(dispid::PropertyValue, Variant("Acme, S.A."));
    const auto when = tabulix::automation::Date::fromYmd(2024, 3, 1);
    property("Creation Date")->put(dispid::PropertyValue, Variant(when));
    const DocumentProperties& p = book->documentProperties();
    EXPECT_EQ(p.text(DocumentProperties::Title), "Ventas");
    EXPECT_EQ(p.text(DocumentProperties::Company), "Acme, S.A.");
    EXPECT_EQ(property("Creation Date")->get(dispid::PropertyValue), Variant(when));
    EXPECT_TRUE(property("Last Save Time")->get(dispid::PropertyValue).isEmpty());

    EXPECT_THROW(property("Colour"), AutomationError);
    EXPECT_THROW(property("Last Save Time")->put(dispid::PropertyValue, Variant("ayer")), AutomationError);
    EXPECT_THROW(property("Last Save Time")->put(dispid::PropertyValue, Variant(-5.0)), AutomationError);
    EXPECT_FALSE(p.modified);
}

}  // namespace
