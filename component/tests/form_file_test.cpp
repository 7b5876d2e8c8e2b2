// The demonstration's form file (demo/DemoTabulix.form): the database, the sample table with its
// nine persistent fields, and the component with every stored setting, read and written back.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "component/component_classes.h"
#include "component/tabulix.h"
#include "data/base_folder.h"
#include "data/data_classes.h"
#include "data/database.h"
#include "data/field_classes.h"
#include "data/table.h"
#include "framework/class_registry.h"
#include "framework/form.h"
#include "framework/form_reader.h"
#include "framework/form_writer.h"
#include "framework/ui_services.h"

using namespace tabulix;
using namespace tabulix::component;
using framework::FormFileError;
using framework::TComponent;
using framework::TFontStyle;

namespace {

std::filesystem::path demoFormPath() {
    const char* source = std::getenv("TABULIX_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "demo" / "DemoTabulix.form";
}

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void registerDemoClasses() {
    data::RegisterDataClasses();
    RegisterComponentClasses();
    framework::ClassRegistry::Instance().Register(
        "TForm1", [](TComponent* owner) { return new framework::TForm(owner, "TForm1"); });
}

void setFont(TAtributosCasilla& set, framework::TColor color, int height, framework::TFontStyles style) {
    framework::TFont& font = set.Fuente();
    font.SetName("Tahoma");
    font.SetCharset(framework::ANSI_CHARSET);
    font.SetColor(color);
    font.SetHeight(height);
    font.SetStyle(style);
}

constexpr TLiniasContorno kAllSides = {TLiniaContorno::lcIzquierda, TLiniaContorno::lcDerecha,
                                       TLiniaContorno::lcSuperior, TLiniaContorno::lcInferior};

const char* const kDemoRecords[] = {
    "VENTAS_ENE;0;C;1;TOTAL VENTAS MENSUALES:;0;2;",
    "VENTAS_FEB;0;D;1;;0;0;",
    "VENTAS_MAR;0;E;1;;0;0;",
    "VENTAS_MAR;4;E;3;TOTAL VENTAS:;0;2;=(#F01#+#F02#+#F03#)",
    "VENTAS_MAR;4;E;4;TOTAL VENTAS CON IVA:;0;2;=#F04#*1.16",
    "VENTAS_MAR;4;E;5;Desviaci\xC3\xB3n Estandard Ventas Enero:;0;2;=STDEV(#T_VENTAS_ENE#)",
};

// The demonstration's window contents, built the way the form reader builds them.
std::unique_ptr<TComponent> buildDemoForm() {
    auto& registry = framework::ClassRegistry::Instance();
    auto form = registry.CreateRoot("TForm1");
    form->SetName("Form1");

    auto* db = dynamic_cast<data::TDatabase*>(registry.Create("TDatabase", *form));
    db->SetName("DB");
    db->SetDatabaseName("DB");
    db->SetDriverName("STANDARD");
    db->SetSessionName("Default");
    db->Params().Add("PATH=.");
    db->Params().Add("ENABLE BCD=FALSE");
    db->Params().Add("DEFAULT DRIVER=DBASE");

    auto* taula = dynamic_cast<data::TTable*>(registry.Create("TTable", *form));
    taula->SetName("Taula");
    taula->SetDatabaseName("DB");
    taula->SetTableName("Demo.DBF");
    auto addField = [&](const char* className, const char* fieldName, const char* label) {
        auto* field = dynamic_cast<data::TField*>(registry.Create(className, *taula));
        field->SetName(std::string("Taula") + fieldName);
        taula->AdoptChild(field);
        field->SetFieldName(fieldName);
        if (label) field->SetDisplayLabel(label);
        return field;
    };
    auto addFloat = [&](const char* fieldName, const char* label, const char* format) {
        auto* field = dynamic_cast<data::TFloatField*>(addField("TFloatField", fieldName, label));
        if (format) field->SetDisplayFormat(format);
        return field;
    };
    data::TField* codArti = addField("TStringField", "COD_ARTI", "C\xC3\xB3" "digo Articulo");
    codArti->SetAlignment(data::TAlignment::taRightJustify);
    codArti->SetSize(8);
    addField("TStringField", "DESC_ARTI", "Descripci\xC3\xB3n")->SetSize(20);
    addFloat("VENTAS_ENE", "Ventas Enero", "###,###,##0.00");
    addFloat("VENTAS_FEB", nullptr, "###,###,##0.00");
    addFloat("VENTAS_MAR", nullptr, "###,###,##0.00");
    addFloat("STOC_ACT", "Estoc Actual", "###,##0.00");
    addFloat("PVP", "Preu Venta", nullptr)->SetCurrency(true);
    addField("TBooleanField", "ACTIVO", "Activo??");
    addField("TStringField", "OTROS", "Comentarios Varios")->SetSize(10);

    auto* de = dynamic_cast<TTabulix*>(registry.Create("TTabulix", *form));
    de->SetName("de");
    de->SetDatos(taula);
    de->NombreHoja = "Ejemplo";
    de->Titulo = "ARTICULOS EMPRESA";
    de->AutoAjustarColumnasDatos = true;
    de->AutoAjustarFormulas = true;
    de->AutoAjustarFormulasTexto = false;
    de->TituloCombinarCentrar = true;
    de->VerConstruccion = true;
    de->ActivarAlCreate = false;
    for (const char* record : kDemoRecords) de->Formulas().Add(record);

    TAtributosCasilla& cabecera = de->CabeceraFormato();
    setFont(cabecera, framework::clWhite, -16, {TFontStyle::fsBold, TFontStyle::fsItalic});
    cabecera.ColorFondo = framework::clSilver;
    cabecera.ColorFondoActivado = true;

    TAtributosCasilla& titulo = de->TituloFormato();
    setFont(titulo, framework::clTeal, -27, {TFontStyle::fsBold});
    titulo.ColorFondo = framework::clBlack;
    titulo.ColorFondoActivado = true;
    titulo.LiniasContorno = kAllSides;
    titulo.LiniasContornoGrosor = TGrosorLinia::glGruesa;
    titulo.LiniasContornoColor = framework::clPurple;

    TAtributosCasilla& datos = de->DatosFormato();
    setFont(datos, framework::clWindowText, -13, {});
    datos.LiniasInterior = {TLiniaInterior::liInteriorHorizontal};
    datos.LiniasInteriorGrosor = TGrosorLinia::glDelgada;
    datos.LiniasContorno = kAllSides;
    datos.LiniasContornoGrosor = TGrosorLinia::glGruesa;

    setFont(de->FormulasFormatoLiteral(), framework::clWindowText, -16, {});

    TAtributosCasilla& resultado = de->FormulasFormatoResultado();
    setFont(resultado, framework::clWhite, -16, {TFontStyle::fsBold});
    resultado.ColorFondo = framework::clBlack;
    resultado.ColorFondoActivado = true;

    // The stored choices of the window's font and colour dialogs, as the dialogs start.
    registry.Create("TFontDialog", *form)->SetName("FDial");
    registry.Create("TColorDialog", *form)->SetName("CDial");
    return form;
}

TTabulix& componentOf(TComponent& form, const char* name = "de") {
    auto* tabulix = dynamic_cast<TTabulix*>(form.FindComponent(name));
    if (!tabulix) throw std::runtime_error(std::string("no TTabulix named ") + name);
    return *tabulix;
}

class DemoFormFile : public ::testing::Test {
protected:
    void SetUp() override { registerDemoClasses(); }

    // The reason of the error that reading `text` raises (empty when it reads).
    static FormFileError readError(const std::string& text) {
        try {
            framework::ReadForm(text, "Roto.form");
        } catch (const FormFileError& error) {
            return error;
        }
        return FormFileError("", 0, "");
    }

    framework::RecordingUi ui;  // any box shown is recorded (and answered) here
};

TEST_F(DemoFormFile, IsWhatTheWriterMakesOfTheDemonstrationsObjects) {
    auto form = buildDemoForm();
    EXPECT_EQ(framework::WriteForm(*form), readText(demoFormPath()));
}

TEST_F(DemoFormFile, ReadsWithoutQuestionsAndWritesBackUnchanged) {
    auto form = framework::ReadFormFile(demoFormPath());
    EXPECT_EQ(form->ClassName(), "TForm1");
    EXPECT_EQ(form->Name(), "Form1");
    EXPECT_TRUE(ui.Boxes().empty());  // the component has no data set yet when Datos is set
    EXPECT_EQ(framework::WriteForm(*form), readText(demoFormPath()));
}

TEST_F(DemoFormFile, GivesTheComponentEveryStoredSetting) {
    auto form = framework::ReadFormFile(demoFormPath());
    TTabulix& de = componentOf(*form);

    EXPECT_EQ(de.Datos(), form->FindComponent("Taula"));
    ASSERT_NE(de.Datos(), nullptr);
    EXPECT_EQ(de.NombreHoja, "Ejemplo");
    EXPECT_EQ(de.Titulo, "ARTICULOS EMPRESA");
    EXPECT_TRUE(de.AutoAjustarColumnasDatos);
    EXPECT_TRUE(de.AutoAjustarFormulas);
    EXPECT_FALSE(de.AutoAjustarFormulasTexto);
    EXPECT_TRUE(de.TituloCombinarCentrar);
    EXPECT_TRUE(de.VerConstruccion);
    EXPECT_FALSE(de.ActivarAlCreate);
    EXPECT_TRUE(de.CabeceraMostrar);
    EXPECT_TRUE(de.ComaEsDecimal);
    EXPECT_EQ(de.FilaInicial, 1);
    EXPECT_EQ(de.ExcelApplication(), nullptr);  // ActivarAlCreate is off: nothing connected

    ASSERT_EQ(de.Formulas().CuantasFormulas(), 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(de.Formulas().Strings(i), kDemoRecords[i]) << "record " << i + 1;

    struct Expected {
        TAtributosCasilla* set;
        framework::TColor fontColor;
        int height;
        framework::TFontStyles style;
        framework::TColor background;
        bool backgroundOn;
        TLiniasInterior inside;
        TLiniasContorno outline;
        std::int32_t outlineWeight;
        framework::TColor outlineColor;
    };
    const Expected expected[] = {
        {&de.CabeceraFormato(), framework::clWhite, -16, {TFontStyle::fsBold, TFontStyle::fsItalic},
         framework::clSilver, true, {}, {}, 2, framework::clBlack},
        {&de.TituloFormato(), framework::clTeal, -27, {TFontStyle::fsBold}, framework::clBlack, true, {}, kAllSides, 4,
         framework::clPurple},
        {&de.DatosFormato(), framework::clWindowText, -13, {}, framework::clWhite, false,
         {TLiniaInterior::liInteriorHorizontal}, kAllSides, 4, framework::clBlack},
        {&de.FormulasFormatoLiteral(), framework::clWindowText, -16, {}, framework::clWhite, false, {}, {}, 2,
         framework::clBlack},
        {&de.FormulasFormatoResultado(), framework::clWhite, -16, {TFontStyle::fsBold}, framework::clBlack, true, {},
         {}, 2, framework::clBlack},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(&e - expected);
        const framework::TFont& font = e.set->Fuente();
        EXPECT_EQ(font.Name(), "Tahoma");
        EXPECT_EQ(font.Charset(), framework::ANSI_CHARSET);
        EXPECT_EQ(font.Color(), e.fontColor);
        EXPECT_EQ(font.Height(), e.height);
        EXPECT_EQ(font.Style(), e.style);
        EXPECT_EQ(e.set->ColorFondo, e.background);
        EXPECT_EQ(e.set->ColorFondoActivado, e.backgroundOn);
        EXPECT_EQ(e.set->LiniasInterior, e.inside);
        EXPECT_EQ(e.set->LiniasContorno, e.outline);
        EXPECT_EQ(e.set->GrosorInterior(), 2);
        EXPECT_EQ(e.set->GrosorContorno(), e.outlineWeight);
        EXPECT_EQ(e.set->LiniasInteriorColor, framework::clBlack);
        EXPECT_EQ(e.set->LiniasContornoColor, e.outlineColor);
    }
    // 16, 27 and 13 pixels are 12, 20 and 10 points at 96 pixels per inch.
    EXPECT_EQ(de.CabeceraFormato().Fuente().Size(), 12);
    EXPECT_EQ(de.TituloFormato().Fuente().Size(), 20);
    EXPECT_EQ(de.DatosFormato().Fuente().Size(), 10);
}

TEST_F(DemoFormFile, TableOpensThroughTheDatabasesRelativePath) {
    auto form = framework::ReadFormFile(demoFormPath());
    auto* db = dynamic_cast<data::TDatabase*>(form->FindComponent("DB"));
    auto* taula = dynamic_cast<data::TTable*>(form->FindComponent("Taula"));
    ASSERT_NE(db, nullptr);
    ASSERT_NE(taula, nullptr);
    EXPECT_EQ(db->Params().Values("PATH"), ".");
    EXPECT_EQ(db->Params().Count(), 3);
    // A program tells the databases where their form file lies; PATH=. is that folder.
    data::SetBaseFolders(*form, std::filesystem::absolute(demoFormPath()).parent_path());
    EXPECT_EQ(db->BaseFolder(), std::filesystem::absolute(demoFormPath()).parent_path());
    taula->Open();
    EXPECT_EQ(taula->RecordCount(), 18);
    ASSERT_EQ(taula->FieldCount(), 9);
    EXPECT_EQ(taula->Fields(0)->Name(), "TaulaCOD_ARTI");
    EXPECT_EQ(taula->FieldByName("COD_ARTI")->DisplayLabel(), "C\xC3\xB3" "digo Articulo");
    EXPECT_EQ(taula->FieldByName("COD_ARTI")->Alignment(), data::TAlignment::taRightJustify);
    EXPECT_EQ(taula->FieldByName("VENTAS_FEB")->DisplayLabel(), "VENTAS_FEB");
    EXPECT_TRUE(dynamic_cast<data::TFloatField&>(*taula->FieldByName("PVP")).Currency());
    EXPECT_EQ(dynamic_cast<data::TFloatField&>(*taula->FieldByName("STOC_ACT")).DisplayFormat(), "###,##0.00");
    EXPECT_EQ(componentOf(*form).ColumnaCampo("otros"), 9);
}

TEST_F(DemoFormFile, OmittedPropertiesReadToTheDefaults) {
    auto form = framework::ReadForm(
        "object Form1: TForm1\n"
        "  object de: TTabulix\n"
        "    TituloFormato.Fuente.Name = 'Tahoma'\n"
        "  end\n"
        "end\n",
        "Minimo.form");
    TTabulix& de = componentOf(*form);
    TTabulix fresh(nullptr);
    EXPECT_EQ(de.Datos(), nullptr);
    EXPECT_EQ(de.NombreHoja, "Datos");
    EXPECT_EQ(de.Titulo, "");
    EXPECT_EQ(de.FilaInicial, 1);
    EXPECT_TRUE(de.CabeceraMostrar);
    EXPECT_TRUE(de.ComaEsDecimal);
    EXPECT_EQ(de.Formulas().CuantasFormulas(), 0);
    EXPECT_EQ(de.TituloFormato().Fuente().Name(), "Tahoma");
    EXPECT_EQ(de.TituloFormato().LiniasContornoGrosor, TGrosorLinia::glDelgada);
    EXPECT_EQ(de.TituloFormato().Fuente().Height(), fresh.TituloFormato().Fuente().Height());
    EXPECT_EQ(de.DatosFormato().Fuente().Name(), "MS Sans Serif");

    // Written out, the defaults read back to the same text: every stored default is readable.
    const std::string written = framework::WriteForm(*form);
    auto again = framework::ReadForm(written, "Minimo.form");
    EXPECT_EQ(framework::WriteForm(*again), written);
    EXPECT_EQ(written.find("CabeceraMostrar"), std::string::npos);  // omitted while default
    EXPECT_EQ(written.find("FilaInicial"), std::string::npos);
    EXPECT_NE(written.find("VerConstruccion = False"), std::string::npos);  // always stored
    EXPECT_NE(written.find("NombreHoja = 'Datos'"), std::string::npos);
}

TEST_F(DemoFormFile, ActivarAlCreateConnectsAfterLoadingButNotInTheDesigner) {
    const std::string text =
        "object Form1: TForm1\n"
        "  object de: TTabulix\n"
        "    ActivarAlCreate = True\n"
        "  end\n"
        "end\n";
    auto running = framework::ReadForm(text, "Activa.form");
    ASSERT_NE(componentOf(*running).ExcelApplication(), nullptr);
    EXPECT_FALSE(componentOf(*running).ExcelApplication()->IsConnected());  // linked at first use

    auto designed = framework::ReadForm(text, "Activa.form", {.designing = true});
    EXPECT_EQ(componentOf(*designed).ExcelApplication(), nullptr);
    EXPECT_TRUE(componentOf(*designed).ActivarAlCreate);
}

TEST_F(DemoFormFile, DamagedFilesFailWithFileLineAndReason) {
    auto damaged = [](const std::string& body) {
        return "object Form1: TForm1\n"
               "  object de: TTabulix\n"
               "    NombreHoja = 'Ejemplo'\n" +
               body + "  end\nend\n";
    };
    {
        const auto error = readError(damaged("    TituloFormato.LiniasContorno = [lcIzquierda, lcArriba]\n"));
        EXPECT_EQ(error.File(), "Roto.form");
        EXPECT_EQ(error.Line(), 4);
        EXPECT_NE(error.Reason().find("lcArriba"), std::string::npos) << error.what();
        EXPECT_NE(error.Reason().find("LiniasContorno"), std::string::npos) << error.what();
    }
    {
        const auto error = readError(damaged("    DatosFormato.LiniasInteriorGrosor = glFina\n"));
        EXPECT_EQ(error.Line(), 4);
        EXPECT_NE(error.Reason().find("glFina"), std::string::npos) << error.what();
    }
    {
        const auto error = readError(damaged("    CabeceraFormato.Colour = clSilver\n"));
        EXPECT_EQ(error.Line(), 4);
        EXPECT_NE(error.Reason().find("Colour"), std::string::npos) << error.what();
    }
    {
        const auto error = readError(damaged("    Titulo = 'ARTICULOS EMPRESA\n"));
        EXPECT_EQ(error.Line(), 4);
        EXPECT_NE(error.Reason().find("unterminated"), std::string::npos) << error.what();
    }
    {
        const auto error = readError(damaged("    object Hoja: TTabulixHoja\n    end\n"));
        EXPECT_EQ(error.Line(), 4);
        EXPECT_NE(error.Reason().find("TTabulixHoja"), std::string::npos) << error.what();
    }
    {
        const auto error = readError(damaged("    Datos = Tabla\n"));
        EXPECT_EQ(error.Line(), 4);
        EXPECT_NE(error.Reason().find("Tabla"), std::string::npos) << error.what();
    }
    {
        // A reference to a component that is not a data set.
        const auto error = readError(
            "object Form1: TForm1\n"
            "  object DB: TDatabase\n"
            "  end\n"
            "  object de: TTabulix\n"
            "    Datos = DB\n"
            "  end\n"
            "end\n");
        EXPECT_EQ(error.Line(), 5);
        EXPECT_NE(error.Reason().find("Datos"), std::string::npos) << error.what();
    }
    {
        const auto error = readError(
            "object Form1: TForm1\n"
            "  object de: TTabulix\n"
            "    Titulo = 'ARTICULOS EMPRESA'\n"
            "end\n");
        EXPECT_EQ(error.File(), "Roto.form");
        EXPECT_GT(error.Line(), 0);
        EXPECT_NE(error.Reason().find("end"), std::string::npos) << error.what();
    }
    EXPECT_TRUE(ui.Boxes().empty());
}

// Numbers at the edges of what their properties hold: the largest that fit read and give sound
// derived values (a font's size from its height); one past them is refused at its own line,
// naming the property, before anything computes with it.
TEST_F(DemoFormFile, ExtremeNumbersReadOrAreRefusedNamingTheProperty) {
    auto root = framework::ReadForm(
        "object Form1: TForm1\n"
        "  object de: TTabulix\n"
        "    CabeceraFormato.Fuente.Height = -32767\n"
        "    TituloFormato.Fuente.Height = 32767\n"
        "    DatosFormato.Fuente.Size = -24575\n"
        "    FilaInicial = -2147483648\n"
        "    Tag = -9223372036854775808\n"
        "    CabeceraFormato.ColorFondo = $FFFFFFFF\n"
        "  end\n"
        "end\n",
        "Extremos.form");
    TTabulix& de = componentOf(*root);
    EXPECT_EQ(de.CabeceraFormato().Fuente().Size(), 24575);
    EXPECT_EQ(de.TituloFormato().Fuente().Size(), 24575);
    EXPECT_EQ(de.DatosFormato().Fuente().Height(), 32767);
    EXPECT_EQ(de.FilaInicial, INT32_MIN);

    struct Case {
        std::string line;
        std::string reason;
    };
    const std::vector<Case> cases{
        {"CabeceraFormato.Fuente.Height = -2147483648",
         "CabeceraFormato.Fuente.Height: value -2147483648 out of range (-32767..32767)"},
        {"TituloFormato.Fuente.Height = 2147483647",
         "TituloFormato.Fuente.Height: value 2147483647 out of range (-32767..32767)"},
        {"DatosFormato.Fuente.Size = -2147483648", "DatosFormato.Fuente.Size: value -2147483648 out of range (-24575..24575)"},
        {"FormulasFormatoLiteral.Fuente.Size = 24576",
         "FormulasFormatoLiteral.Fuente.Size: value 24576 out of range (-24575..24575)"},
        {"FilaInicial = 2147483648", "FilaInicial: value 2147483648 out of range (-2147483648..2147483647)"},
        {"CabeceraFormato.Fuente.Charset = 256", "CabeceraFormato.Fuente.Charset: value 256 out of range (0..255)"},
        {"CabeceraFormato.ColorFondo = $100000000",
         "CabeceraFormato.ColorFondo: value 4294967296 out of range (-2147483648..4294967295)"},
        {"Tag = 9223372036854775808", "bad number '9223372036854775808'"},
    };
    for (const Case& c : cases) {
        const auto error = readError("object Form1: TForm1\n  object de: TTabulix\n    NombreHoja = 'Ejemplo'\n    " +
                                     c.line + "\n  end\nend\n");
        EXPECT_EQ(error.File(), "Roto.form") << c.line;
        EXPECT_EQ(error.Line(), 4) << c.line;
        EXPECT_EQ(error.Reason(), c.reason) << c.line;
    }
}

}  // namespace

TEST_F(DemoFormFile, FinishSettingsReadWriteBackAndRefuseValuesOutOfRange) {
    const std::string text =
        "object Form1: TForm1\n"
        "  object de: TTabulix\n"
        "    NombreHoja = 'Datos'\n"
        "    InmovilizarCabecera = True\n"
        "    InmovilizarColumnas = 2\n"
        "    Autofiltro = True\n"
        "    NombrarRangos = True\n"
        "    Impresion.Orientacion = opAutomatica\n"
        "    Impresion.PaginasAncho = 1\n"
        "    Impresion.RepetirCabecera = True\n"
        "    Impresion.EncabezadoPie = True\n"
        "    Impresion.MargenIzquierdo = 1.5\n"
        "    Impresion.MargenInferior = 2\n"
        "    Documento.Titulo = 'Ventas'\n"
        "    Documento.Asunto = 'Primer trimestre'\n"
        "    Documento.Autor = 'Mar'#237'a'\n"
        "    Documento.Compania = 'Empresa'\n"
        "  end\n"
        "end\n";
    auto form = framework::ReadForm(text, "Acabado.form");
    TTabulix& de = componentOf(*form);
    EXPECT_TRUE(de.InmovilizarCabecera);
    EXPECT_EQ(de.InmovilizarColumnas, 2);
    EXPECT_TRUE(de.Autofiltro);
    EXPECT_TRUE(de.NombrarRangos);
    EXPECT_EQ(de.Impresion().Orientacion, TOrientacionPagina::opAutomatica);
    EXPECT_EQ(de.Impresion().PaginasAncho, 1);
    EXPECT_TRUE(de.Impresion().RepetirCabecera);
    EXPECT_TRUE(de.Impresion().EncabezadoPie);
    EXPECT_DOUBLE_EQ(de.Impresion().MargenIzquierdo, 1.5);
    EXPECT_DOUBLE_EQ(de.Impresion().MargenDerecho, 0);
    EXPECT_DOUBLE_EQ(de.Impresion().MargenInferior, 2);
    EXPECT_EQ(de.Documento().Autor, "Mar\xC3\xAD" "a");
    EXPECT_EQ(de.Documento().Compania, "Empresa");
    // Written back the same way, so the designer keeps every setting it does not touch.
    auto again = framework::ReadForm(framework::WriteForm(*form), "Acabado.form");
    EXPECT_EQ(framework::WriteForm(*again), framework::WriteForm(*form));
    EXPECT_EQ(framework::WriteForm(*form).find("MargenDerecho"), std::string::npos);  // default: omitted

    // The demonstration's form, without any of them, writes none of them.
    const std::string demo = framework::WriteForm(*framework::ReadFormFile(demoFormPath()));
    for (const char* name : {"Inmovilizar", "Autofiltro", "NombrarRangos", "Impresion.", "Documento."})
        EXPECT_EQ(demo.find(name), std::string::npos) << name;

    const auto refused = [&](const std::string& line, const char* expected) {
        const auto error = readError("object Form1: TForm1\n  object de: TTabulix\n" + line + "  end\nend\n");
        EXPECT_EQ(error.Line(), 3) << line;
        EXPECT_NE(error.Reason().find(expected), std::string::npos) << error.what();
    };
    refused("    InmovilizarColumnas = -1\n", "InmovilizarColumnas");
    refused("    Impresion.PaginasAncho = 300\n", "PaginasAncho");
    refused("    Impresion.MargenSuperior = -2\n", "MargenSuperior");
    refused("    Impresion.Orientacion = opApaisada\n", "opApaisada");
}
