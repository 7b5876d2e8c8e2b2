// The form designer's window with the package loaded: the palette, placing and deleting
// components, the object inspector's editors on the demonstration's form, the modified mark,
// saving, and the preview of a TTabulix.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "cli/tests/cli_test_support.h"
#include "component/tabulix.h"
#include "data/data_classes.h"
#include "data/database.h"
#include "data/data_set.h"
#include "design/host/designer_setup.h"
#include "design/host/designer_window.h"
#include "design/host/property_grid.h"
#include "design/tests/host_test_support.h"
#include "framework/ui_services.h"
#include "ui/embedded_spreadsheet_window.h"
#include "ui/spreadsheet_window.h"

namespace tabulix::design {
namespace {

using cli::testing::ReadFile;
using cli::testing::ScratchFolder;
using cli::testing::SourceDir;
using testing::ScriptedDesignerHost;

class Designer : public ::testing::Test {
protected:
    Designer() {
        data::RegisterDataClasses();
        RegisterDataAccessPalette(host);
        host.LoadPackage(testing::PackageLibrary());
        window = std::make_unique<DesignerWindow>(host);
    }
    ~Designer() override { window.reset(); }

    std::filesystem::path demoForm() const { return SourceDir() / "demo" / "DemoTabulix.form"; }
    component::TTabulix& openDemo() {
        EXPECT_TRUE(window->OpenForm(demoForm()));
        auto* tabulix = dynamic_cast<component::TTabulix*>(window->Root().FindComponent("de"));
        window->Select(tabulix);
        return *tabulix;
    }
    ObjectInspector& inspector() { return window->Inspector(); }
    template <class W>
    W* editor(const char* path) {
        QWidget* cell = inspector().Editor(path);
        if (auto* direct = qobject_cast<W*>(cell)) return direct;
        return cell ? cell->findChild<W*>() : nullptr;
    }
    void type(const char* path, const QString& text) {
        QLineEdit* edit = editor<QLineEdit>(path);
        ASSERT_NE(edit, nullptr) << path;
        edit->setText(text);
        emit edit->editingFinished();
    }
    void choose(const char* path, const QString& entry) {
        QComboBox* list = editor<QComboBox>(path);
        ASSERT_NE(list, nullptr) << path;
        const int index = list->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        testing::Choose(*list, index);
    }
    bool bold(const char* path) { return inspector().Row(path)->font(0).bold(); }
    void clickEllipsis(const char* path) {
        QWidget* cell = inspector().Editor(path);
        ASSERT_NE(cell, nullptr) << path;
        auto* button = cell->findChild<QToolButton*>("ellipsis");
        ASSERT_NE(button, nullptr) << path;
        testing::Click(*button);
    }

    framework::RecordingUi ui;
    ScriptedDesignerHost host;
    std::unique_ptr<DesignerWindow> window;
};

TEST_F(Designer, PalettePagesAndPlacingATabulix) {
    QTabWidget& palette = window->Palette();
    ASSERT_EQ(palette.count(), 2);
    EXPECT_EQ(palette.tabText(0), "Data Access");
    EXPECT_EQ(palette.tabText(1), "Tabulix");
    auto* place = palette.widget(1)->findChild<QAction*>("TTabulix");
    ASSERT_NE(place, nullptr);
    EXPECT_FALSE(place->icon().isNull());
    EXPECT_FALSE(window->IsModified());

    place->trigger();
    auto* placed = dynamic_cast<component::TTabulix*>(window->Selected());
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->Name(), "Tabulix1");
    EXPECT_TRUE(placed->IsDesigning());
    EXPECT_TRUE(window->IsModified());
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_EQ(editor<QLineEdit>("Formulas")->text(), "[TFormulaTabulix]");
    EXPECT_TRUE(editor<QLineEdit>("Formulas")->isReadOnly());

    clickEllipsis("Formulas");  // no data set yet
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text, "No hay un fuente de datos asignada a DATOS.");
    EXPECT_TRUE(host.shownDialogs.empty());
    EXPECT_EQ(window->PlaceComponent("TTabulix")->Name(), "Tabulix2");
}

TEST_F(Designer, TheInspectorEditsEveryKindOfProperty) {
    component::TTabulix& de = openDemo();
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(editor<QLineEdit>("Titulo")->text(), "ARTICULOS EMPRESA");
    EXPECT_TRUE(bold("Titulo")) << "stored";
    EXPECT_FALSE(bold("FilaInicial")) << "at its default: not stored";
    EXPECT_FALSE(bold("TituloFormato.Fuente.Size")) << "never stored";

    type("Titulo", "VENTAS 2026");
    EXPECT_EQ(de.Titulo, "VENTAS 2026");
    EXPECT_TRUE(window->isWindowModified());

    type("FilaInicial", "tres");
    ASSERT_EQ(ui.Boxes().size(), 1u) << "a refused value is reported";
    EXPECT_EQ(editor<QLineEdit>("FilaInicial")->text(), "1");
    type("FilaInicial", "3");
    EXPECT_EQ(de.FilaInicial, 3);
    EXPECT_TRUE(bold("FilaInicial"));

    choose("CabeceraMostrar", "False");
    EXPECT_FALSE(de.CabeceraMostrar);
    choose("TituloFormato.LiniasContornoGrosor", "glMedia");
    EXPECT_EQ(de.TituloFormato().LiniasContornoGrosor, component::TGrosorLinia::glMedia);
    choose("TituloFormato.Fuente.Style.fsItalic", "True");
    EXPECT_TRUE(de.TituloFormato().Fuente().Style().Contains(framework::fsItalic));
    EXPECT_EQ(editor<QLineEdit>("TituloFormato.Fuente.Style")->text(), "[fsBold, fsItalic]");
    type("TituloFormato.Fuente.Name", "Arial");
    EXPECT_EQ(de.TituloFormato().Fuente().Name(), "Arial");

    QComboBox* colour = editor<QComboBox>("CabeceraFormato.ColorFondo");
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(colour->currentText(), "clSilver");
    colour->setEditText("clRed");
    emit colour->lineEdit()->editingFinished();
    EXPECT_EQ(de.CabeceraFormato().ColorFondo, framework::clRed);
    colour->setEditText("$00FF8000");
    emit colour->lineEdit()->editingFinished();
    EXPECT_EQ(de.CabeceraFormato().ColorFondo, 0xFF8000);

    // The reference to the data set: replacing it asks first, and No keeps it and the records.
    QComboBox* datos = editor<QComboBox>("Datos");
    ASSERT_NE(datos, nullptr);
    EXPECT_EQ(datos->currentText(), "Taula");
    ui.QueueAnswer(framework::TModalResult::mrNo);
    choose("Datos", "");
    EXPECT_NE(de.Datos(), nullptr);
    EXPECT_EQ(de.Formulas().Count(), 6);
    EXPECT_EQ(datos->currentText(), "Taula");
}

TEST_F(Designer, TheInspectorEditsTheReportsFinishAndSavesIt) {
    component::TTabulix& de = openDemo();
    EXPECT_FALSE(bold("Autofiltro")) << "off by default: not stored";
    choose("InmovilizarCabecera", "True");
    choose("Autofiltro", "True");
    choose("Impresion.Orientacion", "opAutomatica");
    type("Impresion.PaginasAncho", "1");
    type("Impresion.MargenIzquierdo", "1.5");
    type("Documento.Autor", "Mar\u00EDa");
    EXPECT_TRUE(de.InmovilizarCabecera);
    EXPECT_TRUE(de.Autofiltro);
    EXPECT_EQ(de.Impresion().Orientacion, component::TOrientacionPagina::opAutomatica);
    EXPECT_EQ(de.Impresion().PaginasAncho, 1);
    EXPECT_DOUBLE_EQ(de.Impresion().MargenIzquierdo, 1.5);
    EXPECT_EQ(de.Documento().Autor, "Mar\xC3\xAD" "a");
    EXPECT_TRUE(bold("Impresion.PaginasAncho"));

    type("Impresion.PaginasAncho", "999");
    ASSERT_EQ(ui.Boxes().size(), 1u) << "a refused value is reported";
    EXPECT_NE(ui.Boxes()[0].text.find("PaginasAncho"), std::string::npos) << ui.Boxes()[0].text;
    EXPECT_EQ(de.Impresion().PaginasAncho, 1);

    ScratchFolder folder;
    const auto saved = folder / "Acabado.form";
    ASSERT_TRUE(window->SaveFormAs(saved));
    const std::string text = ReadFile(saved);
    for (const char* line : {"InmovilizarCabecera = True", "Autofiltro = True", "Impresion.Orientacion = opAutomatica",
                             "Impresion.PaginasAncho = 1", "Impresion.MargenIzquierdo = 1.5", "Documento.Autor = 'Mar'#237'a'"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
}

TEST_F(Designer, RenamingChecksTheNameAndUpdatesTheTree) {
    component::TTabulix& de = openDemo();
    type("Name", "Taula");
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_NE(ui.Boxes()[0].text.find("already exists"), std::string::npos) << ui.Boxes()[0].text;
    type("Name", "2mal");
    EXPECT_EQ(ui.Boxes().size(), 2u);
    EXPECT_EQ(de.Name(), "de");
    EXPECT_EQ(editor<QLineEdit>("Name")->text(), "de");
    type("Name", "Informe");
    EXPECT_EQ(de.Name(), "Informe");
    EXPECT_EQ(window->ComponentTree().currentItem()->text(0), "Informe: TTabulix");
}

TEST_F(Designer, APlacedTabulixGetsAPlacedTableAsItsDataSet) {
    QTabWidget& palette = window->Palette();
    palette.widget(0)->findChild<QAction*>("TTable")->trigger();
    EXPECT_EQ(window->Selected()->Name(), "Table1");
    auto* tabulix = dynamic_cast<component::TTabulix*>(window->PlaceComponent("TTabulix"));
    ASSERT_NE(tabulix, nullptr);
    tabulix->Formulas().Add("A;0;A;1;;0;0;");
    choose("Datos", "Table1");
    EXPECT_EQ(tabulix->Datos(), window->Root().FindComponent("Table1"));
    EXPECT_TRUE(ui.Boxes().empty()) << "a first data set is set without a question";
    EXPECT_EQ(tabulix->Formulas().Count(), 1);
    clickEllipsis("Formulas");  // a table without persistent fields
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text, "Debe crear los campos en la fuente de informaci\xC3\xB3 DATOS.");
}

TEST_F(Designer, ClosingWithUnsavedChangesAsksFirst) {
    window->show();
    window->PlaceComponent("TTabulix");
    ui.QueueAnswer(framework::TModalResult::mrCancel);
    EXPECT_FALSE(window->close());
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].type, framework::TMsgDlgType::mtConfirmation);
    ui.QueueAnswer(framework::TModalResult::mrNo);
    EXPECT_TRUE(window->close());
}

TEST_F(Designer, StringListsAreEditedInTheirDialog) {
    openDemo();
    auto* db = dynamic_cast<data::TDatabase*>(window->Root().FindComponent("DB"));
    window->Select(db);
    host.scripts.push_back([](QDialog& d) {
        auto* lines = d.findChild<QPlainTextEdit*>("lines");
        ASSERT_NE(lines, nullptr);
        EXPECT_EQ(lines->toPlainText(), "PATH=.\nENABLE BCD=FALSE\nDEFAULT DRIVER=DBASE");
        lines->setPlainText("PATH=datos\nDEFAULT DRIVER=DBASE");
        d.accept();
    });
    clickEllipsis("Params");
    EXPECT_EQ(db->Params().Lines(), (std::vector<std::string>{"PATH=datos", "DEFAULT DRIVER=DBASE"}));
    EXPECT_TRUE(window->IsModified());
}

TEST_F(Designer, TheFormulasEditorStoresTheListAndMarksTheForm) {
    component::TTabulix& de = openDemo();
    const std::vector<std::string> before = de.Formulas().Lines();
    host.scripts.push_back([](QDialog& d) {
        EXPECT_EQ(d.findChild<QTreeWidget*>("Tree")->topLevelItemCount(), 6);
        testing::Click(*d.findChild<QPushButton*>("BitBtn3"));
    });
    clickEllipsis("Formulas");
    EXPECT_EQ(host.shownDialogs, std::vector<std::string>{"Editor de Formulas"});
    EXPECT_EQ(de.Formulas().Lines(), before);
    EXPECT_TRUE(window->isWindowModified());
}

TEST_F(Designer, DeletingTheTableClearsTheReferenceToIt) {
    component::TTabulix& de = openDemo();
    window->Select(window->Root().FindComponent("Taula"));
    window->DeleteSelected();
    EXPECT_EQ(window->Root().FindComponent("Taula"), nullptr);
    EXPECT_EQ(de.Datos(), nullptr);
    EXPECT_TRUE(window->IsModified());
    window->Select(&de);
    EXPECT_EQ(editor<QComboBox>("Datos")->currentText(), "");
    EXPECT_EQ(editor<QComboBox>("Datos")->count(), 1) << "no data set left to choose";
}

TEST_F(Designer, SavingWritesTheFormAndClearsTheMark) {
    component::TTabulix& de = openDemo();
    ScratchFolder folder;
    ASSERT_TRUE(window->SaveFormAs(folder / "copia.form"));
    EXPECT_EQ(ReadFile(folder / "copia.form"), ReadFile(demoForm())) << "an unchanged form is written as read";

    type("Titulo", "OTRO");
    EXPECT_TRUE(window->IsModified());
    EXPECT_FALSE(window->SaveFormAs(folder / "no" / "such" / "folder.form"));
    EXPECT_EQ(ui.Boxes().size(), 1u);
    EXPECT_TRUE(window->IsModified()) << "a failed save keeps the mark";
    ASSERT_TRUE(window->SaveForm());
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_NE(ReadFile(folder / "copia.form").find("Titulo = 'OTRO'"), std::string::npos);
    EXPECT_EQ(de.Titulo, "OTRO");
}

TEST_F(Designer, ABadFormFileIsReportedWithItsLine) {
    ScratchFolder folder;
    folder.Write("mala.form", "object Form1: TForm1\n  object de: TNoExiste\n  end\nend\n");
    EXPECT_FALSE(window->OpenForm(folder / "mala.form"));
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_NE(ui.Boxes()[0].text.find("mala.form:2"), std::string::npos) << ui.Boxes()[0].text;
    EXPECT_EQ(window->Root().Name(), "Form1") << "the designer keeps its form";
}

TEST_F(Designer, PreviewTransfersTheDataSetAndShowsTheSpreadsheet) {
    tabulix::ui::installEmbeddedSpreadsheetWithWindow();
    component::TTabulix& de = openDemo();
    de.VerConstruccion = false;  // the window is shown by the preview, not by the transfer
    window->ShowSpreadsheet = ShowRunningSpreadsheetWindow;
    window->Preview();
    EXPECT_TRUE(ui.Boxes().empty()) << (ui.Boxes().empty() ? "" : ui.Boxes()[0].text);
    tabulix::ui::SpreadsheetWindow* spreadsheet = tabulix::ui::runningSpreadsheetWindow();
    ASSERT_NE(spreadsheet, nullptr);
    EXPECT_TRUE(spreadsheet->isVisible());
    EXPECT_EQ(de.PrimeraFilaDatos(), 3);
    EXPECT_EQ(de.UltimaFilaDatos(), 20);
    EXPECT_FALSE(de.Datos()->Active()) << "the design-time data set is closed again";

    window->Select(&window->Root());
    window->Preview();
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_NE(ui.Boxes()[0].text.find("Select a TTabulix"), std::string::npos);
}

}  // namespace
}  // namespace tabulix::design
