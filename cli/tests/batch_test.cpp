// The batch run of the tabulix program: several inputs, each into a workbook of its own, several
// at once; a failed input does not stop the others and the exit status says so.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "cli/batch_progress.h"
#include "cli/tests/cli_test_support.h"

namespace tabulix::cli {
namespace {

using testing::DemoDbf;
using testing::FilesIn;
using testing::ReadFile;
using testing::RunTabulix;
using testing::ScratchFolder;

// A form file in folder `name`/ whose table, `name`.DBF beside it, is found through a database
// whose path is relative to the form file's folder (each job reads its form with its own folder).
void writeRegion(const ScratchFolder& folder, const std::string& name) {
    std::filesystem::create_directories(folder / name);
    std::filesystem::copy_file(DemoDbf(), folder / name / (name + ".DBF"));
    folder.Write(name + "/" + name + ".form",
                 "object F: TForm1\n"
                 "  object DB: TDatabase\n    DatabaseName = 'DB'\n    DriverName = 'STANDARD'\n"
                 "    Params.Strings = (\n      'PATH=.')\n  end\n"
                 "  object Taula: TTable\n    DatabaseName = 'DB'\n    TableName = '" + name + ".DBF'\n  end\n"
                 "  object de: TTabulix\n    Datos = Taula\n    Titulo = '" + name + "'\n  end\n"
                 "end\n");
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(Batch, EachFormToItsOwnWorkbookAndAFailedOneStopsNoOther) {
    ScratchFolder folder;
    const std::vector<std::string> regions = {"norte", "sur", "este", "oeste"};
    for (const std::string& region : regions) writeRegion(folder, region);
    folder.Write("rota.form", "object F: TForm\n  object de: TTabulix\n    FilaInicial = 'x'\n");

    const auto run = RunTabulix({"norte/norte.form", "rota.form", "sur/sur.form", "este/este.form", "oeste/oeste.form",
                                 "--output-dir", "salida", "--jobs", "3"},
                                folder.path());
    EXPECT_EQ(run.exitCode, 1) << run.err;
    // Every good input is told once, in the order they ended, counted out of five.
    std::vector<std::string> told = linesOf(run.out);
    ASSERT_EQ(told.size(), 4u) << run.out;
    for (std::string& line : told) {
        EXPECT_EQ(line.substr(0, 1), "[") << line;
        line = line.substr(line.find("] ") + 2);
    }
    std::sort(told.begin(), told.end());
    EXPECT_EQ(told, (std::vector<std::string>{"Transferred 18 records from este/este.form to salida/este.xlsx",
                                              "Transferred 18 records from norte/norte.form to salida/norte.xlsx",
                                              "Transferred 18 records from oeste/oeste.form to salida/oeste.xlsx",
                                              "Transferred 18 records from sur/sur.form to salida/sur.xlsx"}));
    EXPECT_NE(run.err.find("] rota.form: rota.form:"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("tabulix: 1 of 5 inputs failed\n"), std::string::npos) << run.err;

    std::vector<std::string> written;
    for (const std::string& file : FilesIn(folder / "salida")) written.push_back(file);
    EXPECT_EQ(written, (std::vector<std::string>{"este.xlsx", "norte.xlsx", "oeste.xlsx", "sur.xlsx"}));
    // Each is the workbook a run of its own makes.
    for (const std::string& region : {std::string("norte"), std::string("oeste")}) {
        const auto single = RunTabulix({region + "/" + region + ".form", "-o", region + "-solo.xlsx"}, folder.path());
        ASSERT_EQ(single.exitCode, 0) << single.err;
        EXPECT_TRUE(ReadFile(folder / "salida" / (region + ".xlsx")) == ReadFile(folder / (region + "-solo.xlsx")))
            << region;
    }
}

TEST(Batch, SeveralTablesInOneRunMakeTheFolderAndSucceedQuietly) {
    ScratchFolder folder;
    std::filesystem::copy_file(DemoDbf(), folder / "enero.dbf");
    std::filesystem::copy_file(DemoDbf(), folder / "febrero.dbf");
    const auto run = RunTabulix({"--dbf", "enero.dbf", "--dbf", "febrero.dbf", "--title", "VENTAS", "--output-dir",
                                 "informes/2024"},
                                folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(linesOf(run.out).size(), 2u);
    EXPECT_EQ(ReadFile(folder / "informes/2024/enero.xlsx").substr(0, 2), "PK");
    EXPECT_EQ(ReadFile(folder / "informes/2024/febrero.xlsx").substr(0, 2), "PK");

    // Clashing names are refused before anything runs.
    const auto clash = RunTabulix({"--dbf", "enero.dbf", "--dbf", "./enero.dbf", "--output-dir", "otra"}, folder.path());
    EXPECT_EQ(clash.exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(folder / "otra"));
}

TEST(BatchProgress, TellsEachInputAndDrawsTheRunningOnesOnOneLine) {
    std::ostringstream out, err;
    BatchProgress progress(out, err, 3, true, true);
    progress.Started(0, "a.form");
    progress.Started(1, "b.form");
    progress.Advanced(0, 500, 1000);
    progress.Advanced(1, 1200, -1);
    EXPECT_EQ(err.str().substr(err.str().rfind('\r') + 1), "[0/3] a.form 50% b.form 1200");
    progress.Failed(1, "it broke");
    progress.Succeeded(0, "done a");
    EXPECT_EQ(out.str(), "[2/3] done a\n");
    EXPECT_NE(err.str().find("tabulix: [1/3] b.form: it broke\n"), std::string::npos);
    EXPECT_EQ(progress.failures(), 1u);

    std::map<std::size_t, BatchProgress::Running> many;
    for (std::size_t i = 0; i < 20; ++i) many[i] = {"informe" + std::to_string(i) + ".form", 1, 10};
    const std::string cut = BatchProgress::StatusLine(3, 50, many, 40);
    EXPECT_EQ(cut.size(), 40u);
    EXPECT_EQ(cut.substr(37), "...");
}

}  // namespace
}  // namespace tabulix::cli
