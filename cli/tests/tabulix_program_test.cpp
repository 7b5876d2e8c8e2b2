// The tabulix program as a user runs it: exit status, messages, and what is (or is not) written.

#include <gtest/gtest.h>

#include "cli/tests/cli_test_support.h"

namespace tabulix::cli {
namespace {

using testing::DemoDbf;
using testing::FilesIn;
using testing::ReadFile;
using testing::RunTabulix;
using testing::ScratchFolder;

bool isXlsx(const std::filesystem::path& file) { return ReadFile(file).substr(0, 2) == "PK"; }

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
    EXPECT_EQ(badOutput.err, "tabulix: the output Demo.DBF must be an .xlsx file\n");
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
    EXPECT_TRUE(isXlsx(folder / "Demo.xlsx"));

    const auto traced = RunTabulix({"--dbf", DemoDbf().string(), "-o", "traza", "--trace"}, folder.path());
    ASSERT_EQ(traced.exitCode, 0) << traced.err;
    EXPECT_TRUE(isXlsx(folder / "traza.xlsx"));
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
    EXPECT_TRUE(isXlsx(folder / "out.xlsx"));
}

}  // namespace
}  // namespace tabulix::cli
