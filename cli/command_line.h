#pragma once
// The command line of `tabulix`: what to transfer (a form file, a dBASE file, a CSV file, an
// SQLite query, a PostgreSQL query or an ODBC query, or several form files, dBASE files or CSV
// files at once) and where to save the workbooks.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/finish_options.h"

namespace tabulix::cli {

enum class SourceKind { FormFile, DbfFile, SqliteQuery, CsvFile, PgQuery, OdbcQuery };

struct CommandLine {
    bool help = false;
    bool version = false;
    SourceKind source = SourceKind::FormFile;
    std::filesystem::path input;   // the form file, dBASE file, CSV file or SQLite database (the first one)
    std::vector<std::filesystem::path> inputs;  // every input file, in the order given (none for a server)
    std::filesystem::path outputDir;  // --output-dir; empty means the working folder
    int jobs = 0;                  // --jobs; 0 means one per core
    bool batch = false;            // several inputs, --output-dir or --jobs: each input to its own workbook
    std::string connection;        // --pg, --odbc: the connection string (it may hold a password)
    std::string sql;               // --sql, with --sqlite, --pg and --odbc
    std::string title;             // --title, with every source but a form file
    std::string delimiter;         // --delimiter, with --csv; empty means detected
    std::filesystem::path output;  // -o; empty means the default (see OutputPath)
    bool toStandardOutput = false; // -o -: the workbook goes to standard output
    std::string component;         // --component, with a form file; empty means the only one
    std::string application;       // --application: "embedded" or "calc"; empty means the default
    int codePage = 0;              // --code-page, with --dbf or --csv; 0: declared or detected
    bool keepRowsInMemory = false; // --keep-rows-in-memory, with --sqlite
    bool trace = false;
    bool quiet = false;   // --quiet: no progress and no closing line; warnings and errors still
    bool strict = false;  // --strict: a warning fails the run and nothing is written
    FinishOptions finish;          // the report's finish, over the form file's settings
};

// A command line that cannot be run; the message says which argument and why.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name. Raises UsageError.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The text --help prints.
std::string UsageText();

// Where the workbook made from `input` goes in `folder` (empty: the working folder): the input's
// stem with ".xlsx" ("datos/ventas.dbf" gives "FOLDER/ventas.xlsx"). Raises UsageError when the
// input names no file.
std::filesystem::path OutputPathIn(const std::filesystem::path& folder, const std::filesystem::path& input);

// Where the workbook goes: -o as given (".xlsx" added when it has no extension); -o naming an
// existing folder, OutputPathIn that folder (as --output-dir does); without -o, OutputPathIn the
// working folder. Raises UsageError for another extension, so that a
// mistyped -o never overwrites a data or form file, and for an existing file that is not a
// regular file (a device such as /dev/stdout, a pipe): -o - is the way to standard output.
std::filesystem::path OutputPath(const CommandLine& line);

// Where each input of a batch goes: its stem plus ".xlsx" in the output folder (the working
// folder when none is given). Raises UsageError when two inputs would write the same workbook.
std::vector<std::filesystem::path> BatchOutputPaths(const CommandLine& line);

}  // namespace tabulix::cli
