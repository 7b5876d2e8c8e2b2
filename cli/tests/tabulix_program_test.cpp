// The tabulix program as a user runs it: exit status, messages, and what is (or is not) written.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include "cli/tests/cli_test_support.h"
#include "data/tests/dbf_fixture.h"

namespace tabulix::cli {
namespace {

using testing::DemoDbf;
using testing::FilesIn;
using testing::IsXlsx;
using testing::ReadFile;
using testing::RunTabulix;
using testing::ScratchFolder;

TEST(TabulixProgram, HelpAndUsageErrors) {
    ScratchFolder folder;
    const auto help = RunTabulix({"--help"}, folder.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("tabulix FORMFILE [-o OUT.xlsx] [--component NAME] [--application APP] [--trace]"), std::string::npos);

    const auto none = RunTabulix({}, folder.path());
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_NE(none.err.find("nothing to transfer"), std::string::npos) << none.err;
    EXPECT_NE(none.err.find("tabulix --help"), std::string::npos);

    const auto badOutput = RunTabulix({"--dbf", DemoDbf().string(), "-o", "Demo.DBF"}, folder.path());
    EXPECT_EQ(badOutput.exitCode, 2);
    EXPECT_EQ(badOutput.err, "tabulix: the output \"Demo.DBF\" must be an .xlsx file\n");
    EXPECT_TRUE(FilesIn(folder.path()).empty());
}

TEST(TabulixProgram, BadInputFailsWithAMessageAndWritesNothing) {
    ScratchFolder folder;
    const auto old = folder.Write("previo.xlsx", "no tocar");
    folder.Write("rota.form", "object F: TForm\n  object de: TTabulix\n    FilaInicial = 'x'\n");
    folder.Write("sintabla.form",
                 "object F: TForm1\n"
                 "  object Taula: TTable\n"
                 "    DatabaseName = '.'\n"
                 "    TableName = 'NoExiste.DBF'\n"
                 "  end\n"
                 "  object de: TTabulix\n    Datos = Taula\n  end\n"
                 "end\n");
    struct Case {
        std::vector<std::string> args;
        std::string message;  // a part of the message
    };
    const Case cases[] = {
        {{"falta.form", "-o", "previo.xlsx"}, "tabulix: the form file \"falta.form\" does not exist\n"},
        {{"rota.form", "-o", "previo.xlsx"}, "tabulix: rota.form:"},
        {{"sintabla.form", "-o", "previo.xlsx", "--component", "otro"},
         "has no TTabulix named 'otro'; its TTabulix components: de"},
        {{"sintabla.form", "-o", "previo.xlsx"}, "sintabla.form: cannot open the data set 'Taula' of component 'de'"},
        {{"--dbf", "nada.dbf", "-o", "previo.xlsx"}, "tabulix: the dBASE file \"nada.dbf\" does not exist\n"},
        {{"--dbf", DemoDbf().string(), "-o", "falta/carpeta/x.xlsx"}, "the folder \"falta/carpeta\" does not exist"},
    };
    for (const Case& c : cases) {
        const auto result = RunTabulix(c.args, folder.path());
        EXPECT_EQ(result.exitCode, 1) << c.args[0];
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(ReadFile(old), "no tocar");
    EXPECT_EQ(FilesIn(folder.path()), (std::vector<std::string>{"previo.xlsx", "rota.form", "sintabla.form"}));
}

TEST(TabulixProgram, TransfersADbfFileToTheDefaultOutputAndTracesOnRequest) {
    ScratchFolder folder;
    const auto run = RunTabulix({"--dbf", DemoDbf().string(), "--title", "ARTICULOS"}, folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Transferred 18 records to Demo.xlsx\n");
    EXPECT_EQ(run.err, "");  // not a terminal: no progress bar
    EXPECT_TRUE(IsXlsx(folder / "Demo.xlsx"));

    const auto traced = RunTabulix({"--dbf", DemoDbf().string(), "-o", "traza", "--trace"}, folder.path());
    ASSERT_EQ(traced.exitCode, 0) << traced.err;
    EXPECT_TRUE(IsXlsx(folder / "traza.xlsx"));
    EXPECT_NE(traced.err.find("Workbooks.Add"), std::string::npos);
    EXPECT_NE(traced.err.find("Range.Value put [Text(\"COD_ARTI\")]"), std::string::npos) << traced.err.substr(0, 1500);
    EXPECT_NE(traced.err.find("Workbook.SaveAs"), std::string::npos);
}

TEST(TabulixProgram, TransfersTheDemonstrationForm) {
    const auto form = testing::SourceDir() / "demo" / "DemoTabulix.form";
    if (!std::filesystem::exists(form)) GTEST_SKIP() << "no demonstration form file at " << form;
    ScratchFolder folder;
    const auto run = RunTabulix({form.string(), "-o", "out.xlsx"}, folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Transferred 18 records to out.xlsx\n");
    EXPECT_TRUE(IsXlsx(folder / "out.xlsx"));
}

// The workbook never replaces a file the run reads, whatever name or link leads to it.
TEST(TabulixProgram, RefusesAnOutputThatIsOneOfTheInputs) {
    ScratchFolder folder;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((folder / "db.xlsx").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE t(a); INSERT INTO t VALUES (1);", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const std::string database = ReadFile(folder / "db.xlsx");
    std::filesystem::copy_file(DemoDbf(), folder / "Demo.DBF");
    std::filesystem::create_symlink(folder / "Demo.DBF", folder / "enlace.xlsx");
    const auto form = folder.Write("informe.form",
                                   "object F: TForm1\n"
                                   "  object Taula: TTable\n    DatabaseName = '.'\n    TableName = 'Demo.DBF'\n"
                                   "    Active = True\n  end\n"
                                   "  object de: TTabulix\n    Datos = Taula\n  end\n"
                                   "end\n");
    std::filesystem::create_hard_link(form, folder / "copia.xlsx");
    const std::filesystem::path formLink = folder / "informe-enlace.xlsx";
    std::filesystem::create_symlink(form, formLink);

    const std::vector<std::vector<std::string>> runs = {
        {"--sqlite", "db.xlsx", "--sql", "SELECT a FROM t", "-o", "db.xlsx"},
        {"--sqlite", "db.xlsx", "--sql", "SELECT a FROM t", "-o", "./db"},
        {"--dbf", "Demo.DBF", "-o", "enlace.xlsx"},
        {"informe.form", "-o", "copia.xlsx"},
        {"informe.form", "-o", "informe-enlace.xlsx"},
        {"informe.form", "-o", "enlace.xlsx"},  // the form's table
    };
    for (const auto& args : runs) {
        const auto run = RunTabulix(args, folder.path());
        EXPECT_EQ(run.exitCode, 2) << args.back() << ": " << run.err;
        EXPECT_NE(run.err.find("is the same file as the input"), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadFile(folder / "db.xlsx"), database);
    EXPECT_EQ(ReadFile(folder / "Demo.DBF"), ReadFile(DemoDbf()));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "enlace.xlsx"));
    EXPECT_EQ(ReadFile(folder / "copia.xlsx").substr(0, 8), "object F");
}

TEST(TabulixProgram, ATooLongFileNameIsSaidToBeOne) {
    ScratchFolder folder;
    const auto run = RunTabulix({"--dbf", DemoDbf().string(), "-o", std::string(300, 'n') + ".xlsx"}, folder.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("the file name is too long"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("cannot be written"), std::string::npos) << run.err;
    EXPECT_LT(run.err.size(), 500u) << run.err;  // the name once, not the folder's listing or a dump
}

TEST(TabulixProgram, CodePageIsDetectedNamedAndTraced) {
    ScratchFolder folder;
    data::testing::DbfFixture utf8({{"NOMBRE", 'C', 12}}, 0x03, 0x00);
    utf8.add({"Fran\xC3\xA7" "ais"});
    utf8.write(folder / "utf8.dbf");

    const auto traced = RunTabulix({"--dbf", "utf8.dbf", "--trace"}, folder.path());
    ASSERT_EQ(traced.exitCode, 0) << traced.err;
    EXPECT_NE(traced.err.find("utf8.dbf\": code page 65001 (no code page declared; its texts are UTF-8)"),
              std::string::npos) << traced.err.substr(0, 500);
    EXPECT_NE(traced.err.find("Text(\"Fran\xC3\xA7" "ais\")"), std::string::npos);

    const auto named = RunTabulix({"--dbf", "utf8.dbf", "--code-page", "windows-1252", "--trace"}, folder.path());
    ASSERT_EQ(named.exitCode, 0) << named.err;
    EXPECT_NE(named.err.find("code page 1252 (as asked)"), std::string::npos) << named.err.substr(0, 500);
    EXPECT_NE(named.err.find("Text(\"Fran\xC3\x83\xC2\xA7" "ais\")"), std::string::npos);

    const auto unknown = RunTabulix({"--dbf", "utf8.dbf", "--code-page", "klingon"}, folder.path());
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("'klingon' names no code page"), std::string::npos) << unknown.err;
}

TEST(TabulixProgram, DbaseFilesThatWouldLoseDataSaySo) {
    ScratchFolder folder;
    data::testing::DbfFixture extra({{"NOMBRE", 'C', 8}});
    extra.add({"uno"}).add({"dos"});
    extra.recordCount = 1;
    extra.write(folder / "corta.dbf");
    const auto run = RunTabulix({"--dbf", "corta.dbf"}, folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Transferred 1 record to corta.xlsx\n");
    EXPECT_NE(run.err.find("tabulix: warning: Table"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("1 more after them"), std::string::npos) << run.err;

    data::testing::DbfFixture memo({{"NOTA", 'M', 10}}, 0x83);
    memo.add({"1"});
    memo.write(folder / "notas.dbf");
    const auto missing = RunTabulix({"--dbf", "notas.dbf"}, folder.path());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("notas.dbt is missing"), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "notas.xlsx"));
}

}  // namespace
}  // namespace tabulix::cli
