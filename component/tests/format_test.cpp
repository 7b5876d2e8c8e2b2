#include <gtest/gtest.h>

#include <algorithm>

#include "automation/dispids.h"
#include "component/currency_format.h"
#include "component/tests/demo_fixture.h"
#include "component/tests/spreadsheet_fixture.h"
#include "data/field_classes.h"
#include "framework/currency_settings.h"

using namespace tabulix;
using namespace tabulix::component;
using namespace tabulix::component::testing;
using automation::JournalEntry;
using automation::Variant;
namespace dispid = automation::dispid;

namespace {

class FormatTest : public EmbeddedSpreadsheetTest {
protected:
    void SetUp() override {
        EmbeddedSpreadsheetTest::SetUp();
        tabulix = std::make_unique<TestableTabulix>(nullptr);
        tabulix->CrearLibro();
        journal->clear();
    }
    void TearDown() override {
        tabulix.reset();
        EmbeddedSpreadsheetTest::TearDown();
    }

    spreadsheet::Worksheet& sheet() {
        return static_cast<spreadsheet::Worksheet&>(*app->activeWorkbook()->activeSheet());
    }
    // The journal as "Object.Member kind [args]" lines.
    std::vector<std::string> calls() const {
        std::vector<std::string> lines;
        for (const JournalEntry& e : journal->entries()) lines.push_back(e.describe());
        return lines;
    }
    // The puts of one member, in order.
    std::vector<Variant> putsOf(automation::DispId member) const {
        std::vector<Variant> values;
        for (const JournalEntry& e : journal->entries())
            if (e.id == member && e.kind == automation::InvokeKind::PropertyPut) values.push_back(e.args.back());
        return values;
    }
    std::string numberFormatOf(const std::string& cellName) {
        const auto& style = sheet().cellStyle(cell(cellName));
        return app->activeWorkbook()->numberFormats().format(style.numberFormat).fileCode();
    }

    // The demonstration's data attribute set.
    static std::unique_ptr<TAtributosCasilla> DatosFormato() {
        auto set = std::make_unique<TAtributosCasilla>();
        set->LiniasInterior = {TLiniaInterior::liInteriorHorizontal};
        set->LiniasContorno = {TLiniaContorno::lcIzquierda, TLiniaContorno::lcDerecha, TLiniaContorno::lcSuperior,
                              TLiniaContorno::lcInferior};
        set->LiniasContornoGrosor = TGrosorLinia::glGruesa;
        return set;
    }

    std::unique_ptr<TestableTabulix> tabulix;
};

}  // namespace

TEST_F(FormatTest, ASetWithoutBackgroundOrLinesSendsOnlyTheFont) {
    TAtributosCasilla plain;
    tabulix->AsignarAtributosCasilla("B2", "C3", plain);
    const std::vector<std::string> expected = {
        "Worksheet.Range get [Text(\"B2\"), Text(\"C3\")]",
        "Range.Font get []",
        "Font.Name put [Text(\"MS Sans Serif\")]",
        "Font.Color put [Int32(-2147483640)]",
        "Font.Size put [Int32(8)]",
        "Font.Bold put [Boolean(False)]",
        "Font.Italic put [Boolean(False)]",
        "Font.Underline put [Boolean(False)]",
        "Worksheet.Range get [Text(\"B2\"), Text(\"C3\")]",
    };
    EXPECT_EQ(calls(), expected);
}

TEST_F(FormatTest, BordersAreSentLineByLineWithTheCollectionFetchedAnew) {
    tabulix->AsignarAtributosCasilla("A3", "I20", *DatosFormato());
    std::vector<std::string> borderCalls;
    for (const std::string& line : calls())
        if (line.rfind("Range.Borders", 0) == 0 || line.rfind("Borders.", 0) == 0 || line.rfind("Border.", 0) == 0)
            borderCalls.push_back(line);
    std::vector<std::string> expected;
    for (int index : {12, 7, 10, 8, 9}) {
        const int weight = index == 12 ? 2 : 4;
        for (const char* member : {"Weight", "Color"}) {
            expected.push_back("Range.Borders get []");
            expected.push_back("Borders.Item get [Int32(" + std::to_string(index) + ")]");
            expected.push_back(std::string("Border.") + member + " put [Int32(" +
                               std::to_string(member[0] == 'W' ? weight : 0) + ")]");
        }
    }
    EXPECT_EQ(borderCalls, expected);
}

TEST_F(FormatTest, BordersLandOnTheCellsAsTheSpreadsheetDrawsThem) {
    tabulix->AsignarAtributosCasilla("B2", "D5", *DatosFormato());
    using spreadsheet::BorderWeight;
    using spreadsheet::CellSide;
    auto weight = [&](const char* name, CellSide side) { return sheet().cellStyle(cell(name)).border(side).weight; };
    // Inside: lines between the rows, none between the columns.
    EXPECT_EQ(weight("C3", CellSide::Bottom), BorderWeight::Thin);
    EXPECT_EQ(weight("C4", CellSide::Top), BorderWeight::Thin);
    EXPECT_EQ(weight("C3", CellSide::Right), BorderWeight::None);
    EXPECT_EQ(weight("C3", CellSide::Left), BorderWeight::None);
    // The outline on the block's edge only, thick.
    EXPECT_EQ(weight("B3", CellSide::Left), BorderWeight::Thick);
    EXPECT_EQ(weight("D3", CellSide::Right), BorderWeight::Thick);
    EXPECT_EQ(weight("C2", CellSide::Top), BorderWeight::Thick);
    EXPECT_EQ(weight("C5", CellSide::Bottom), BorderWeight::Thick);
    EXPECT_EQ(weight("B2", CellSide::Bottom), BorderWeight::Thin);
    EXPECT_EQ(weight("E3", CellSide::Left), BorderWeight::None);   // outside the block, beside it
    EXPECT_EQ(weight("A3", CellSide::Right), BorderWeight::None);
    EXPECT_EQ(weight("C6", CellSide::Top), BorderWeight::None);
    EXPECT_EQ(weight("C5", CellSide::Top), BorderWeight::Thin);
}

TEST_F(FormatTest, FontStylesAndSystemColoursAreSentUnchanged) {
    framework::TFont font;
    font.SetName("Tahoma");
    font.SetHeight(-16);
    font.SetStyle({framework::fsBold, framework::fsItalic});
    tabulix->AsignarFuente("A1", "A1", font);
    font.SetStyle({framework::fsUnderline});
    font.SetColor(framework::RGB(0, 128, 128));
    tabulix->AsignarFuente("A1", "A1", font);
    const std::vector<Variant> expectedBold = {Variant(true), Variant(false)};
    EXPECT_EQ(putsOf(dispid::Bold), expectedBold);
    const std::vector<Variant> expectedItalic = {Variant(true), Variant(false)};
    EXPECT_EQ(putsOf(dispid::Italic), expectedItalic);
    const std::vector<Variant> expectedUnderline = {Variant(false), Variant(true)};
    EXPECT_EQ(putsOf(dispid::Underline), expectedUnderline);
    const std::vector<Variant> expectedColours = {Variant(std::int32_t{-2147483640}), Variant(std::int32_t{0x808000})};
    EXPECT_EQ(putsOf(dispid::Color), expectedColours);
    const std::vector<Variant> expectedSizes = {Variant(std::int32_t{12}), Variant(std::int32_t{12})};
    EXPECT_EQ(putsOf(dispid::Size), expectedSizes);
    EXPECT_TRUE(sheet().cellStyle(cell("A1")).font.italic == false);
    EXPECT_EQ(sheet().cellStyle(cell("A1")).font.name, "Tahoma");
}

TEST_F(FormatTest, OneNameFormsSendWhatTwoNameFormsSendWithTheNameTwice) {
    auto owned = DatosFormato();
    TAtributosCasilla& set = *owned;
    set.ColorFondoActivado = true;
    set.ColorFondo = framework::clSilver;
    tabulix->AsignarAtributosCasilla("C5", set);
    tabulix->AsignarFuente("C5", set.Fuente());
    tabulix->AsignarFormatoNumerico("C5", "#,##0.00", false);
    const auto single = calls();
    journal->clear();
    tabulix->AsignarAtributosCasilla("C5", "C5", set);
    tabulix->AsignarFuente("C5", "C5", set.Fuente());
    tabulix->AsignarFormatoNumerico("C5", "C5", "#,##0.00", false);
    EXPECT_EQ(calls(), single);
}

TEST_F(FormatTest, NothingIsSentWithoutAWorksheet) {
    TTabulix unconnected(nullptr);
    auto set = MakeDemoDataSet();
    set->Open();
    unconnected.AsignarAtributosCasilla("A1", *DatosFormato());
    unconnected.AsignarFuente("A1", "B2", framework::TFont());
    unconnected.AutoAjustarSeleccion("A1", "B2");
    unconnected.AsignarFormato("A1", "A2", *set->FieldByName("VENTAS_ENE"));
    unconnected.AsignarFormatoNumerico("A1", "0.00", true);
    EXPECT_TRUE(journal->entries().empty());
}

TEST(FormatoEsp, ExchangesMarksOutsideLiteralTextAndIsItsOwnInverse) {
    TTabulix tabulix(nullptr);
    EXPECT_EQ(tabulix.FormatoEsp(""), "");
    EXPECT_EQ(tabulix.FormatoEsp("###,###,##0.00"), "###.###.##0,00");
    EXPECT_EQ(tabulix.FormatoEsp("#,##0.00"), "#.##0,00");
    EXPECT_EQ(tabulix.FormatoEsp("0.00%"), "0,00%");
    EXPECT_EQ(tabulix.FormatoEsp("0.00 'kg.'"), "0,00 'kg,'");
    EXPECT_EQ(tabulix.FormatoEsp("0.00 \"kg.\""), "0,00 \"kg.\"");
    EXPECT_EQ(tabulix.FormatoEsp("0.0\\.0"), "0,0\\.0");
    EXPECT_EQ(tabulix.FormatoEsp("#,##0.00;[Red]-#,##0.00"), "#.##0,00;[Red]-#.##0,00");
    EXPECT_EQ(tabulix.FormatoEsp("General"), "General");
    for (const char* format : {"###,##0.00", "0.00 'kg.'", "0.0\"a,b.\"\\,", "#,##0.00 \"\xE2\x82\xAC\""})
        EXPECT_EQ(tabulix.FormatoEsp(tabulix.FormatoEsp(format)), format);
}

TEST(CurrencyNumberFormat, BuildsGroupedAmountsWithTheSymbolWhereTheRegionPutsIt) {
    const std::string euro = "\xE2\x82\xAC";
    EXPECT_EQ(CurrencyNumberFormat(euro, 3, 2, true), "#.##0,00 \"" + euro + "\"");
    EXPECT_EQ(CurrencyNumberFormat(euro, 3, 2, false), "#,##0.00 \"" + euro + "\"");
    EXPECT_EQ(CurrencyNumberFormat("$", 0, 2, false), "\"$\"#,##0.00");
    EXPECT_EQ(CurrencyNumberFormat("$", 1, 0, false), "#,##0\"$\"");
    EXPECT_EQ(CurrencyNumberFormat("$", 2, 3, false), "\"$\" #,##0.000");
    EXPECT_EQ(CurrencyNumberFormat("", 3, 2, true), "#.##0,00");
    EXPECT_EQ(DecimalsOf(""), 2);
    EXPECT_EQ(DecimalsOf("###,###,##0.00"), 2);
    EXPECT_EQ(DecimalsOf("0"), 0);
    EXPECT_EQ(DecimalsOf("#,##0.000 \"k.g\""), 3);
}

TEST_F(FormatTest, FieldClassesGetTheirAlignmentAndNumberFormat) {
    auto set = std::make_unique<data::TMemoryDataSet>();
    set->AddFieldDef("CODIGO", data::TFieldType::ftString, 8);
    set->AddFieldDef("CANTIDAD", data::TFieldType::ftInteger);
    set->AddFieldDef("FECHA", data::TFieldType::ftDate);
    set->AddFieldDef("VENTAS", data::TFieldType::ftFloat);
    set->AddFieldDef("PRECIO", data::TFieldType::ftCurrency);
    set->AddFieldDef("IMPORTE", data::TFieldType::ftBCD);
    set->Open();
    auto* codigo = set->FieldByName("CODIGO");
    codigo->SetAlignment(data::TAlignment::taRightJustify);
    auto* ventas = dynamic_cast<data::TFloatField*>(set->FieldByName("VENTAS"));
    ventas->SetDisplayFormat("###,##0.00");
    auto* importe = dynamic_cast<data::TBCDField*>(set->FieldByName("IMPORTE"));
    importe->SetDisplayFormat("#,##0.0");
    importe->SetCurrency(true);
    framework::CurrencySettings euro = framework::Currency();
    euro.CurrencyString = "\xE2\x82\xAC";
    euro.CurrencyFormat = 3;
    framework::SetCurrency(euro);

    auto sent = [&](const char* field) {
        journal->clear();
        tabulix->AsignarFormato("A1", "A2", *set->FieldByName(field));
        std::vector<std::string> lines;
        for (const JournalEntry& e : journal->entries())
            if (e.kind == automation::InvokeKind::PropertyPut) lines.push_back(e.describe());
        return lines;
    };
    EXPECT_EQ(sent("CODIGO"), (std::vector<std::string>{"Range.HorizontalAlignment put [Int32(-4152)]"}));
    EXPECT_EQ(sent("FECHA"), (std::vector<std::string>{"Range.HorizontalAlignment put [Int32(-4131)]"}));
    EXPECT_EQ(sent("CANTIDAD"), (std::vector<std::string>{"Range.HorizontalAlignment put [Int32(-4152)]",
                                                          "Range.NumberFormat put [Text(\"\")] lcid=0x0C0A"}));
    EXPECT_EQ(sent("VENTAS"), (std::vector<std::string>{"Range.HorizontalAlignment put [Int32(-4152)]",
                                                        "Range.NumberFormat put [Text(\"###.##0,00\")] lcid=0x0C0A"}));
    EXPECT_EQ(sent("IMPORTE"), (std::vector<std::string>{"Range.HorizontalAlignment put [Int32(-4152)]",
                                                         "Range.NumberFormat put [Text(\"#.##0,0\")] lcid=0x0C0A"}));
    EXPECT_EQ(sent("PRECIO"),
              (std::vector<std::string>{"Range.HorizontalAlignment put [Int32(-4152)]",
                                        "Range.NumberFormat put [Text(\"\")] lcid=0x0C0A",
                                        "Range.NumberFormat put [Text(\"#.##0,00 \"\xE2\x82\xAC\"\")] lcid=0x0C0A"}));
    EXPECT_EQ(numberFormatOf("A1"), "#,##0.00 \"\xE2\x82\xAC\"");

    tabulix->ComaEsDecimal = false;
    EXPECT_EQ(sent("VENTAS"), (std::vector<std::string>{"Range.HorizontalAlignment put [Int32(-4152)]",
                                                        "Range.NumberFormat put [Text(\"###,##0.00\")] lcid=0x0409"}));
    EXPECT_EQ(numberFormatOf("A2"), "###,##0.00");
}

TEST_F(FormatTest, NumbersShowInTheConventionTheFormatsAreWrittenIn) {
    tabulix->ValorCasilla("B2", Variant(1234.5));
    tabulix->AsignarFormatoNumerico("B2", "#,##0.00", false);  // sent as "#.##0,00"
    EXPECT_EQ(numberFormatOf("B2"), "#,##0.00");
    EXPECT_EQ(sheet().displayedText(cell("B2")), "1.234,50");  // a Spanish user's display

    // A user whose convention is the point: his own display shows the same format that way.
    automation::shutDownRunningApplication();
    spreadsheet::installEmbeddedSpreadsheet(automation::kLcidEnglishUS);
    TTabulix english(nullptr);
    english.ComaEsDecimal = false;
    english.CrearLibro();
    english.ValorCasilla("B2", Variant(1234.5));
    english.AsignarFormatoNumerico("B2", "#,##0.00", false);
    auto englishApp = spreadsheet::runningEmbeddedApplication();
    auto& englishSheet = static_cast<spreadsheet::Worksheet&>(*englishApp->activeWorkbook()->activeSheet());
    EXPECT_EQ(englishSheet.displayedText(cell("B2")), "1,234.50");
}

TEST_F(FormatTest, AutoAjustarSeleccionFitsTheColumnsToTheirContents) {
    tabulix->ValorCasilla("B2", Variant("un texto bastante largo para la columna"));
    tabulix->AutoAjustarSeleccion("B1", "B3");
    EXPECT_GT(sheet().columnWidth(2), 20.0);
    EXPECT_DOUBLE_EQ(sheet().columnWidth(1), spreadsheet::Worksheet::kDefaultColumnWidth);
}
