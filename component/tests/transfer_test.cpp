// The transfer end to end against the embedded spreadsheet: the demonstration's settings on the
// sample table, the layout rules (first row, title, heading row, hidden fields, columns past Z),
// the formula records and their captions, and what the transfer restores after an error.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "automation/automation_error.h"
#include "automation/connection.h"
#include "component/tabulix.h"
#include "component/tabulix_error.h"
#include "component/tests/spreadsheet_fixture.h"
#include "data/field_classes.h"
#include "data/memory_data_set.h"
#include "data/table.h"
#include "data/tests/dbf_fixture.h"
#include "framework/convert.h"
#include "framework/ui_services.h"
#include "spreadsheet/cells/cell_style.h"
#include "spreadsheet/numfmt/number_format.h"

namespace tabulix::component::testing {
namespace {

using automation::Variant;
using spreadsheet::BorderWeight;
using spreadsheet::CellSide;
using spreadsheet::HorizontalAlignment;

const char* const kDemoFormulas[] = {
    "VENTAS_ENE;0;C;1;TOTAL VENTAS MENSUALES:;0;2;",
    "VENTAS_FEB;0;D;1;;0;0;",
    "VENTAS_MAR;0;E;1;;0;0;",
    "VENTAS_MAR;4;E;3;TOTAL VENTAS:;0;2;=(#F01#+#F02#+#F03#)",
    "VENTAS_MAR;4;E;4;TOTAL VENTAS CON IVA:;0;2;=#F04#*1.16",
    "VENTAS_MAR;4;E;5;Desviaci\xC3\xB3n Estandard Ventas Enero:;0;2;=STDEV(#T_VENTAS_ENE#)",
};

std::filesystem::path demoFolder() {
    const char* source = std::getenv("TABULIX_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "demo";
}

void setFont(TAtributosCasilla& set, framework::TColor colour, int height, framework::TFontStyles style) {
    set.Fuente().SetName("Tahoma");
    set.Fuente().SetCharset(framework::ANSI_CHARSET);
    set.Fuente().SetColor(colour);
    set.Fuente().SetHeight(-height);
    set.Fuente().SetStyle(style);
}

// The demonstration's stored settings of its component.
void applyDemoSettings(TTabulix& t) {
    const TLiniasContorno allSides{TLiniaContorno::lcIzquierda, TLiniaContorno::lcDerecha, TLiniaContorno::lcSuperior,
                                   TLiniaContorno::lcInferior};
    t.NombreHoja = "Ejemplo";
    t.Titulo = "ARTICULOS EMPRESA";
    t.AutoAjustarColumnasDatos = true;
    t.AutoAjustarFormulas = true;
    t.AutoAjustarFormulasTexto = false;
    t.TituloCombinarCentrar = true;
    t.VerConstruccion = true;
    setFont(t.CabeceraFormato(), framework::clWhite, 16, {framework::fsBold, framework::fsItalic});
    t.CabeceraFormato().ColorFondo = framework::clSilver;
    t.CabeceraFormato().ColorFondoActivado = true;
    setFont(t.TituloFormato(), framework::clTeal, 27, {framework::fsBold});
    t.TituloFormato().ColorFondo = framework::clBlack;
    t.TituloFormato().ColorFondoActivado = true;
    t.TituloFormato().LiniasContorno = allSides;
    t.TituloFormato().LiniasContornoGrosor = TGrosorLinia::glGruesa;
    t.TituloFormato().LiniasContornoColor = framework::clPurple;
    setFont(t.DatosFormato(), framework::clWindowText, 13, {});
    t.DatosFormato().LiniasInterior = TLiniasInterior{TLiniaInterior::liInteriorHorizontal};
    t.DatosFormato().LiniasContorno = allSides;
    t.DatosFormato().LiniasContornoGrosor = TGrosorLinia::glGruesa;
    setFont(t.FormulasFormatoLiteral(), framework::clWindowText, 16, {});
    setFont(t.FormulasFormatoResultado(), framework::clWhite, 16, {framework::fsBold});
    t.FormulasFormatoResultado().ColorFondo = framework::clBlack;
    t.FormulasFormatoResultado().ColorFondoActivado = true;
    for (const char* record : kDemoFormulas) t.Formulas().Add(record);
}

// The sample table with the demonstration's nine persistent fields.
std::unique_ptr<data::TTable> openSampleTable() {
    auto table = std::make_unique<data::TTable>();
    table->SetName("Taula");
    table->SetDatabaseName(demoFolder().string());
    table->SetTableName("Demo.DBF");
    auto text = [&](const char* name, int size, const char* label) {
        auto* f = new data::TStringField(table.get());
        f->SetFieldName(name);
        f->SetSize(size);
        if (label) f->SetDisplayLabel(label);
        return f;
    };
    auto number = [&](const char* name, const char* label, const char* format) {
        auto* f = new data::TFloatField(table.get());
        f->SetFieldName(name);
        if (label) f->SetDisplayLabel(label);
        if (format) f->SetDisplayFormat(format);
        return f;
    };
    text("COD_ARTI", 8, "C\xC3\xB3" "digo Articulo")->SetAlignment(data::TAlignment::taRightJustify);
    text("DESC_ARTI", 20, "Descripci\xC3\xB3n");
    number("VENTAS_ENE", "Ventas Enero", "###,###,##0.00");
    number("VENTAS_FEB", nullptr, "###,###,##0.00");
    number("VENTAS_MAR", nullptr, "###,###,##0.00");
    number("STOC_ACT", "Estoc Actual", "###,##0.00");
    number("PVP", "Preu Venta", nullptr)->SetCurrency(true);
    auto* active = new data::TBooleanField(table.get());
    active->SetFieldName("ACTIVO");
    active->SetDisplayLabel("Activo??");
    text("OTROS", 10, "Comentarios Varios");
    table->Open();
    return table;
}

// A memory data set of `fields` float columns F1, F2, ... with `records` records (row r, column
// c holds r * 100 + c).
std::unique_ptr<data::TMemoryDataSet> numbers(int fields, int records) {
    auto set = std::make_unique<data::TMemoryDataSet>();
    set->SetName("Numeros");
    for (int c = 1; c <= fields; ++c) set->AddFieldDef("F" + std::to_string(c), data::TFieldType::ftFloat);
    for (int r = 1; r <= records; ++r) {
        std::vector<Variant> values;
        for (int c = 1; c <= fields; ++c) values.emplace_back(static_cast<double>(r * 100 + c));
        set->AppendRecord(values);
    }
    set->Open();
    return set;
}

// Counts the record moves attached controls would see.
struct ScrollCounter : data::IDataSetObserver {
    int scrolls = 0;
    int changes = 0;
    void DataSetScrolled(data::TDataSet&) override { ++scrolls; }
    void DataSetChanged(data::TDataSet&) override { ++changes; }
};

class TransferTest : public EmbeddedSpreadsheetTest {
protected:
    spreadsheet::Worksheet& sheetOf(TTabulix& t) {
        auto* ws = dynamic_cast<spreadsheet::Worksheet*>(t.ExcelWorksheet()->Object().get());
        if (!ws) throw std::runtime_error("the component has no embedded worksheet");
        return *ws;
    }
    Variant value(spreadsheet::Worksheet& ws, const std::string& name) { return ws.value(cell(name)); }
    std::string text(spreadsheet::Worksheet& ws, const std::string& name) {
        const Variant v = ws.value(cell(name));
        return v.isEmpty() ? std::string() : v.toText();
    }
    std::string formula(spreadsheet::Worksheet& ws, const std::string& name) {
        const std::string* f = ws.formulaText(cell(name));
        return f ? *f : std::string();
    }
    const spreadsheet::CellStyle& style(spreadsheet::Worksheet& ws, const std::string& name) {
        return ws.cellStyle(cell(name));
    }
    std::string numberFormat(spreadsheet::Worksheet& ws, const std::string& name) {
        return ws.workbook().numberFormats().format(style(ws, name).numberFormat).fileCode();
    }
    std::vector<std::string> merges(spreadsheet::Worksheet& ws) {
        std::vector<std::string> names;
        for (const auto& rect : ws.merges()) names.push_back(spreadsheet::rangeName(rect));
        return names;
    }

    framework::RecordingUi ui;
};

TEST_F(TransferTest, DemonstrationSettingsOnTheSampleTable) {
    auto table = openSampleTable();
    ASSERT_EQ(table->RecordCount(), 18);
    TTabulix t(nullptr);
    t.SetDatos(table.get());
    applyDemoSettings(t);
    // The user stands on the fifth record with a grid attached.
    table->First();
    for (int i = 0; i < 4; ++i) table->Next();
    ScrollCounter grid;
    table->AttachObserver(&grid);
    std::vector<std::pair<std::int64_t, std::int64_t>> progress;
    t.OnProgreso = [&](std::int64_t done, std::int64_t total) { progress.emplace_back(done, total); };

    t.TraspasarNuevoLibro();
    spreadsheet::Worksheet& ws = sheetOf(t);

    // Guards: the data set is back where the user was, controls enabled and told once; the
    // cursor is the default again; progress was reported up to the last record.
    EXPECT_EQ(table->RecNo(), 5);
    EXPECT_FALSE(table->ControlsDisabled());
    EXPECT_EQ(grid.scrolls, 0);
    EXPECT_EQ(grid.changes, 1);
    table->DetachObserver(&grid);
    EXPECT_EQ(ui.CursorChanges(), (std::vector<framework::TCursor>{framework::crHourGlass, framework::crDefault}));
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), (std::pair<std::int64_t, std::int64_t>{18, 18}));

    // Layout.
    EXPECT_EQ(ws.name(), "Ejemplo");
    EXPECT_TRUE(app->visible());
    EXPECT_EQ(text(ws, "A1"), "ARTICULOS EMPRESA");
    EXPECT_EQ(merges(ws), std::vector<std::string>{"A1:I1"});
    EXPECT_EQ(style(ws, "A1").alignment, HorizontalAlignment::Center);
    const char* headings[] = {"C\xC3\xB3" "digo Articulo", "Descripci\xC3\xB3n", "Ventas Enero", "VENTAS_FEB",
                              "VENTAS_MAR", "Estoc Actual", "Preu Venta", "Activo??", "Comentarios Varios"};
    for (int c = 0; c < 9; ++c) EXPECT_EQ(text(ws, std::string(1, char('A' + c)) + "2"), headings[c]) << c;
    EXPECT_EQ(t.PrimeraFilaDatos(), 3);
    EXPECT_EQ(t.UltimaFilaDatos(), 20);

    // Every record's values.
    int row = 3;
    for (table->First(); !table->Eof(); table->Next(), ++row) {
        for (int c = 0; c < 9; ++c) {
            const Variant expected = table->Fields(c)->Value();
            const Variant got = value(ws, std::string(1, char('A' + c)) + std::to_string(row));
            if (expected.isNull()) EXPECT_TRUE(got.isEmpty()) << row << "/" << c;
            else EXPECT_EQ(got, expected) << row << "/" << c << " " << got.describe() << " vs " << expected.describe();
        }
    }
    EXPECT_EQ(row, 21);
    EXPECT_TRUE(value(ws, "A21").isEmpty());

    // The worked example's result cells, formula texts and captions.
    const std::pair<const char*, const char*> results[] = {
        {"C21", "=SUM(C3:C20)"},   {"D21", "=SUM(D3:D20)"}, {"E21", "=SUM(E3:E20)"},
        {"E23", "=(C21+D21+E21)"}, {"E24", "=E23*1.16"},    {"E25", "=STDEV(C3:C20)"},
    };
    for (const auto& [name, text] : results) {
        EXPECT_EQ(formula(ws, name), text) << name;
        EXPECT_TRUE(style(ws, name).font.bold) << name;
        EXPECT_EQ(style(ws, name).fill, 0x000000u) << name;
        EXPECT_EQ(numberFormat(ws, name), "###,###,##0.00") << name;
    }
    const std::pair<const char*, const char*> captions[] = {
        {"B21", "TOTAL VENTAS MENSUALES:"},
        {"D23", "TOTAL VENTAS:"},
        {"D24", "TOTAL VENTAS CON IVA:"},
        {"D25", "Desviaci\xC3\xB3n Estandard Ventas Enero:"},
    };
    for (const auto& [name, caption] : captions) {
        EXPECT_EQ(text(ws, name), caption) << name;
        EXPECT_EQ(style(ws, name).alignment, HorizontalAlignment::Right) << name;
        EXPECT_FALSE(style(ws, name).font.bold) << name;
    }
    EXPECT_TRUE(value(ws, "B22").isEmpty());
    EXPECT_TRUE(value(ws, "C22").isEmpty());

    // Formatting of the parts.
    EXPECT_EQ(style(ws, "A1").font.colour, 0x008080u);
    EXPECT_EQ(style(ws, "A2").fill, 0xC0C0C0u);
    EXPECT_TRUE(style(ws, "I2").font.italic);
    EXPECT_EQ(style(ws, "A3").border(CellSide::Top).weight, BorderWeight::Thick);
    EXPECT_EQ(style(ws, "I20").border(CellSide::Right).weight, BorderWeight::Thick);
    EXPECT_EQ(style(ws, "E20").border(CellSide::Bottom).weight, BorderWeight::Thick);
    EXPECT_EQ(numberFormat(ws, "C3"), "###,###,##0.00");
    EXPECT_EQ(numberFormat(ws, "F20"), "###,##0.00");
    EXPECT_NE(numberFormat(ws, "G3").find("0.00"), std::string::npos);
    EXPECT_EQ(style(ws, "A3").alignment, HorizontalAlignment::Right);
    EXPECT_EQ(style(ws, "B3").alignment, HorizontalAlignment::Left);

}

TEST_F(TransferTest, DemonstrationFormulaResultsEqualTheSumsOfTheDataSet) {
    auto table = openSampleTable();
    TTabulix t(nullptr);
    t.SetDatos(table.get());
    applyDemoSettings(t);
    t.TraspasarNuevoLibro();
    spreadsheet::Worksheet& ws = sheetOf(t);

    double sums[3] = {0, 0, 0};
    std::vector<double> january;
    for (table->First(); !table->Eof(); table->Next()) {
        for (int k = 0; k < 3; ++k) sums[k] += table->Fields(2 + k)->Value().toDouble();
        january.push_back(table->FieldByName("VENTAS_ENE")->Value().toDouble());
    }
    const double total = sums[0] + sums[1] + sums[2];
    double mean = 0;
    for (double v : january) mean += v;
    mean /= static_cast<double>(january.size());
    double squares = 0;
    for (double v : january) squares += (v - mean) * (v - mean);
    const double deviation = std::sqrt(squares / static_cast<double>(january.size() - 1));
    EXPECT_NEAR(value(ws, "C21").toDouble(), sums[0], 1e-6);
    EXPECT_NEAR(value(ws, "D21").toDouble(), sums[1], 1e-6);
    EXPECT_NEAR(value(ws, "E21").toDouble(), sums[2], 1e-6);
    EXPECT_NEAR(value(ws, "E23").toDouble(), total, 1e-6);
    EXPECT_NEAR(value(ws, "E24").toDouble(), total * 1.16, 1e-6);
    EXPECT_NEAR(value(ws, "E25").toDouble(), deviation, 1e-6);
}

TEST_F(TransferTest, FirstRowTitleAndHeadingDecideTheLayout) {
    // FilaInicial 3, a title, headings, 20 records of 5 fields.
    auto set = numbers(5, 20);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.FilaInicial = 3;
    t.Titulo = "T";
    t.Formulas().Add("F4;0;D;2;Izquierda;0;0;");
    t.Formulas().Add("F4;0;D;3;Debajo;3;1;");
    t.TraspasarNuevoLibro();
    spreadsheet::Worksheet& ws = sheetOf(t);
    EXPECT_EQ(text(ws, "A3"), "T");
    EXPECT_EQ(merges(ws), std::vector<std::string>{"A3:E3"});
    EXPECT_EQ(text(ws, "E4"), "F5");
    EXPECT_EQ(value(ws, "A5"), Variant(101.0));
    EXPECT_EQ(value(ws, "E24"), Variant(2005.0));
    EXPECT_TRUE(value(ws, "A25").isEmpty());
    EXPECT_TRUE(value(ws, "F5").isEmpty());
    EXPECT_EQ(t.PrimeraFilaDatos(), 5);
    EXPECT_EQ(t.UltimaFilaDatos(), 24);
    EXPECT_EQ(formula(ws, "D26"), "=SUM(D5:D24)");
    EXPECT_EQ(text(ws, "C26"), "Izquierda");
    EXPECT_EQ(style(ws, "C26").alignment, HorizontalAlignment::Left);
    EXPECT_EQ(formula(ws, "D27"), "=SUM(D5:D24)");
    EXPECT_EQ(text(ws, "D28"), "Debajo");
    EXPECT_EQ(style(ws, "D28").alignment, HorizontalAlignment::Center);

    // FilaInicial 0 and negative behave as 1.
    for (int first : {0, -7}) {
        t.FilaInicial = first;
        t.TraspasarNuevoLibro();
        spreadsheet::Worksheet& again = sheetOf(t);
        EXPECT_EQ(text(again, "A1"), "T") << first;
        EXPECT_EQ(text(again, "A2"), "F1") << first;
        EXPECT_EQ(t.PrimeraFilaDatos(), 3) << first;
        EXPECT_EQ(t.UltimaFilaDatos(), 22) << first;
    }

    // No title: headings in the first row and nothing merged, even with TituloCombinarCentrar.
    t.FilaInicial = 1;
    t.Titulo = "";
    t.TituloCombinarCentrar = true;
    t.TraspasarNuevoLibro();
    spreadsheet::Worksheet& untitled = sheetOf(t);
    EXPECT_EQ(text(untitled, "A1"), "F1");
    EXPECT_TRUE(untitled.merges().empty());
    EXPECT_EQ(t.PrimeraFilaDatos(), 2);

    // Neither title nor headings: the data starts in row 1.
    t.FilaInicial = 0;
    t.CabeceraMostrar = false;
    t.TraspasarNuevoLibro();
    spreadsheet::Worksheet& bare = sheetOf(t);
    EXPECT_EQ(value(bare, "A1"), Variant(101.0));
    EXPECT_EQ(t.PrimeraFilaDatos(), 1);
    EXPECT_EQ(t.UltimaFilaDatos(), 20);
    EXPECT_EQ(formula(bare, "D22"), "=SUM(D1:D20)");
}

TEST_F(TransferTest, EmptyDataSetWritesTitleAndHeadingsAndCountsFromTheRowAbove) {
    auto set = numbers(3, 0);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.Titulo = "Vacio";
    t.DatosFormato().LiniasContorno = TLiniasContorno{TLiniaContorno::lcInferior};
    t.DatosFormato().LiniasContornoGrosor = TGrosorLinia::glGruesa;
    auto* f2 = dynamic_cast<data::TFloatField*>(set->FieldByName("F2"));
    f2->SetDisplayFormat("#,##0.000");
    t.Formulas().Add("F2;0;B;1;Suma;0;2;");
    t.TraspasarNuevoLibro();
    spreadsheet::Worksheet& ws = sheetOf(t);
    EXPECT_EQ(text(ws, "A1"), "Vacio");
    EXPECT_EQ(text(ws, "C2"), "F3");
    EXPECT_EQ(t.PrimeraFilaDatos(), 3);
    EXPECT_EQ(t.UltimaFilaDatos(), 2);
    // Rows F - 1 and F take the data attributes and the field formats; the heading row is F - 1.
    EXPECT_EQ(style(ws, "B3").border(CellSide::Bottom).weight, BorderWeight::Thick);
    EXPECT_EQ(numberFormat(ws, "B2"), "#,##0.000");
    EXPECT_EQ(numberFormat(ws, "B3"), "#,##0.000");
    EXPECT_EQ(text(ws, "B2"), "F2");  // the heading itself stays
    // The formula row counts from F - 1.
    EXPECT_EQ(text(ws, "A3"), "Suma");
}

TEST_F(TransferTest, HiddenFieldsTakeNoColumnAndGetNoFormula) {
    auto set = numbers(5, 3);
    set->FieldByName("F2")->SetVisible(false);
    set->FieldByName("F4")->SetVisible(false);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.Titulo = "Tres columnas";
    t.Formulas().Add("F2;0;B;1;Oculto;1;0;");  // hidden field: the caption only
    t.Formulas().Add("F5;2;D;1;;0;0;");
    t.TraspasarNuevoLibro();
    spreadsheet::Worksheet& ws = sheetOf(t);
    EXPECT_EQ(merges(ws), std::vector<std::string>{"A1:C1"});
    EXPECT_EQ(text(ws, "A2"), "F1");
    EXPECT_EQ(text(ws, "B2"), "F3");
    EXPECT_EQ(text(ws, "C2"), "F5");
    EXPECT_TRUE(value(ws, "D2").isEmpty());
    EXPECT_EQ(value(ws, "B3"), Variant(103.0));
    EXPECT_EQ(value(ws, "C5"), Variant(305.0));
    EXPECT_TRUE(value(ws, "D3").isEmpty());
    EXPECT_EQ(formula(ws, "B6"), "");
    EXPECT_TRUE(value(ws, "B6").isEmpty());
    EXPECT_EQ(text(ws, "C6"), "Oculto");
    EXPECT_EQ(formula(ws, "D6"), "=MAX(C3:C5)");
}

TEST_F(TransferTest, NewSheetInAWorkbookThatHasTheNameFallsBackToNameDotDefault) {
    auto set = numbers(2, 2);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.TraspasarNuevaHoja();  // no workbook yet: a new one, as TraspasarNuevoLibro
    ASSERT_EQ(app->workbooks().size(), 1u);
    EXPECT_EQ(sheetOf(t).name(), "Datos");
    t.TraspasarNuevaHoja();
    ASSERT_EQ(app->workbooks().size(), 1u);
    const auto sheets = app->workbooks().front()->worksheets();
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheetOf(t).name(), "Datos.Hoja2");
    EXPECT_EQ(value(sheetOf(t), "B3"), Variant(202.0));

    // A name refused both ways ends the transfer before any cell is written.
    t.NombreHoja = "mal/nombre";
    EXPECT_THROW(t.TraspasarNuevaHoja(), automation::AutomationError);
    spreadsheet::Worksheet& refused = sheetOf(t);
    EXPECT_EQ(refused.name(), "Hoja3");
    EXPECT_TRUE(value(refused, "A1").isEmpty());
    EXPECT_EQ(ui.CursorChanges().back(), framework::crDefault);
}

TEST_F(TransferTest, WithoutAnOpenDataSetNothingIsMadeOrTouched) {
    TTabulix t(nullptr);
    t.TraspasarNuevoLibro();
    t.TraspasarNuevaHoja();
    EXPECT_TRUE(app->workbooks().empty());
    EXPECT_THROW(t.Traspasar(), ETabulixError);  // no worksheet either

    auto set = numbers(2, 2);
    set->Close();
    t.SetDatos(set.get());
    t.TraspasarNuevoLibro();
    t.TraspasarNuevaHoja();
    EXPECT_TRUE(app->workbooks().empty());

    t.CrearLibro();
    journal->clear();
    ui.Clear();
    try {
        t.Traspasar();
        FAIL() << "no error";
    } catch (const ETabulixError& e) {
        EXPECT_NE(std::string(e.what()).find("Numeros"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(journal->entries().empty());  // not one call to the spreadsheet
    EXPECT_TRUE(ui.CursorChanges().empty());
    EXPECT_EQ(sheetOf(t).name(), "Hoja1");

    t.SetDatos(nullptr);
    EXPECT_THROW(t.Traspasar(), ETabulixError);
    EXPECT_TRUE(journal->entries().empty());
}

TEST_F(TransferTest, RefusedFormulaRecordsLeaveTheirCellAndTheNextRecordRuns) {
    auto set = numbers(3, 2);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.FormulasFormatoResultado().Fuente().SetStyle({framework::fsBold});
    t.Formulas().Add("F1;4;A;1;;0;0;=" + std::string(40000, '1'));  // longer than a cell holds
    t.Formulas().Add("F2;0;B;-40;Arriba;2;0;");                       // row below 1: refused, no caption
    t.Formulas().Add("F2;4;B;1;;0;0;=SUM(B2:B3");                     // does not parse
    t.Formulas().Add("F3;0;C;1;;0;0;");
    t.CrearLibro();
    t.ValorCasilla("A4", Variant("antes"));
    t.Traspasar();
    spreadsheet::Worksheet& ws = sheetOf(t);
    EXPECT_EQ(t.UltimaFilaDatos(), 3);
    EXPECT_EQ(text(ws, "A4"), "antes");
    EXPECT_EQ(formula(ws, "A4"), "");
    EXPECT_FALSE(style(ws, "A4").font.bold);  // no result formatting either
    EXPECT_TRUE(value(ws, "B4").isEmpty());
    EXPECT_EQ(formula(ws, "B4"), "");
    EXPECT_FALSE(style(ws, "B4").font.bold);
    EXPECT_EQ(formula(ws, "C4"), "=SUM(C2:C3)");
    EXPECT_TRUE(style(ws, "C4").font.bold);
}

TEST_F(TransferTest, EveryFormulaRecordThatFailsIsKeptAndToldAndTheOthersArePlaced) {
    auto set = numbers(3, 2);
    set->FieldByName("F3")->SetVisible(false);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.Formulas().Add("F1;0;A;1;Total:;3;0;");
    t.Formulas().Add("F1;4;B;1;Con IVA:;3;0;=SUM(#F01#*1.16");  // does not parse
    t.Formulas().Add("NOEXISTE;0;C;1;Nada:;3;0;");
    t.Formulas().Add("F3;0;C;2;;0;0;");                         // hidden field
    std::vector<std::int32_t> told;
    t.OnFalloFormula = [&](const TFalloFormula& failure) { told.push_back(failure.Registro); };
    t.TraspasarNuevoLibro();

    ASSERT_EQ(t.FallosFormulas().size(), 3u);
    EXPECT_EQ(told, (std::vector<std::int32_t>{2, 3, 4}));
    const TFalloFormula& refused = t.FallosFormulas()[0];
    EXPECT_EQ(refused.Registro, 2);
    EXPECT_EQ(refused.Linea, "F1;4;B;1;Con IVA:;3;0;=SUM(#F01#*1.16");
    EXPECT_EQ(refused.Formula, "=SUM(A4*1.16");
    EXPECT_EQ(refused.Casilla, "B4");
    EXPECT_NE(refused.Motivo.find("Range.Formula"), std::string::npos) << refused.Motivo;
    EXPECT_EQ(t.FallosFormulas()[1].Casilla, "C4");
    EXPECT_EQ(t.FallosFormulas()[1].Formula, "");
    EXPECT_EQ(t.FallosFormulas()[1].Motivo, "the data set has no field 'NOEXISTE'");
    EXPECT_EQ(t.FallosFormulas()[2].Motivo, "the field 'F3' is hidden");

    spreadsheet::Worksheet& ws = sheetOf(t);
    EXPECT_EQ(formula(ws, "A4"), "=SUM(A2:A3)");
    EXPECT_EQ(text(ws, "B5"), "Con IVA:");  // captions still placed
    EXPECT_EQ(text(ws, "C5"), "Nada:");

    t.Formulas().Clear();
    t.Formulas().Add("F1;0;A;1;;0;0;");
    t.TraspasarNuevaHoja();
    EXPECT_TRUE(t.FallosFormulas().empty());
}

TEST_F(TransferTest, CaptionsOutsideTheSheetOrWithAnUnknownPlaceAreNotWritten) {
    auto set = numbers(2, 2);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.Formulas().Add("F1;0;A;1;Fuera;0;2;");     // one column left of A: no caption
    t.Formulas().Add("F2;0;B;1;Donde;7;2;");     // unknown place: the result must stay
    t.Formulas().Add("F2;1;B;2;Derecha;1;9;");   // unknown alignment: none set
    t.Formulas().Add("F1;3;A;3;Encima;2;1;");
    t.TraspasarNuevoLibro();
    spreadsheet::Worksheet& ws = sheetOf(t);
    EXPECT_EQ(formula(ws, "A4"), "=SUM(A2:A3)");
    EXPECT_EQ(formula(ws, "B4"), "=SUM(B2:B3)");
    EXPECT_EQ(formula(ws, "B5"), "=AVERAGE(B2:B3)");
    EXPECT_EQ(text(ws, "C5"), "Derecha");
    EXPECT_EQ(style(ws, "C5").alignment, HorizontalAlignment::General);
    EXPECT_EQ(formula(ws, "A6"), "=MIN(A2:A3)");
    EXPECT_EQ(text(ws, "A5"), "Encima");
    EXPECT_EQ(style(ws, "A5").alignment, HorizontalAlignment::Center);
    for (int r = 1; r <= 8; ++r) {
        for (const std::string column : {"C", "D"}) {
            const std::string name = column + std::to_string(r);
            if (name != "C5") {
                EXPECT_TRUE(value(ws, name).isEmpty()) << name;
            }
        }
    }
    EXPECT_TRUE(value(ws, "A7").isEmpty());
    EXPECT_TRUE(value(ws, "B6").isEmpty());
}

TEST_F(TransferTest, MoreThanTwentySixFieldsUseColumnsPastZ) {
    auto set = numbers(30, 3);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.Titulo = "Ancho";
    t.Formulas().Add("F28;0;AB;1;Total:;0;2;");
    t.Formulas().Add("F30;4;AD;2;;0;0;=#F01#*2");
    t.TraspasarNuevoLibro();
    spreadsheet::Worksheet& ws = sheetOf(t);
    EXPECT_EQ(merges(ws), std::vector<std::string>{"A1:AD1"});
    EXPECT_EQ(text(ws, "Z2"), "F26");
    EXPECT_EQ(text(ws, "AA2"), "F27");
    EXPECT_EQ(text(ws, "AD2"), "F30");
    EXPECT_EQ(value(ws, "AD5"), Variant(330.0));
    EXPECT_TRUE(value(ws, "AE3").isEmpty());
    EXPECT_EQ(style(ws, "AD4").border(CellSide::Right).weight, style(ws, "A4").border(CellSide::Left).weight);
    EXPECT_EQ(formula(ws, "AB6"), "=SUM(AB3:AB5)");
    EXPECT_EQ(text(ws, "AA6"), "Total:");
    EXPECT_EQ(formula(ws, "AD7"), "=AB6*2");
    EXPECT_GT(ws.columnWidth(30), 0.0);
}

TEST_F(TransferTest, AnErrorInTheMiddleRestoresTheRecordControlsAndCursor) {
    auto set = std::make_unique<data::TMemoryDataSet>();
    set->SetName("Notas");
    set->AddFieldDef("N", data::TFieldType::ftInteger);
    set->AddFieldDef("TEXTO", data::TFieldType::ftMemo);
    set->AppendRecord({Variant(std::int32_t{1}), Variant("corto")});
    set->AppendRecord({Variant(std::int32_t{2}), Variant("corto")});
    set->AppendRecord({Variant(std::int32_t{3}), Variant(std::string(40000, 'x'))});  // no cell holds it
    set->AppendRecord({Variant(std::int32_t{4}), Variant("corto")});
    set->Open();
    set->First();
    set->Next();  // on record 2
    ScrollCounter grid;
    set->AttachObserver(&grid);

    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.Formulas().Add("N;0;A;1;;0;0;");
    try {
        t.TraspasarNuevoLibro();
        ADD_FAILURE() << "a 40000-character text was accepted";
    } catch (const automation::AutomationError& error) {
        // The data set, record, field and cell come before the application's own message.
        EXPECT_EQ(std::string(error.what()).find("data set 'Notas', record 3, field TEXTO, cell B4: Range.Value"), 0u)
            << error.what();
    }
    EXPECT_EQ(set->RecNo(), 2);
    EXPECT_FALSE(set->ControlsDisabled());
    EXPECT_EQ(grid.scrolls, 0);
    EXPECT_EQ(ui.CursorChanges().back(), framework::crDefault);
    EXPECT_EQ(framework::CurrentUi().ScreenCursor(), framework::crDefault);
    // Work done stays done; the first row is recorded, the last one not yet.
    spreadsheet::Worksheet& ws = sheetOf(t);
    EXPECT_EQ(value(ws, "A3").toInt32(), 2);
    EXPECT_EQ(value(ws, "A4").toInt32(), 3);
    EXPECT_TRUE(value(ws, "B4").isEmpty());
    EXPECT_EQ(t.PrimeraFilaDatos(), 2);
    EXPECT_EQ(t.UltimaFilaDatos(), 0);
    EXPECT_EQ(text(ws, "A1"), "N");  // no formula record ran (its result cell would be A1)
    EXPECT_EQ(formula(ws, "A1"), "");
    set->DetachObserver(&grid);
}

TEST_F(TransferTest, ValuesNoCellHoldsNameTheirCellAndTheFileTheyCameFrom) {
    auto set = numbers(2, 1);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.FilaInicial = 3;
    t.Titulo = std::string(40000, 'T');
    try {
        t.TraspasarNuevoLibro();
        ADD_FAILURE() << "a 40000-character title was accepted";
    } catch (const automation::AutomationError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("the title (Titulo), cell A3: Range.Value", 0), 0u) << error.what();
    }

    // A table names its file, not the component that reads it.
    data::testing::TempFolder temp;
    const std::filesystem::path& folder = temp.path();
    const std::vector<int> blocks = data::testing::writeDbase3Memo(folder / "notas.dbt", {std::string(40000, 'x')});
    data::testing::DbfFixture memo({{"NOTA", 'M', 10}}, 0x83);
    memo.add({std::to_string(blocks[0])});
    memo.write(folder / "notas.dbf");
    data::TTable table(nullptr);
    table.SetName("Tabla");
    table.SetDatabaseName(folder.string());
    table.SetTableName("notas.dbf");
    table.Open();
    TTabulix fromFile(nullptr);
    fromFile.SetDatos(&table);
    try {
        fromFile.TraspasarNuevoLibro();
        ADD_FAILURE() << "a 40000-character memo was accepted";
    } catch (const automation::AutomationError& error) {
        const std::string expected = "\"" + (folder / "notas.dbf").string() + "\", record 1, field NOTA, cell A2: ";
        EXPECT_EQ(std::string(error.what()).rfind(expected, 0), 0u) << error.what();
    }
    table.Close();
}

TEST_F(TransferTest, FirstRowsPastTheSheetAreRefusedBeforeAnythingIsWritten) {
    auto set = numbers(2, 3);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.Titulo = "T";
    t.CrearLibro();
    spreadsheet::Worksheet& ws = sheetOf(t);
    const std::string sheetName = ws.name();
    for (std::int32_t first : {INT32_MAX, INT32_MAX - 1, 1048576, 1048575}) {
        t.FilaInicial = first;
        try {
            t.Traspasar();
            ADD_FAILURE() << first << " was accepted";
        } catch (const ETabulixError& error) {
            EXPECT_NE(std::string(error.what()).find("FilaInicial " + std::to_string(first)), std::string::npos)
                << error.what();
            EXPECT_NE(std::string(error.what()).find("1048576"), std::string::npos) << error.what();
        }
        EXPECT_EQ(ws.name(), sheetName) << "nothing is written, not even the sheet's name";
        EXPECT_EQ(t.UltimaFilaDatos(), 0);
    }
    // The last rows of the sheet can still take a title, headings and a first record.
    t.FilaInicial = 1048574;
    auto one = numbers(2, 1);
    t.SetDatos(one.get());
    t.Traspasar();
    EXPECT_EQ(text(ws, "A1048574"), "T");
    EXPECT_EQ(value(ws, "B1048576"), Variant(102.0));
    EXPECT_EQ(t.UltimaFilaDatos(), 1048576);
}

TEST_F(TransferTest, TextsWithNulKeepWhatFollows) {
    auto set = std::make_unique<data::TMemoryDataSet>();
    set->SetName("Textos");
    set->AddFieldDef("T", data::TFieldType::ftString, 10);
    set->AppendRecord({Variant(std::string("a\0b", 3))});
    set->Open();
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.Titulo = std::string("A\0B", 3);
    t.TraspasarNuevoLibro();
    spreadsheet::Worksheet& ws = sheetOf(t);
    EXPECT_EQ(text(ws, "A1"), std::string("A\0B", 3));
    EXPECT_EQ(text(ws, "A3"), std::string("a\0b", 3));
}

TEST_F(TransferTest, AHugeSheetNameIsShortenedInTheMessage) {
    auto set = numbers(1, 1);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.NombreHoja = std::string(5'000'000, 'x') + "\xFF";
    try {
        t.TraspasarNuevoLibro();
        ADD_FAILURE() << "a 5 MB sheet name was accepted";
    } catch (const automation::AutomationError& error) {
        EXPECT_LT(std::string(error.what()).size(), 400u);
        EXPECT_NE(std::string(error.what()).find("xxx... (500000"), std::string::npos) << error.what();
    }
}

TEST_F(TransferTest, AFormulaRecordWithAFieldThatIsNoNumberIsNamed) {
    auto set = numbers(2, 2);
    TTabulix t(nullptr);
    t.SetDatos(set.get());
    t.Formulas().Add("F1;0;A;1;;0;0;");
    t.Formulas().Add("F2;0;B;y;;0;0;");
    try {
        t.TraspasarNuevoLibro();
        ADD_FAILURE() << "a row increment 'y' was accepted";
    } catch (const framework::EConvertError& error) {
        EXPECT_STREQ(error.what(), "formula record 2 ('F2;0;B;y;;0;0;'), field 4: 'y' is not a valid integer value");
    }
}

}  // namespace
}  // namespace tabulix::component::testing
