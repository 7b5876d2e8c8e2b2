#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "cli/application_choice.h"
#include "cli/command_line.h"
#include "cli/progress_bar.h"
#include "cli/tests/cli_test_support.h"

namespace tabulix::cli {
namespace {

using testing::UsageErrorOf;

CommandLine parse(std::vector<std::string> args) { return ParseCommandLine(args); }

TEST(CommandLine, ReadsTheThreeKindsOfSource) {
    const CommandLine form = parse({"demo/DemoTabulix.form", "-o", "out/x.xlsx", "--component", "de", "--trace"});
    EXPECT_EQ(form.source, SourceKind::FormFile);
    EXPECT_EQ(form.input, "demo/DemoTabulix.form");
    EXPECT_EQ(form.output, "out/x.xlsx");
    EXPECT_EQ(form.component, "de");
    EXPECT_TRUE(form.trace);

    const CommandLine dbf = parse({"--dbf=Demo.DBF", "--title", "VENTAS", "--output=a.xlsx"});
    EXPECT_EQ(dbf.source, SourceKind::DbfFile);
    EXPECT_EQ(dbf.input, "Demo.DBF");
    EXPECT_EQ(dbf.title, "VENTAS");
    EXPECT_EQ(dbf.output, "a.xlsx");
    EXPECT_FALSE(dbf.trace);

    const CommandLine query = parse({"--sql", "SELECT * FROM t WHERE a = '-o'", "--sqlite", "v.sqlite"});
    EXPECT_EQ(query.source, SourceKind::SqliteQuery);
    EXPECT_EQ(query.input, "v.sqlite");
    EXPECT_EQ(query.sql, "SELECT * FROM t WHERE a = '-o'");

    // After "--" a name that looks like an option is a form file.
    EXPECT_EQ(parse({"--", "-raro.form"}).input, "-raro.form");
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(parse({"-h"}).help);
    EXPECT_TRUE(parse({"--version"}).version);

    const CommandLine flags = parse({"a.form", "-q", "--strict", "-o", "-"});
    EXPECT_TRUE(flags.quiet);
    EXPECT_TRUE(flags.strict);
    EXPECT_TRUE(flags.toStandardOutput);
    EXPECT_EQ(flags.output, "");
    EXPECT_FALSE(parse({"a.form", "-o", "./-"}).toStandardOutput);
}

TEST(CommandLine, RefusesLinesThatCannotRun) {
    EXPECT_EQ(UsageErrorOf({}), "nothing to transfer: give a form file, --dbf FILE, --csv FILE, or --sqlite FILE, --pg "
                                "CONNECTION or --odbc CONNECTION with --sql QUERY");
    EXPECT_EQ(UsageErrorOf({"a.form", "--dbf", "x.dbf"}),
              "give form files, --dbf tables, --csv files, --sqlite, --pg or --odbc, not a mix of them");
    EXPECT_EQ(UsageErrorOf({"--sqlite", "v.sqlite"}), "--sqlite needs the query to run: --sql \"SELECT ...\"");
    EXPECT_EQ(UsageErrorOf({"a.form", "--sql", "SELECT 1"}), "--sql goes with --sqlite, --pg or --odbc");
    EXPECT_EQ(UsageErrorOf({"--dbf", "x.dbf", "--keep-rows-in-memory"}),
              "--keep-rows-in-memory goes with --sqlite; a form file sets KeepRowsInMemory on its query");
    EXPECT_TRUE(parse({"--sqlite", "v.sqlite", "--sql", "SELECT 1", "--keep-rows-in-memory"}).keepRowsInMemory);
    EXPECT_EQ(UsageErrorOf({"a.form", "--title", "T"}),
              "--title goes with --dbf, --csv, --sqlite, --pg or --odbc; a form file holds its own title");
    EXPECT_EQ(UsageErrorOf({"--dbf", "x.dbf", "--component", "de"}), "--component goes with a form file");
    EXPECT_EQ(UsageErrorOf({"a.form", "-o"}), "option -o needs a value");
    EXPECT_EQ(UsageErrorOf({"a.form", "-o", "x.xlsx", "-o", "y.xlsx"}), "option -o is given twice");
    EXPECT_EQ(UsageErrorOf({"a.form", "--output="}), "option --output needs a value");
    EXPECT_EQ(UsageErrorOf({"a.form", "--trace=yes"}), "option --trace takes no value");
    EXPECT_EQ(UsageErrorOf({"a.form", "--verbose"}), "unknown option --verbose");
    EXPECT_EQ(UsageErrorOf({"a.form", "-x"}), "unknown option -x");
    EXPECT_EQ(UsageErrorOf({"a.form", "--\x1B]0;x\x07"}), "unknown option --\\x1B]0;x\\x07");
    EXPECT_EQ(UsageErrorOf({"x.form", "-h", "--nonsense"}), "unknown option --nonsense");
    EXPECT_EQ(UsageErrorOf({""}), "a form file name is empty");
    EXPECT_EQ(UsageErrorOf({"--dbf", "x.dbf", "--code-page", "klingon"}), "--code-page: 'klingon' names no code page");
    EXPECT_EQ(UsageErrorOf({"a.form", "--code-page", "850"}),
              "--code-page goes with --dbf or --csv; a form file gives its table's CodePage itself");
}

TEST(CommandLine, ReadsACsvFileWithItsDelimiterAndCodePage) {
    const CommandLine line = parse({"--csv", "ventas.csv", "--delimiter", ";", "--code-page", "1252", "--title", "T"});
    EXPECT_EQ(line.source, SourceKind::CsvFile);
    EXPECT_EQ(line.input, "ventas.csv");
    EXPECT_EQ(line.delimiter, ";");
    EXPECT_EQ(line.codePage, 1252);
    EXPECT_EQ(parse({"--csv", "v.csv", "--delimiter=tab"}).delimiter, "\t");
    EXPECT_EQ(parse({"--csv", "v.csv"}).delimiter, "");
    EXPECT_EQ(UsageErrorOf({"--csv", "v.csv", "--delimiter", ";;"}), "--delimiter takes one character (or tab), not ';;'");
    EXPECT_EQ(UsageErrorOf({"a.form", "--delimiter", ";"}),
              "--delimiter goes with --csv; a form file gives its table's Delimiter itself");
    EXPECT_EQ(UsageErrorOf({"--csv", "v.csv", "--dbf", "x.dbf"}),
              "give form files, --dbf tables, --csv files, --sqlite, --pg or --odbc, not a mix of them");
}

// A query names no file, so the workbook's name must be given; the connection text is kept apart
// from the input (it may hold a password and is never used as a file name).
TEST(CommandLine, ReadsServerQueriesThatNeedTheirSqlAndOutput) {
    const CommandLine pg = parse({"--pg", "host=h dbname=d password=s", "--sql", "SELECT 1", "-o", "r.xlsx"});
    EXPECT_EQ(pg.source, SourceKind::PgQuery);
    EXPECT_EQ(pg.connection, "host=h dbname=d password=s");
    EXPECT_TRUE(pg.input.empty());
    const CommandLine odbc = parse({"--odbc=DSN=ventas;PWD=s", "--sql", "SELECT 1", "-o", "r.xlsx", "--title", "T"});
    EXPECT_EQ(odbc.source, SourceKind::OdbcQuery);
    EXPECT_EQ(odbc.connection, "DSN=ventas;PWD=s");
    EXPECT_EQ(UsageErrorOf({"--pg", "dbname=d", "-o", "r.xlsx"}), "--pg needs the query to run: --sql \"SELECT ...\"");
    EXPECT_EQ(UsageErrorOf({"--odbc", "DSN=v", "--sql", "SELECT 1"}), "--odbc needs the workbook to write: -o OUT.xlsx");
    EXPECT_EQ(UsageErrorOf({"--pg", "dbname=d", "--odbc", "DSN=v", "--sql", "SELECT 1", "-o", "r.xlsx"}),
              "give form files, --dbf tables, --csv files, --sqlite, --pg or --odbc, not a mix of them");
    EXPECT_EQ(UsageErrorOf({"--pg", "dbname=d", "--sql", "SELECT 1", "-o", "r.xlsx", "--code-page", "1252"}),
              "--code-page goes with --dbf or --csv; a form file gives its table's CodePage itself");
    const CommandLine intoFolder =
        parse({"--pg", "dbname=d", "--sql", "SELECT 1", "-o", std::filesystem::temp_directory_path().string()});
    EXPECT_THROW(OutputPath(intoFolder), UsageError);
}

TEST(CommandLine, SeveralInputsOrAnOutputFolderMakeABatchOfOneWorkbookEach) {
    const CommandLine forms = parse({"a.form", "sub/b.form", "--output-dir", "out", "--jobs", "3"});
    EXPECT_TRUE(forms.batch);
    EXPECT_EQ(forms.inputs, (std::vector<std::filesystem::path>{"a.form", "sub/b.form"}));
    EXPECT_EQ(forms.jobs, 3);
    EXPECT_EQ(BatchOutputPaths(forms), (std::vector<std::filesystem::path>{"out/a.xlsx", "out/b.xlsx"}));

    const CommandLine tables = parse({"--dbf", "norte.dbf", "--dbf=sur.DBF", "--title", "VENTAS"});
    EXPECT_TRUE(tables.batch);
    EXPECT_EQ(tables.source, SourceKind::DbfFile);
    EXPECT_EQ(tables.jobs, 0);  // one per core
    EXPECT_EQ(BatchOutputPaths(tables), (std::vector<std::filesystem::path>{"norte.xlsx", "sur.xlsx"}));

    const CommandLine csvs = parse({"--csv", "enero.csv", "--csv", "febrero.csv", "--delimiter", ";"});
    EXPECT_TRUE(csvs.batch);
    EXPECT_EQ(csvs.source, SourceKind::CsvFile);
    EXPECT_EQ(BatchOutputPaths(csvs), (std::vector<std::filesystem::path>{"enero.xlsx", "febrero.xlsx"}));

    EXPECT_TRUE(parse({"a.form", "-j", "1"}).batch);
    EXPECT_FALSE(parse({"a.form"}).batch);

    EXPECT_EQ(UsageErrorOf({"a.form", "b.form", "-o", "x.xlsx"}),
              "-o names one workbook: with several inputs give --output-dir");
    EXPECT_EQ(UsageErrorOf({"a.form", "--output-dir", "out", "-o", "x.xlsx"}),
              "-o names the workbook itself: give it or --output-dir, not both");
    EXPECT_EQ(UsageErrorOf({"a.form", "b.form", "--trace"}),
              "--trace goes with a single input, without --output-dir or --jobs");
    for (const char* jobs : {"0", "-2", "x", "2x", "257", ""})
        EXPECT_NE(UsageErrorOf({"a.form", "b.form", "--jobs", jobs}).find("--jobs"), std::string::npos) << jobs;
    EXPECT_EQ(UsageErrorOf({"--dbf", "x.dbf", "--dbf", ""}), "option --dbf needs a value");
    EXPECT_EQ(UsageErrorOf({"--pg", "dbname=d", "--sql", "SELECT 1", "-o", "r.xlsx", "--jobs", "2"}),
              "--output-dir and --jobs go with files, not with --pg or --odbc");
    // Two inputs of one name would write one workbook over the other.
    try {
        BatchOutputPaths(parse({"norte/ventas.form", "sur/ventas.form"}));
        ADD_FAILURE() << "clashing outputs accepted";
    } catch (const UsageError& e) {
        EXPECT_STREQ(e.what(), "the inputs \"norte/ventas.form\" and \"sur/ventas.form\" would both be saved as "
                               "ventas.xlsx: give them different names");
    }
}

TEST(CommandLine, ChoosesTheSpreadsheetApplication) {
    EXPECT_EQ(parse({"a.form"}).application, "");
    EXPECT_EQ(parse({"a.form", "--application", "Calc"}).application, "calc");
    EXPECT_EQ(parse({"a.form", "--application=embedded"}).application, "embedded");
    EXPECT_EQ(UsageErrorOf({"a.form", "--application", "excel"}),
              "option --application takes embedded or calc, not excel");
    EXPECT_EQ(UsageErrorOf({"a.form", "--application", "calc", "--application", "calc"}),
              "option --application is given twice");

    EXPECT_EQ(ChooseApplication("embedded"), ApplicationKind::Embedded);
    setenv("TABULIX_APPLICATION", "excel", 1);
    EXPECT_THROW(ChooseApplication(""), UsageError);
    EXPECT_EQ(ChooseApplication("embedded"), ApplicationKind::Embedded);  // the option wins
    setenv("TABULIX_APPLICATION", "", 1);
    EXPECT_EQ(ChooseApplication(""), ApplicationKind::Embedded);
    unsetenv("TABULIX_APPLICATION");
}

TEST(CommandLine, OutputDefaultsToTheInputStemInTheWorkingFolderAndMustBeXlsx) {
    CommandLine line = parse({"demo/DemoTabulix.form"});
    EXPECT_EQ(OutputPath(line), "DemoTabulix.xlsx");
    line = parse({"--dbf", "/data/Ventas.DBF"});
    EXPECT_EQ(OutputPath(line), "Ventas.xlsx");
    line = parse({"datos/"});  // no name to take: not a hidden ".xlsx"
    EXPECT_THROW(OutputPath(line), UsageError);

    line = parse({"a.form", "-o", "out/informe"});
    EXPECT_EQ(OutputPath(line), "out/informe.xlsx");
    line = parse({"a.form", "-o", "out/INFORME.XLSX"});
    EXPECT_EQ(OutputPath(line), "out/INFORME.XLSX");

    // A mistyped -o must never replace the data or the form file.
    for (const char* bad : {"Demo.DBF", "a.form", "v.sqlite", "out/x.xls"}) {
        line = parse({"a.form", "-o", bad});
        EXPECT_THROW(OutputPath(line), UsageError) << bad;
    }
    line = parse({"a.form", "-o", "out/"});
    EXPECT_THROW(OutputPath(line), UsageError);
}

TEST(CommandLine, AnExistingFolderReceivesTheInputsNameAndDevicesAreRefused) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    CommandLine line = parse({"--dbf", "/data/Ventas.DBF", "-o", folder.string()});
    EXPECT_EQ(OutputPath(line), folder / "Ventas.xlsx");
    EXPECT_EQ(OutputPathIn(folder, "informes/Mayo.form"), folder / "Mayo.xlsx");

    for (const char* device : {"/dev/null", "/dev/full"}) {
        line = parse({"a.form", "-o", device});
        try {
            OutputPath(line);
            ADD_FAILURE() << device << " was accepted";
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find("is not a regular file"), std::string::npos) << e.what();
        }
    }
}

TEST(ProgressBar, DrawsOnlyLongTransfersAndEndsItsLine) {
    EXPECT_EQ(ProgressBar::Line(250, 1000, 10), "Transferring records: [##        ]  25% 250/1000");
    EXPECT_EQ(ProgressBar::Line(1000, 1000, 10), "Transferring records: [##########] 100% 1000/1000");
    EXPECT_EQ(ProgressBar::Line(1500, 1000, 4), "Transferring records: [####] 100% 1500/1000");
    EXPECT_EQ(ProgressBar::Line(7000, -1, 10), "Transferring records: 7000");
    EXPECT_EQ(ProgressBar::Line(7000, -1, 10, "Transferring records", 3499.6),
              "Transferring records: 7000 (3500 a second)");

    std::ostringstream quiet;
    {
        ProgressBar bar(quiet, 5000);
        bar.Update(1000, 3000);
        bar.Update(3000, 3000);
    }
    EXPECT_EQ(quiet.str(), "");

    std::ostringstream out;
    {
        ProgressBar bar(out, 1000, 4);
        bar.Update(500, 4000);   // below the threshold: nothing
        bar.Update(1000, 4000);
        bar.Update(1000, 4000);  // the same line is not redrawn
        bar.Update(4000, 4000);
    }  // the destructor ends the line
    EXPECT_EQ(out.str(),
              "\rTransferring records: [#   ]  25% 1000/4000"
              "\rTransferring records: [####] 100% 4000/4000\n");

    // A shorter line is padded so nothing of the longer one stays visible; without a total the
    // line gives the count and the rate.
    std::ostringstream unknown;
    ProgressBar bar(unknown, 0, 4);
    bar.Update(100000, 200000);
    bar.Update(10, 20);
    bar.Update(10000, -1);
    bar.Finish();
    bar.Finish();
    EXPECT_TRUE(unknown.str().starts_with("\rTransferring records: [##  ]  50% 100000/200000"
                                          "\rTransferring records: [##  ]  50% 10/20        "
                                          "\rTransferring records: 10000 ("))
        << unknown.str();
    EXPECT_TRUE(unknown.str().ends_with(" a second)\n")) << unknown.str();

    // Notes follow a bar that was shown, on a line of their own; a quiet run stays quiet.
    bar.Note("Saving x.xlsx");
    EXPECT_EQ(unknown.str().substr(unknown.str().size() - 14), "Saving x.xlsx\n");
    // The save counts on a line of its own.
    bar.Begin("Saving rows");
    bar.Update(5, 10);
    bar.Finish();
    EXPECT_EQ(unknown.str().substr(unknown.str().size() - 31), "\rSaving rows: [##  ]  50% 5/10\n");
    std::ostringstream quietRun;
    ProgressBar none(quietRun, 100);
    none.Update(10, 10);
    none.Note("Saving y.xlsx");
    EXPECT_EQ(quietRun.str(), "");
}

}  // namespace
}  // namespace tabulix::cli
