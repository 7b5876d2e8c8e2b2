#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "framework/class_registry.h"
#include "framework/form.h"
#include "framework/form_reader.h"
#include "framework/form_writer.h"
#include "framework/tests/form_test_classes.h"

namespace fw = tabulix::framework;
using namespace formtest;

namespace formtest {
void RegisterTestClasses() {
    fw::RegisterClass<TTestWidget>("TTestWidget");
    fw::RegisterClass<TTestTable>("TTestTable");
    fw::RegisterClass<TTestField>("TTestField");
    fw::RegisterClass<TTestForm>("TTestForm");
}
}  // namespace formtest

namespace {

class FormFile : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        journal.clear();
        liveBefore = live;
    }
    void TearDown() override { EXPECT_EQ(live, liveBefore) << "objects of the test classes leaked"; }

    template <class T>
    static T& child(fw::TComponent& root, const char* name) {
        auto* c = dynamic_cast<T*>(root.FindComponent(name));
        if (!c) throw std::logic_error(std::string("no component ") + name);
        return *c;
    }

    // The message of the FormFileError that reading `text` raises.
    static std::string readError(const std::string& text) {
        try {
            fw::ReadForm(text, "Bad.form");
        } catch (const fw::FormFileError& e) {
            return e.what();
        }
        return "read without error";
    }

    int liveBefore = 0;
};

// Every property kind, as the writer writes it.
const char* const kEveryKind = R"(object Form1: TForm
  Caption = 'Demo de TTabulix'
  object Taula: TTestTable
    TableName = 'Demo.DBF'
    object TaulaCOD_ARTI: TTestField
      FieldName = 'COD_ARTI'
      DisplayLabel = 'C'#243'digo Articulo'
      Size = 8
    end
    object TaulaPVP: TTestField
      FieldName = 'PVP'
    end
  end
  object de: TTestWidget
    Tag = 7
    Datos = Taula
    Key = TaulaCOD_ARTI
    Flag = False
    Count = -16
    Big = 5000000000
    Ratio = 1.16
    Whole = 2.0
    Caption = 'It''s '#8364' 5'#13#10'x'
    Long =
      '01234567890123456789012345678901234567890123456789012345678901' +
      '23456789'#243
    Weight = wThick
    Edges = [eLeft, eRight, eTop, eBottom]
    NoEdges = []
    Colour = clSilver
    Odd = 1193046
    System = clWindowText
    Part.Fuente.Charset = ANSI_CHARSET
    Part.Fuente.Color = clTeal
    Part.Fuente.Height = -27
    Part.Fuente.Name = 'Tahoma'
    Part.Fuente.Pitch = fpFixed
    Part.Fuente.Style = [fsBold, fsItalic]
    Part.Background = clBlack
    Part.Shade = shDark
    Lines.Strings = (
      'VENTAS_ENE;0;C;1;TOTAL VENTAS MENSUALES:;0;2;'
      ''
      'VENTAS_MAR;4;E;5;Desviaci'#243'n Estandard Ventas Enero:;0;2;=' +
      'STDEV(#T_VENTAS_ENE#)')
    Partner = Other
  end
  object Other: TTestWidget
    Count = 0
    Ratio = 0.0
    Edges = []
    NoEdges = [eTop]
    Colour = clWhite
    System = -2147483621
    Part.Fuente.Charset = DEFAULT_CHARSET
    Part.Fuente.Color = clWindowText
    Part.Fuente.Height = -11
    Part.Fuente.Name = 'MS Sans Serif'
    Part.Fuente.Style = []
    Part.Background = clWhite
  end
end
)";

}  // namespace

TEST_F(FormFile, EveryPropertyKindReadsAndWritesBackUnchanged) {
    auto root = fw::ReadForm(kEveryKind, "Every.form");
    auto& form = dynamic_cast<fw::TForm&>(*root);
    EXPECT_EQ(form.Name(), "Form1");
    EXPECT_EQ(form.Caption, "Demo de TTabulix");

    auto& table = child<TTestTable>(form, "Taula");
    ASSERT_EQ(table.fields.size(), 2u);
    EXPECT_EQ(table.fields[0]->Owner(), &table);
    EXPECT_EQ(table.fields[0]->displayLabel, "C\u00F3digo Articulo");
    EXPECT_EQ(table.fields[0]->size, 8);

    auto& de = child<TTestWidget>(form, "de");
    auto& other = child<TTestWidget>(form, "Other");
    EXPECT_EQ(de.Tag(), 7);
    EXPECT_EQ(de.datos, &table);
    EXPECT_EQ(de.key, table.fields[0]);
    EXPECT_EQ(de.partner, &other);
    EXPECT_FALSE(de.flag);
    EXPECT_EQ(de.count, -16);
    EXPECT_EQ(de.big, 5000000000);
    EXPECT_EQ(de.ratio, 1.16);
    EXPECT_EQ(de.caption, "It's \u20AC 5\r\nx");
    EXPECT_EQ(de.longText, "0123456789012345678901234567890123456789012345678901234567890123456789\u00F3");
    EXPECT_EQ(de.weight, wThick);
    EXPECT_EQ(de.edges, (fw::SetOf<Edge>{eLeft, eRight, eTop, eBottom}));
    EXPECT_EQ(de.colour, fw::clSilver);
    EXPECT_EQ(de.odd, 0x123456);
    EXPECT_EQ(de.system, fw::clWindowText);
    EXPECT_EQ(de.part.fuente.Name(), "Tahoma");
    EXPECT_EQ(de.part.fuente.Size(), 20);
    EXPECT_EQ(de.part.fuente.Charset(), fw::ANSI_CHARSET);
    EXPECT_EQ(de.part.fuente.Style(), (fw::TFontStyles{fw::fsBold, fw::fsItalic}));
    EXPECT_EQ(de.part.shade, shDark);
    ASSERT_EQ(de.lines.Count(), 3);
    EXPECT_EQ(de.lines.Strings(2), "VENTAS_MAR;4;E;5;Desviaci\u00F3n Estandard Ventas Enero:;0;2;=STDEV(#T_VENTAS_ENE#)");
    EXPECT_EQ(other.noEdges, 1 << eTop);
    EXPECT_EQ(other.system, static_cast<fw::TColor>(0x8000001Bu));

    const std::string written = fw::WriteForm(form);
    EXPECT_EQ(written, kEveryKind);
    auto again = fw::ReadForm(written, "Written.form");
    EXPECT_EQ(fw::WriteForm(*again), written);
}

TEST_F(FormFile, OmittedPropertiesKeepTheirDefaultsAndDefaultsAreNotWritten) {
    auto root = fw::ReadForm(
        "object F: TForm\n"
        "  object w: TTestWidget\n"
        "    Count = 3\n"
        "  end\n"
        "end\n",
        "Short.form");
    auto& w = child<TTestWidget>(*root, "w");
    EXPECT_EQ(w.count, 3);
    EXPECT_TRUE(w.flag);
    EXPECT_EQ(w.weight, wThin);
    EXPECT_EQ(w.part.shade, shLight);
    EXPECT_EQ(w.part.fuente.Name(), "MS Sans Serif");
    EXPECT_EQ(w.colour, fw::clWhite);
    EXPECT_EQ(w.datos, nullptr);

    const std::string written = fw::WriteForm(*root);
    for (const char* omitted : {"Tag", "Flag", "Big", "Whole", "Caption", "Weight", "Odd", "Shade", "Pitch", "Size",
                                "Lines", "Datos", "Partner", "FailOnLoad"})
        EXPECT_EQ(written.find(std::string(" ") + omitted + " ="), std::string::npos) << omitted << "\n" << written;
    for (const char* always : {"    Count = 3\n", "    Ratio = 0.0\n", "    Edges = []\n", "    System = clBtnFace\n",
                               "    Part.Fuente.Style = []\n", "    Part.Background = clWhite\n"})
        EXPECT_NE(written.find(always), std::string::npos) << always << "\n" << written;
}

TEST_F(FormFile, NotationVariantsReadToTheSameValues) {
    auto root = fw::ReadForm(
        "\xEF\xBB\xBFobject Form1: TForm\r\n"
        "  object w: TTestWidget\r\n"
        "    Caption = 'Descripci\xC3\xB3n '#$20AC' caf\xE9'\r\n"  // raw UTF-8, hex code, a Windows-1252 byte
        "    Long = 'a' +\r\n"
        "      'b'#39'c'\r\n"
        "    COUNT = $FF\r\n"
        "    Big = -$10\r\n"
        "    Ratio = 2E3\r\n"
        "    Whole = 4\r\n"
        "    Odd = $80000008\r\n"
        "    weight = WMEDIUM\r\n"
        "    Flag = false\r\n"
        "    Edges = [eTop,eLeft]\r\n"
        "    Lines.strings = ()\r\n"
        "    Partner = Form1.w\r\n"
        "  end\r\n"
        "end",
        "Variants.form");
    auto& w = child<TTestWidget>(*root, "w");
    EXPECT_EQ(w.caption, "Descripci\u00F3n \u20AC caf\u00E9");
    EXPECT_EQ(w.longText, "ab'c");
    EXPECT_EQ(w.count, 255);
    EXPECT_EQ(w.big, -16);
    EXPECT_EQ(w.ratio, 2000.0);
    EXPECT_EQ(w.whole, 4.0);
    EXPECT_EQ(w.odd, fw::clWindowText);
    EXPECT_EQ(w.weight, wMedium);
    EXPECT_FALSE(w.flag);
    EXPECT_EQ(w.edges, (fw::SetOf<Edge>{eLeft, eTop}));
    EXPECT_EQ(w.partner, &w);
    EXPECT_NE(fw::WriteForm(*root).find("Caption = 'Descripci'#243'n '#8364' caf'#233\n"), std::string::npos);

    // A NUL is a character like any other: what follows it stays.
    auto nul = fw::ReadForm("object F: TForm\n  object w: TTestWidget\n    Caption = 'A'#0'B'\n  end\nend\n", "Nul.form");
    EXPECT_EQ(child<TTestWidget>(*nul, "w").caption, std::string("A\0B", 3));
    EXPECT_NE(fw::WriteForm(*nul).find("Caption = 'A'#0'B'\n"), std::string::npos);
}

TEST_F(FormFile, LoadingStateAndLoadedOrder) {
    auto root = fw::ReadForm(
        "object Main: TTestForm\n"
        "  object de: TTestWidget\n"
        "    Datos = Taula\n"
        "    Count = 1\n"
        "  end\n"
        "  object Taula: TTestTable\n"
        "    object TaulaA: TTestField\n"
        "    end\n"
        "  end\n"
        "end\n",
        "Order.form");
    // Creation order, the root first, each object before what nests in it; references are set
    // before any Loaded.
    EXPECT_EQ(journal, (std::vector<std::string>{"Loaded Main", "Loaded de Datos=Taula", "Loaded Taula", "Loaded TaulaA"}));
    auto& de = child<TTestWidget>(*root, "de");
    EXPECT_TRUE(de.loadingWhenSet);
    EXPECT_FALSE(de.IsLoading());

    // Destroying the table clears the reference through the free notification.
    delete root->FindComponent("Taula");
    EXPECT_EQ(de.datos, nullptr);

    journal.clear();
    auto designed = fw::ReadForm("object Main: TTestForm\n  object de: TTestWidget\n  end\nend\n", "Design.form",
                                 fw::FormReadOptions{.designing = true});
    EXPECT_EQ(journal, (std::vector<std::string>{"Loaded Main", "Loaded de designing"}));
}

TEST_F(FormFile, DamagedFilesFailWithFileLineAndReasonAndLeakNothing) {
    const std::string head =
        "object Form1: TForm\n"
        "  object Taula: TTestTable\n"
        "    object TaulaA: TTestField\n"
        "    end\n"
        "  end\n"
        "  object de: TTestWidget\n";  // lines 1 to 6
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases{
        {head + "  end\n  object x: TNoSuch\n  end\nend\n", "Bad.form:8: unknown class 'TNoSuch'"},
        {head + "    Part.Colour = clRed\n  end\nend\n", "Bad.form:7: unknown property 'Colour' of TTestPart"},
        {head + "    Colour = clRed\n    Colours = clRed\n  end\nend\n", "Bad.form:8: unknown property 'Colours' of TTestWidget"},
        {head + "    Edges = [eLeft, eArriba]\n  end\nend\n",
         "Bad.form:7: Edges: bad set member 'eArriba' (expected one of eLeft, eRight, eTop, eBottom)"},
        {head + "    Caption = 'abc\n  end\nend\n", "Bad.form:7: unterminated string"},
        {head + "    Count = 1\n  end\n", "Bad.form:9: expected 'end' of object 'Form1' (begun at line 1)"},
        {head + "    Count = 1\n", "Bad.form:8: expected 'end' of object 'de' (begun at line 6)"},
        {head + "    Weight = wHeavy\n  end\nend\n", "Bad.form:7: Weight: bad value 'wHeavy' (expected one of wThin, wMedium, wThick)"},
        {head + "    Count = 5000000000\n  end\nend\n", "Bad.form:7: Count: value 5000000000 out of range (-2147483648..2147483647)"},
        {head + "    Flag = 'yes'\n  end\nend\n", "Bad.form:7: Flag: expected True or False, found a string"},
        {head + "    Part = clRed\n  end\nend\n", "Bad.form:7: 'Part' is an object: give its members (Part.Member = ...)"},
        {head + "    Lines = ( 'a' )\n  end\nend\n", "Bad.form:7: expected 'Lines.Strings = ( ... )'"},
        {head + "    Count.Value = 1\n  end\nend\n", "Bad.form:7: 'Count' of TTestWidget has no member 'Value'"},
        {head + "    Datos = Nobody\n  end\nend\n", "Bad.form:7: Datos: unknown component 'Nobody'"},
        {head + "    Datos = TaulaA\n  end\nend\n", "Bad.form:7: Datos: component 'TaulaA' (TTestField) does not fit this property"},
        {head + "    Datos = 'Taula'\n  end\nend\n", "Bad.form:7: Datos: expected a component name, found a string"},
        {head + "  end\n  object de: TTestWidget\n  end\nend\n", "Bad.form:8: duplicate component name 'de'"},
        {head + "    object in: TTestWidget\n    end\n  end\nend\n", ""},  // a widget accepts any child
        {head + "  end\n  object Taula2: TTestTable\n    object w: TTestWidget\n    end\n  end\nend\n",
         "Bad.form:9: TTestTable 'Taula2' does not accept TTestWidget 'w': only fields nest in a table"},
        {head + "    Count = 1 2\n  end\nend\n", "Bad.form:7: expected a property, 'object' or 'end', found a number"},
        {head + "    Count 1\n  end\nend\n", "Bad.form:7: expected '=' after 'Count', found a number"},
        {head + "    Count = 12ab\n  end\nend\n", "Bad.form:7: bad number '12a'"},
        {head + "    Caption = 'a' + 3\n  end\nend\n", "Bad.form:7: expected a string after '+', found a number"},
        {head + "    Caption = #99999999\n  end\nend\n", "Bad.form:7: bad character code #99999999"},
        {head + "    Edges = [eLeft eTop]\n  end\nend\n", "Bad.form:7: expected ',' or ']' in the set, found 'eTop'"},
        {head + "    Lines.Strings = ( 'a' 3 )\n  end\nend\n", "Bad.form:7: expected a string in the list, found a number"},
        {head + "    Lines.Strings = ( 'a'\n", "Bad.form:8: expected ')' closing the list begun at line 7"},
        {head + "    Count = @\n  end\nend\n", "Bad.form:7: unexpected character '@'"},
        {head + "    Data = {00}\n  end\nend\n", "Bad.form:7: binary data and collections are not supported in form files"},
        {head + "  end\nend\nend\n", "Bad.form:9: unexpected 'end' after the end of the form"},
        {"", "Bad.form:1: expected 'object', found the end of the file"},
        {"object : TForm\nend\n", "Bad.form:1: expected an object name or class, found ':'"},
        {"object F: TTestWidget\nend\n", ""},  // any registered class may be the root
        {"object F: TNoSuch\nend\n", "Bad.form:1: unknown class 'TNoSuch'"},
    };
    for (const Case& c : cases) {
        if (c.message.empty()) {
            EXPECT_NO_THROW(fw::ReadForm(c.text, "Bad.form")) << c.text;
            continue;
        }
        EXPECT_EQ(readError(c.text), c.message) << c.text;
        EXPECT_EQ(live, liveBefore) << c.message;
    }
}

TEST_F(FormFile, HugeOrHostileNamesAreShortenedAndEscapedInMessages) {
    const std::string huge(1'000'000, 'T');
    const std::string cases[] = {
        "object F: TForm\n  object x: " + huge + "\n  end\nend\n",
        "object F: " + huge + "\nend\n",
        "object F: TForm\n  object w: TTestWidget\n    " + huge + " = 1\n  end\nend\n",
        "object F: TForm\n  object w: TTestWidget\n    Datos = " + huge + "\n  end\nend\n",
        "object F: TForm\n  object w: TTestWidget\n    Weight = " + huge + "\n  end\nend\n",
    };
    for (const std::string& text : cases) {
        const std::string message = readError(text);
        EXPECT_LT(message.size(), 400u) << message.substr(0, 400);
        EXPECT_NE(message.find("(1000000 bytes)"), std::string::npos) << message.substr(0, 400);
    }
    try {
        fw::ReadForm("object F: TNoSuch\nend\n", "informe\x1B[2J.form");
        ADD_FAILURE() << "read without error";
    } catch (const fw::FormFileError& e) {
        EXPECT_EQ(std::string(e.what()), "informe\\x1B[2J.form:1: unknown class 'TNoSuch'");
    }
}

TEST_F(FormFile, AFailedReadIntoAnExistingRootRemovesOnlyWhatItCreated) {
    fw::TForm form(nullptr);
    auto* mine = new TTestWidget(&form);
    mine->SetName("Mine");
    const int liveWithMine = live;
    const std::string text =
        "object Form1: TForm\n"
        "  Caption = 'x'\n"
        "  object Taula: TTestTable\n"
        "  end\n"
        "  object de: TTestWidget\n"
        "    Datos = Taula\n"
        "    Partner = Mine\n"
        "    FailOnLoad = True\n"
        "  end\n"
        "end\n";
    try {
        fw::ReadFormInto(form, text, "Into.form");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "cannot start de");  // an error of Loaded passes through as it was
    }
    EXPECT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(form.Components(0), mine);
    EXPECT_FALSE(form.IsLoading());
    EXPECT_EQ(live, liveWithMine);

    fw::ReadFormInto(form, "object Main: TForm\n  object t: TTestTable\n  end\nend\n", "Into.form");
    EXPECT_EQ(form.Name(), "Main");
    EXPECT_EQ(form.ComponentCount(), 2);

    try {
        fw::ReadFormInto(form, "object Main: TTestForm\nend\n", "Into.form");
        FAIL() << "no error";
    } catch (const fw::FormFileError& e) {
        EXPECT_STREQ(e.what(), "Into.form:1: the form is a TTestForm, expected a TForm");
    }
    delete mine;
}

TEST_F(FormFile, WriterRefusesValuesItCannotStore) {
    fw::TForm form(nullptr);
    form.SetName("F");
    auto* w = new TTestWidget(&form);
    w->SetName("w");
    TTestWidget outsider(nullptr);
    outsider.SetName("outsider");
    w->partner = &outsider;
    try {
        fw::WriteForm(form);
        FAIL() << "no error";
    } catch (const fw::FormWriteError& e) {
        EXPECT_STREQ(e.what(), "cannot store w.Partner: it refers to 'outsider', which is not part of the form");
    }
    w->partner = nullptr;
    w->caption = "bad \xFF byte";
    EXPECT_THROW(fw::WriteForm(form), fw::FormWriteError);
    w->caption.clear();
    w->weight = static_cast<Weight>(9);
    EXPECT_THROW(fw::WriteForm(form), fw::FormWriteError);
    w->weight = wThin;
    w->SetName("two words");
    EXPECT_THROW(fw::WriteForm(form), fw::FormWriteError);
}

TEST_F(FormFile, FilesAreWrittenWholeAndReadBack) {
    const auto dir = std::filesystem::temp_directory_path() / ("tabulix-form-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto path = dir / "Every.form";
    {
        auto root = fw::ReadForm(kEveryKind, "Every.form");
        fw::WriteFormFile(path, *root);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "Every.form.tmp"));
    auto root = fw::ReadFormFile(path);
    EXPECT_EQ(fw::WriteForm(*root), kEveryKind);
    root.reset();
    try {
        fw::ReadFormFile(dir / "missing.form");
        FAIL() << "no error";
    } catch (const fw::FormFileError& e) {
        EXPECT_EQ(e.Line(), 0);
        EXPECT_NE(std::string(e.what()).find("missing.form:0: cannot open the file"), std::string::npos);
    }
    std::filesystem::remove_all(dir);
}

TEST_F(FormFile, DamageAnywhereFailsCleanly) {
    // Cut the file at every byte, and overwrite every byte with one of the characters that
    // matter to the notation, in turn: each read either succeeds or raises FormFileError,
    // and nothing is left behind.
    const std::string text = kEveryKind;
    auto attempt = [&](const std::string& damaged) {
        try {
            fw::ReadForm(damaged, "Damaged.form");
        } catch (const fw::FormFileError&) {
        }
        EXPECT_EQ(live, liveBefore);
    };
    for (std::size_t cut = 0; cut < text.size(); ++cut) attempt(text.substr(0, cut));
    const std::string notation = "'#\n[(+x";
    for (std::size_t at = 0; at < text.size(); ++at) {
        std::string damaged = text;
        damaged[at] = notation[at % notation.size()];
        attempt(damaged);
    }
}
