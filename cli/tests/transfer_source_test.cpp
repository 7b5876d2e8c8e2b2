// Loading what the command transfers: form files (own root classes, relative database paths,
// choosing the component, opening its data set) and the --dbf and --sqlite sources; then the
// run itself, in process, up to the saved file.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sstream>

#include "automation/application_provider.h"
#include "cli/progress_bar.h"
#include "cli/tests/cli_test_support.h"
#include "cli/transfer_run.h"
#include "cli/transfer_source.h"
#include "component/tabulix.h"
#include "data/database.h"
#include "data/sqlite_query.h"
#include "data/table.h"
#include "framework/class_registry.h"
#include "framework/form_file_error.h"
#include "spreadsheet/cells/cell_address.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"

namespace tabulix::cli {
namespace {

using testing::DemoDbf;
using testing::ScratchFolder;

// A form whose table reads Demo.DBF from the folder "datos" next to the form file.
std::string demoForm(const std::string& rootClass, const std::string& databaseName, const std::string& extra = "",
                     const std::string& tableActive = "") {
    return "object Informe: " + rootClass +
           "\n"
           "  object DB: TDatabase\n"
           "    DatabaseName = '" + databaseName + "'\n"
           "    DriverName = 'STANDARD'\n"
           "    Params.Strings = (\n"
           "      'PATH=datos'\n"
           "      'DEFAULT DRIVER=DBASE')\n"
           "  end\n"
           "  object Taula: TTable\n" + tableActive +
           "    DatabaseName = '" + databaseName + "'\n"
           "    TableName = 'Demo.DBF'\n"
           "  end\n"
           "  object de: TTabulix\n"
           "    Datos = Taula\n"
           "    Titulo = 'VENTAS'\n"
           "  end\n" + extra +
           "end\n";
}

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

class TransferSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterProgramClasses();
        std::filesystem::create_directories(folder / "form" / "datos");
        std::filesystem::copy_file(DemoDbf(), folder / "form" / "datos" / "Demo.DBF");
    }
    ScratchFolder folder;
};

TEST_F(TransferSourceTest, FormWithItsOwnRootClassReadsTablesFromTheFormsFolder) {
    // The table's stored Active is carried out inside the read: the base folder must be set
    // by then. The working folder is elsewhere, so a relative path would not be found from it.
    const auto active = folder.Write("form/activa.form", demoForm("TInformeVentas", "DBCLI1", "", "    Active = True\n"));
    TransferSource source = LoadFormSource(active, "");
    ASSERT_NE(source.tabulix, nullptr);
    EXPECT_EQ(source.root->ClassName(), "TInformeVentas");
    EXPECT_EQ(source.tabulix->Name(), "de");
    EXPECT_EQ(source.tabulix->Titulo, "VENTAS");
    ASSERT_NE(source.tabulix->Datos(), nullptr);
    EXPECT_TRUE(source.tabulix->Datos()->Active());
    EXPECT_EQ(source.tabulix->Datos()->RecordCount(), 18);

    // Not stored as active: opened by the loader.
    const auto inactive = folder.Write("form/inactiva.form", demoForm("TInformeVentas", "DBCLI2"));
    TransferSource second = LoadFormSource(inactive, "");
    EXPECT_TRUE(second.tabulix->Datos()->Active());

    // The loader's base-folder factories are gone afterwards.
    auto probe = framework::ClassRegistry::Instance().CreateRoot("TDatabase");
    EXPECT_TRUE(dynamic_cast<data::TDatabase&>(*probe).BaseFolder().empty());
}

TEST_F(TransferSourceTest, ComponentIsChosenByNameOrAsTheOnlyOne) {
    const std::string another = "  object Otro: TTabulix\n    Datos = Taula\n  end\n";
    const auto file = folder.Write("form/dos.form", demoForm("TForm", "DBCLI3", another));
    const std::string where = "the form file \"" + file.string() + "\"";
    EXPECT_EQ(errorOf([&] { LoadFormSource(file, ""); }),
              where + " holds several TTabulix components (de, Otro): choose one with --component NAME");
    EXPECT_EQ(errorOf([&] { LoadFormSource(file, "nadie"); }),
              where + " has no TTabulix named 'nadie'; its TTabulix components: de, Otro");
    TransferSource chosen = LoadFormSource(file, "OTRO");
    EXPECT_EQ(chosen.tabulix->Name(), "Otro");
    EXPECT_TRUE(chosen.tabulix->Datos()->Active());

    const auto none = folder.Write("form/ninguno.form", "object F: TForm\n  object T: TTable\n  end\nend\n");
    EXPECT_EQ(errorOf([&] { LoadFormSource(none, ""); }),
              "the form file \"" + none.string() + "\" holds no TTabulix component");
}

TEST_F(TransferSourceTest, BadFormsSayWhatAndWhere) {
    EXPECT_EQ(errorOf([&] { LoadFormSource(folder / "falta.form", ""); }),
              "the form file \"" + (folder / "falta.form").string() + "\" does not exist");
    EXPECT_EQ(errorOf([&] { LoadFormSource(folder / "form", ""); }),
              "the form file \"" + (folder / "form").string() + "\" is not a file");

    const auto damaged = folder.Write("form/rota.form", "object F: TForm\n  object de: TTabulix\n    Titulo = 'sin fin\n");
    try {
        LoadFormSource(damaged, "");
        FAIL() << "no error";
    } catch (const framework::FormFileError& e) {
        EXPECT_EQ(e.File(), damaged.string());
        EXPECT_GT(e.Line(), 0);
    }

    const auto noData = folder.Write("form/sindatos.form", "object F: TForm\n  object de: TTabulix\n  end\nend\n");
    EXPECT_EQ(errorOf([&] { LoadFormSource(noData, ""); }),
              noData.string() + ": component 'de' has no data set (Datos is not set)");

    std::string missingTable = demoForm("TForm", "DBCLI4");
    missingTable.replace(missingTable.find("Demo.DBF"), 8, "Falta.DBF");
    const auto missing = folder.Write("form/falta_tabla.form", missingTable);
    const std::string message = errorOf([&] { LoadFormSource(missing, ""); });
    EXPECT_EQ(message.rfind(missing.string() + ": cannot open the data set 'Taula' of component 'de': ", 0), 0u)
        << message;
    EXPECT_NE(message.find("Falta"), std::string::npos) << message;

    // Stored as active, the table fails inside the read; the error still names the form file.
    std::string activeMissing = demoForm("TForm", "DBCLI5", "", "    Active = True\n");
    activeMissing.replace(activeMissing.find("Demo.DBF"), 8, "Falta.DBF");
    const auto activeFile = folder.Write("form/falta_activa.form", activeMissing);
    const std::string loadMessage = errorOf([&] { LoadFormSource(activeFile, ""); });
    EXPECT_EQ(loadMessage.rfind(activeFile.string() + ": cannot load the form: ", 0), 0u) << loadMessage;
}

TEST_F(TransferSourceTest, DbfAndSqliteSourcesUseTheDefaultSettings) {
    TransferSource dbf = DbfSource(DemoDbf(), "ARTICULOS");
    EXPECT_EQ(dbf.tabulix->Titulo, "ARTICULOS");
    EXPECT_EQ(dbf.tabulix->NombreHoja, "Datos");
    EXPECT_TRUE(dbf.tabulix->CabeceraMostrar);
    EXPECT_EQ(dbf.tabulix->Formulas().CuantasFormulas(), 0);
    EXPECT_EQ(dbf.tabulix->Datos()->RecordCount(), 18);
    EXPECT_EQ(errorOf([&] { DbfSource(folder / "no.dbf", ""); }),
              "the dBASE file \"" + (folder / "no.dbf").string() + "\" does not exist");

    const std::filesystem::path db = folder / "ventas.sqlite";
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(handle,
                           "CREATE TABLE ventas (articulo TEXT, importe REAL);"
                           "INSERT INTO ventas VALUES ('A1', 10.5), ('A2', 20.25), ('A3', NULL);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(handle);

    TransferSource query = SqliteSource(db, "SELECT articulo, importe FROM ventas WHERE importe IS NOT NULL", "");
    EXPECT_EQ(query.tabulix->Titulo, "");
    EXPECT_EQ(query.tabulix->Datos()->RecordCount(), 2);
    const std::string bad = errorOf([&] { SqliteSource(db, "SELECT nada FROM ningun_sitio", ""); });
    EXPECT_EQ(bad.rfind("cannot read the SQLite database \"" + db.string() + "\": ", 0), 0u) << bad;
}

class TransferRunTest : public TransferSourceTest {
protected:
    void SetUp() override {
        TransferSourceTest::SetUp();
        automation::shutDownRunningApplication();
        spreadsheet::installEmbeddedSpreadsheet();
    }
    void TearDown() override { automation::shutDownRunningApplication(); }
};

TEST_F(TransferRunTest, SavesTheNewWorkbookAndTracesEveryCall) {
    TransferSource source = DbfSource(DemoDbf(), "ARTICULOS");
    std::ostringstream trace, progress;
    ProgressBar bar(progress, 10);
    RunOptions options;
    options.trace = &trace;
    options.progress = &bar;
    const std::filesystem::path out = folder / "informe.xlsx";
    TransferAndSave(*source.tabulix, out, options);

    EXPECT_EQ(testing::ReadFile(out).substr(0, 2), "PK");
    // The save counts the sheet's rows (title, headings, records) on a line of its own.
    EXPECT_NE(progress.str().find("100% 18/18\n\rSaving rows: ["), std::string::npos) << progress.str();
    EXPECT_NE(progress.str().find("100% 20/20\n"), std::string::npos) << progress.str();
    EXPECT_FALSE(source.tabulix->OnProgreso);  // the run's callback does not outlive it

    const std::string calls = trace.str();
    EXPECT_NE(calls.find("Workbooks.Add"), std::string::npos);
    EXPECT_NE(calls.find("Range.Value put [Text(\"ARTICULOS\")]"), std::string::npos) << calls.substr(0, 2000);
    EXPECT_NE(calls.find("Workbook.SaveAs"), std::string::npos);

    auto app = spreadsheet::runningEmbeddedApplication();
    EXPECT_EQ(app->callJournal(), nullptr);  // tracing ends with the run
    auto book = app->workbooks().back();
    EXPECT_EQ(book->name(), "informe.xlsx");
    auto sheet = book->worksheets().front();
    EXPECT_EQ(sheet->name(), "Datos");
    EXPECT_EQ(sheet->value(spreadsheet::parseCellName("A2")).toText(), "COD_ARTI");
}

// A query read forward as the transfer walks it gives the very workbook that the same query with
// its rows kept in memory gives, and is left on the record it was on.
TEST_F(TransferRunTest, AQueryReadForwardGivesTheSameWorkbookAsRowsKeptInMemory) {
    const std::filesystem::path db = folder / "ventas.sqlite";
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(handle,
                           "CREATE TABLE ventas (articulo TEXT, importe REAL, fecha DATE, activo BOOLEAN, foto BLOB);"
                           "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 2500)"
                           " INSERT INTO ventas SELECT 'A' || i, CASE WHEN i % 7 THEN i * 1.25 END,"
                           " date('2024-01-01', '+' || (i % 300) || ' days'), i % 2, x'00ff' FROM c;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(handle);
    const std::string sql = "SELECT *, CASE WHEN importe > 100 THEN importe * 2 END AS doble FROM ventas";

    auto transfer = [&](bool keepRows, const std::string& subfolder) {
        TransferSource source = SqliteSource(db, sql, "VENTAS");
        auto& query = dynamic_cast<data::TSQLiteQuery&>(*source.tabulix->Datos());
        query.Close();
        query.SetKeepRowsInMemory(keepRows);
        query.Open();
        std::ostringstream progress;
        ProgressBar bar(progress, 10);
        RunOptions options;
        options.progress = &bar;
        std::filesystem::create_directories(folder / subfolder);
        TransferAndSave(*source.tabulix, folder / subfolder / "ventas.xlsx", options);
        // Read forward, the count would take running the query again: the bar shows the rows so far.
        EXPECT_NE(progress.str().find(keepRows ? "100% 2500/2500" : "Transferring records: 2500 ("), std::string::npos)
            << progress.str();
        EXPECT_EQ(query.RecNo(), 1);
        EXPECT_EQ(query.FieldByName("articulo")->AsString(), "A1");
        return testing::ReadFile(folder / subfolder / "ventas.xlsx");
    };
    const std::string forward = transfer(false, "forward");
    const std::string kept = transfer(true, "kept");
    EXPECT_GT(forward.size(), 10000u);
    EXPECT_TRUE(forward == kept) << "the workbooks differ";
}

TEST_F(TransferRunTest, FailuresWriteNothing) {
    TransferSource source = DbfSource(DemoDbf(), "");
    RunOptions quiet;
    const std::filesystem::path missingFolder = folder / "no" / "existe.xlsx";
    EXPECT_EQ(errorOf([&] { TransferAndSave(*source.tabulix, missingFolder, quiet); }),
              "cannot save \"" + missingFolder.string() + "\": the folder \"" + (folder / "no").string() +
                  "\" does not exist");
    std::filesystem::create_directories(folder / "carpeta.xlsx");
    EXPECT_EQ(errorOf([&] { TransferAndSave(*source.tabulix, folder / "carpeta.xlsx", quiet); }),
              "cannot save \"" + (folder / "carpeta.xlsx").string() + "\": it is a folder");

    source.tabulix->Datos()->Close();
    EXPECT_EQ(errorOf([&] { TransferAndSave(*source.tabulix, folder / "x.xlsx", quiet); }),
              "the transfer of component 'Tabulix' needs an open data set");

    // A transfer that fails in the middle (a second sheet name refused too) saves nothing and
    // leaves an older file of that name as it was.
    source.tabulix->Datos()->Open();
    source.tabulix->NombreHoja = "mal:nombre";
    const auto old = folder.Write("viejo.xlsx", "contenido anterior");
    const std::string failed = errorOf([&] { TransferAndSave(*source.tabulix, old, quiet); });
    EXPECT_EQ(failed.rfind("the transfer of component 'Tabulix' failed: ", 0), 0u) << failed;
    EXPECT_EQ(testing::ReadFile(old), "contenido anterior");
    EXPECT_EQ(testing::FilesIn(folder.path()), (std::vector<std::string>{"form/datos/Demo.DBF", "viejo.xlsx"}));
}

}  // namespace
}  // namespace tabulix::cli
