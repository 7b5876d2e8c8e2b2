#pragma once
// What a run of `tabulix` transfers: a data set and the TTabulix component whose settings lay it
// out, read from a form file or made with the component's default settings for a dBASE file, a
// CSV file, an SQLite, PostgreSQL or ODBC query. Every loader returns the component with its data
// set open, or raises SourceError saying what is wrong and where.

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "cli/command_line.h"
#include "framework/component.h"

namespace tabulix::component {
class TTabulix;
}

namespace tabulix::cli {

class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TransferSource {
    std::unique_ptr<framework::TComponent> root;  // owns the data set and the component
    component::TTabulix* tabulix = nullptr;       // owned by root
};

// Registers every class a form file may name (framework, data sets and fields, TTabulix).
// Call once before loading; calling again does no harm. Then any thread may load sources, several
// at once: each thread's sources, and the applications they connect to, are its own.
void RegisterProgramClasses();

// Reads a form file and returns its TTabulix named `componentName` (letter case ignored), or its
// only TTabulix when the name is empty. A root class the program does not know (a form's own
// class such as TForm1) is read as a TForm. Relative database paths and query files are read
// from the form file's folder.
TransferSource LoadFormSource(const std::filesystem::path& formFile, const std::string& componentName);

// A dBASE table, transferred with the default settings (sheet "Datos", a heading row) and the
// title given (none when empty), its texts read in `codePage` (0: as the table declares).
TransferSource DbfSource(const std::filesystem::path& file, const std::string& title, int codePage = 0);

// A CSV file, with the default settings; `delimiter` and `codePage` as given (empty and 0:
// detected).
TransferSource CsvSource(const std::filesystem::path& file, const std::string& delimiter, int codePage,
                         const std::string& title);

// The rows of an SQL query on a PostgreSQL server, with the default settings. `connection` is a
// libpq connection string; a password in it is used and never shown.
TransferSource PgSource(const std::string& connection, const std::string& sql, const std::string& title);

// The rows of an SQL query through ODBC, with the default settings. `connection` is an ODBC
// connection string; a password in it (PWD=) is used and never shown.
TransferSource OdbcSource(const std::string& connection, const std::string& sql, const std::string& title);

// The rows of an SQL query on an SQLite database, with the default settings; see TSQLiteQuery for
// `keepRowsInMemory`.
TransferSource SqliteSource(const std::filesystem::path& file, const std::string& sql, const std::string& title,
                            bool keepRowsInMemory = false);

// The source a command line names (its first input).
TransferSource LoadSource(const CommandLine& line);

}  // namespace tabulix::cli
