// What the tabulix program says and where its workbook goes: warnings for formula records that
// cannot be placed (and --strict, --quiet), standard output that fails or carries the workbook,
// and the output names a user can give (folders, devices, links, the longest legal name).

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/tests/cli_test_support.h"
#include "framework/version.h"

namespace tabulix::cli {
namespace {

using testing::DemoDbf;
using testing::FilesIn;
using testing::IsXlsx;
using testing::ReadFile;
using testing::RunShell;
using testing::RunTabulix;
using testing::ScratchFolder;
using testing::ShellQuote;
using testing::TabulixCommand;

// A form on a copy of the demonstration's table whose second and third formula records fail.
std::filesystem::path formWithBadRecords(const ScratchFolder& folder) {
    std::filesystem::copy_file(DemoDbf(), folder / "Demo.DBF");
    return folder.Write("informe.form",
                        "object F: TForm\n"
                        "  object Taula: TTable\n"
                        "    DatabaseName = '.'\n"
                        "    TableName = 'Demo.DBF'\n"
                        "  end\n"
                        "  object de: TTabulix\n"
                        "    Datos = Taula\n"
                        "    Formulas.Strings = (\n"
                        "      'VENTAS_ENE;0;C;1;Total:;0;2;'\n"
                        "      'VENTAS_MAR;4;E;2;Con IVA:;0;2;=SUM(#F01#*1.16'\n"
                        "      'NOEXISTE;0;D;1;;0;0;')\n"
                        "  end\n"
                        "end\n");
}

TEST(ProgramWarnings, EachFailedFormulaRecordWarnsAndStrictFailsWithoutWriting) {
    ScratchFolder folder;
    formWithBadRecords(folder);
    const auto run = RunTabulix({"informe.form"}, folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Transferred 18 records to informe.xlsx\n");
    EXPECT_NE(run.err.find("tabulix: warning: formula record 2 ('VENTAS_MAR;4;E;2;Con IVA:;0;2;=SUM(#F01#*1.16'), "
                           "cell E21: "),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("tabulix: warning: formula record 3 ('NOEXISTE;0;D;1;;0;0;'), cell D20: the data set "
                           "has no field 'NOEXISTE'\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
    EXPECT_TRUE(IsXlsx(folder / "informe.xlsx"));

    std::filesystem::remove(folder / "informe.xlsx");
    const auto strict = RunTabulix({"informe.form", "--strict"}, folder.path());
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_NE(strict.err.find("tabulix: 2 formula records could not be placed; nothing was saved (--strict)"),
              std::string::npos)
        << strict.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "informe.xlsx"));

    const auto quiet = RunTabulix({"informe.form", "--quiet"}, folder.path());
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(std::count(quiet.err.begin(), quiet.err.end(), '\n'), 2) << quiet.err;  // warnings stay
}

TEST(ProgramStandardOutput, AFailedWriteIsAnError) {
    ScratchFolder folder;
    const auto version = RunTabulix({"--version"}, folder.path());
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("tabulix ") + TABULIX_VERSION_STRING + "\n");

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"--version"}, {"--dbf", DemoDbf().string(), "-o", "x.xlsx"}}) {
        const auto full = RunShell(TabulixCommand(args) + " >/dev/full", folder.path());
        EXPECT_EQ(full.exitCode, 1) << args[0];
        EXPECT_EQ(full.err, "tabulix: cannot write to standard output: No space left on device\n") << args[0];
    }
}

TEST(ProgramStandardOutput, DashSendsAValidWorkbookDownAPipeAndLeavesNoTemporaryFile) {
    ScratchFolder folder;
    std::filesystem::create_directories(folder / "tmp");
    const auto run = RunShell("TMPDIR=tmp " + TabulixCommand({"--dbf", DemoDbf().string(), "-o", "-"}) +
                                  " | cat > piped.xlsx",
                              folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "Transferred 18 records to standard output\n");  // the pipe holds the workbook only
    EXPECT_TRUE(std::filesystem::is_empty(folder / "tmp"));
    const std::string validator = (testing::SourceDir() / "tools" / "ooxml" / "validate_xlsx.py").string();
    const std::string schemas = (testing::SourceDir() / "tools" / "ooxml" / "xsd").string();
    const int valid = std::system(("/usr/bin/python3 " + ShellQuote(validator) + " " + ShellQuote(schemas) + " " +
                                   ShellQuote((folder / "piped.xlsx").string()) + " >/dev/null")
                                      .c_str());
    EXPECT_EQ(valid, 0) << "the piped workbook does not validate";
}

TEST(ProgramStandardOutput, DashIsRefusedOnATerminal) {
    ScratchFolder folder;
    int terminal = -1;
    const std::string err = (folder / "err.txt").string();
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(errFd, STDERR_FILENO);
        ::chdir(folder.path().c_str());
        ::execl(TABULIX_CLI_BINARY, "tabulix", "--dbf", DemoDbf().c_str(), "-o", "-", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    char drain[256];
    while (::read(terminal, drain, sizeof drain) > 0) {
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(terminal);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_NE(ReadFile(err).find("standard output, which is a terminal here"), std::string::npos) << ReadFile(err);
    EXPECT_EQ(FilesIn(folder.path()), std::vector<std::string>{"err.txt"});
}

TEST(ProgramOutputNames, FoldersDevicesLinksAndTheLongestName) {
    ScratchFolder folder;
    std::filesystem::create_directories(folder / "informes");
    const auto intoFolder = RunTabulix({"--dbf", DemoDbf().string(), "-o", "informes"}, folder.path());
    ASSERT_EQ(intoFolder.exitCode, 0) << intoFolder.err;
    EXPECT_EQ(intoFolder.out, "Transferred 18 records to informes/Demo.xlsx\n");
    EXPECT_TRUE(IsXlsx(folder / "informes" / "Demo.xlsx"));

    // Standard output a pipe, as /dev/stdout then is.
    for (const char* device : {"/dev/null", "/dev/stdout"}) {
        const auto refused = RunShell(
            "{ " + TabulixCommand({"--dbf", DemoDbf().string(), "-o", device}) + "; echo $? >status; } | cat",
            folder.path());
        EXPECT_EQ(ReadFile(folder / "status"), "2\n") << device;
        EXPECT_NE(refused.err.find("is not a regular file"), std::string::npos) << refused.err;
    }
    std::filesystem::remove(folder / "status");

    folder.Write("real/anterior.xlsx", "old");
    std::filesystem::create_symlink("real/anterior.xlsx", folder / "enlace.xlsx");
    const auto linked = RunTabulix({"--dbf", DemoDbf().string(), "-o", "enlace.xlsx"}, folder.path());
    ASSERT_EQ(linked.exitCode, 0) << linked.err;
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "enlace.xlsx"));
    EXPECT_TRUE(IsXlsx(folder / "real" / "anterior.xlsx"));
    EXPECT_EQ(FilesIn(folder / "real"), std::vector<std::string>{"anterior.xlsx"});

    const std::string longest = std::string(250, 'n') + ".xlsx";
    const auto named = RunTabulix({"--dbf", DemoDbf().string(), "-o", longest}, folder.path());
    ASSERT_EQ(named.exitCode, 0) << named.err;
    EXPECT_TRUE(IsXlsx(folder / longest));
}

}  // namespace
}  // namespace tabulix::cli
