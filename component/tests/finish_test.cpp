// A report's finish against the embedded spreadsheet: what each setting leaves in the sheet and
// the workbook, the orientation chosen from the block's width, what a report without a heading
// row or with failed formula records gets, and that a report without a finish makes no call.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component/tabulix.h"
#include "component/tests/demo_fixture.h"
#include "component/tests/spreadsheet_fixture.h"
#include "data/memory_data_set.h"
#include "spreadsheet/model/defined_names.h"
#include "spreadsheet/model/document_properties.h"

namespace tabulix::component::testing {
namespace {

using automation::Variant;
using spreadsheet::CellAddress;
using spreadsheet::DocumentProperties;
using spreadsheet::PageOrientation;

constexpr double kPointsPerCentimetre = 72.0 / 2.54;

// `fields` float columns F1, F2 ... and `records` records, every value `value` (wide values make
// wide columns once they are fitted).
std::unique_ptr<data::TMemoryDataSet> numbers(int fields, int records, double value = 1.0) {
    auto set = std::make_unique<data::TMemoryDataSet>();
    set->SetName("Numeros");
    for (int c = 1; c <= fields; ++c) set->AddFieldDef("F" + std::to_string(c), data::TFieldType::ftFloat);
    for (int r = 1; r <= records; ++r) set->AppendRecord(std::vector<Variant>(static_cast<std::size_t>(fields), Variant(value)));
    set->Open();
    return set;
}

class FinishTest : public EmbeddedSpreadsheetTest {
protected:
    spreadsheet::Worksheet& sheetOf(TTabulix& t) {
        auto* ws = dynamic_cast<spreadsheet::Worksheet*>(t.ExcelWorksheet()->Object().get());
        if (!ws) throw std::runtime_error("the component has no embedded worksheet");
        return *ws;
    }
    // Every defined name of the workbook as "name=reference".
    static std::vector<std::string> names(const spreadsheet::Worksheet& ws) {
        std::vector<std::string> out;
        for (const auto& name : ws.workbook().names().all())
            out.push_back(name.name + "=" + spreadsheet::DefinedNames::reference(name));
        return out;
    }
};

TEST_F(FinishTest, EverySettingReachesTheSheetAndTheWorkbook) {
    auto set = numbers(5, 20);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.NombreHoja = "Ventas 2024";
    t.Titulo = "Ventas & Compras";
    t.Formulas().Add("F1;0;A;1;;0;0;");
    t.Formulas().Add("F2;4;B;2;;0;0;=#F01#*2");
    t.InmovilizarCabecera = true;
    t.InmovilizarColumnas = 1;
    t.Autofiltro = true;
    t.NombrarRangos = true;
    TImpresionTabulix& print = t.Impresion();
    print.Orientacion = TOrientacionPagina::opAutomatica;
    print.PaginasAncho = 1;
    print.RepetirCabecera = true;
    print.EncabezadoPie = true;
    print.MargenIzquierdo = 2;
    print.MargenInferior = 1.5;
    t.Documento().Titulo = "Informe";
    t.Documento().Autor = "Ana";
    t.Documento().Compania = "Acme";
    t.TraspasarNuevoLibro();

    spreadsheet::Worksheet& ws = sheetOf(t);
    // Title in row 1, headings in row 2, data in rows 3 to 22, results in row 23 and 24.
    const spreadsheet::Panes& panes = ws.panes();
    EXPECT_TRUE(panes.frozen);
    EXPECT_EQ(panes.topLeft, (CellAddress{1, 1}));
    EXPECT_EQ(panes.splitRows, 2u);
    EXPECT_EQ(panes.splitColumns, 1u);
    ASSERT_TRUE(ws.autoFilter());
    EXPECT_EQ(spreadsheet::rangeName(*ws.autoFilter()), "A2:E22");

    const spreadsheet::PageLayout& page = ws.pageLayout();
    EXPECT_EQ(page.orientation, PageOrientation::Portrait) << "five narrow columns fit upright";
    EXPECT_FALSE(page.zoom);
    EXPECT_EQ(page.fitWide, 1u);
    EXPECT_EQ(page.fitTall, 0u);
    EXPECT_EQ(page.titleFirstRow, 1u);
    EXPECT_EQ(page.titleLastRow, 2u);
    EXPECT_EQ(page.header[1], "Ventas && Compras") << "a title's & prints as itself";
    EXPECT_EQ(page.footer[0], "&D");
    EXPECT_EQ(page.footer[2], "P\xC3\xA1gina &P de &N");
    EXPECT_NEAR(page.leftMargin, 2 * kPointsPerCentimetre, 1e-9);
    EXPECT_NEAR(page.bottomMargin, 1.5 * kPointsPerCentimetre, 1e-9);
    EXPECT_EQ(page.rightMargin, spreadsheet::PageLayout::kSideMargin) << "0 keeps the application's margin";

    EXPECT_EQ(names(ws), (std::vector<std::string>{"Ventas_2024='Ventas 2024'!$A$3:$E$22",
                                                   "Ventas_2024_F01='Ventas 2024'!$A$23",
                                                   "Ventas_2024_F02='Ventas 2024'!$B$24"}));

    const DocumentProperties& doc = ws.workbook().documentProperties();
    EXPECT_EQ(doc.text(DocumentProperties::Title), "Informe");
    EXPECT_EQ(doc.text(DocumentProperties::Author), "Ana");
    EXPECT_EQ(doc.text(DocumentProperties::Company), "Acme");
    EXPECT_TRUE(doc.text(DocumentProperties::Subject).empty());
    ASSERT_TRUE(doc.created && doc.modified);
    EXPECT_EQ(*doc.created, *doc.modified);
}

TEST_F(FinishTest, TheOrientationFollowsTheBlocksWidthAndAReportWithoutHeadingsGetsNoFilter) {
    auto wide = numbers(30, 3, 123456789.0);
    TTabulix t(nullptr);
    t.SetDatos(wide.get());
    t.Impresion().Orientacion = TOrientacionPagina::opAutomatica;
    t.Autofiltro = true;
    t.InmovilizarCabecera = true;
    t.CabeceraMostrar = false;
    t.TraspasarNuevoLibro();
    spreadsheet::Worksheet& ws = sheetOf(t);
    EXPECT_EQ(ws.pageLayout().orientation, PageOrientation::Landscape);
    EXPECT_FALSE(ws.autoFilter()) << "a filter needs its heading row";
    EXPECT_FALSE(ws.panes().isSplit()) << "no title and no headings: nothing above the data to freeze";

    // Set orientations win whatever the width; columns alone can be frozen.
    t.Impresion().Orientacion = TOrientacionPagina::opVertical;
    t.InmovilizarColumnas = 2;
    t.TraspasarNuevoLibro();
    spreadsheet::Worksheet& upright = sheetOf(t);
    EXPECT_EQ(upright.pageLayout().orientation, PageOrientation::Portrait);
    EXPECT_TRUE(upright.panes().frozen);
    EXPECT_EQ(upright.panes().splitRows, 0u);
    EXPECT_EQ(upright.panes().splitColumns, 2u);
}

TEST_F(FinishTest, FittedHeadingsGetRoomForTheFilterButtons) {
    auto set = MakeWideHeadingDataSet();
    const auto widths = [&](bool filter) {
        TTabulix t(nullptr);
        t.SetDatos(set.get());
        t.Autofiltro = filter;
        t.TraspasarNuevoLibro();
        const spreadsheet::Worksheet& ws = sheetOf(t);
        return std::pair(ws.columnWidth(1), ws.columnWidth(2));
    };
    const auto [heading, text] = widths(false);
    const auto [headingWithButton, textWithButton] = widths(true);
    // The button is 18 pixels of a 7-pixel digit wide.
    EXPECT_NEAR(headingWithButton - heading, 18.0 / 7.0, 0.02);
    EXPECT_EQ(textWithButton, text);
}

TEST_F(FinishTest, OnlyFormulaResultsThatWentInAreNamed) {
    auto set = numbers(2, 2);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.NombreHoja = "1 trimestre";
    t.NombrarRangos = true;
    t.Formulas().Add("NOEXISTE;0;A;1;;0;0;");
    t.Formulas().Add("F2;0;B;1;;0;0;");
    t.TraspasarNuevoLibro();
    spreadsheet::Worksheet& ws = sheetOf(t);
    ASSERT_EQ(t.FallosFormulas().size(), 1u);
    // A name cannot start with a digit: the sheet's name gets a leading "_".
    EXPECT_EQ(names(ws), (std::vector<std::string>{"_1_trimestre='1 trimestre'!$A$2:$B$3",
                                                   "_1_trimestre_F02='1 trimestre'!$B$4"}));
}

TEST_F(FinishTest, AReportWithoutAFinishMakesNoFinishCall) {
    auto set = numbers(3, 4);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.Titulo = "T";
    t.Formulas().Add("F1;0;A;1;;0;0;");
    t.TraspasarNuevoLibro();
    for (const std::string& line : calls())
        for (const char* member : {".Windows ", ".PageSetup ", ".Names ", ".BuiltinDocumentProperties ", ".AutoFilter "})
            EXPECT_EQ(line.find(member), std::string::npos) << line;
    spreadsheet::Worksheet& ws = sheetOf(t);
    EXPECT_EQ(ws.panes(), spreadsheet::Panes{});
    EXPECT_FALSE(ws.autoFilter());
    EXPECT_TRUE(ws.workbook().names().all().empty());
    EXPECT_TRUE(ws.workbook().documentProperties().isEmpty());
}

}  // namespace
}  // namespace tabulix::component::testing
