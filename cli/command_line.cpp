#include "cli/command_line.h"

#include <cctype>
#include <charconv>
#include <map>
#include <optional>

#include "data/code_page.h"
#include "framework/printable.h"

namespace tabulix::cli {

namespace {

std::string lowerAscii(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& args) : args_(args) {}

    bool done() const { return next_ >= args_.size(); }
    const std::string& take() { return args_[next_++]; }

    // The value of `option`: the text after "=" in "--option=value", else the next argument.
    std::string valueOf(const std::string& option, const std::string* inlineValue) {
        if (inlineValue) return *inlineValue;
        if (done()) throw UsageError("option " + option + " needs a value");
        return take();
    }

private:
    const std::vector<std::string>& args_;
    std::size_t next_ = 0;
};

// More would only share the same cores; a typo such as 1000 is refused rather than obeyed.
constexpr int kMaxJobs = 256;

// Digits only, nothing else.
std::optional<int> wholeNumber(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || text[0] == '-') return std::nullopt;
    return value;
}

// Stores an option's value, refusing a second occurrence and an empty value.
void setOnce(std::string& target, bool& seen, const std::string& option, std::string value) {
    if (seen) throw UsageError("option " + option + " is given twice");
    if (value.empty()) throw UsageError("option " + option + " needs a value");
    seen = true;
    target = std::move(value);
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    ArgumentReader reader(args);
    std::string output, delimiter, sqlite, pg, odbc, sql, title, component, codePage, application, outputDir, jobs;
    bool hasOutput = false, hasDelimiter = false, hasSqlite = false, hasPg = false, hasOdbc = false, hasSql = false,
         hasTitle = false, hasComponent = false, hasCodePage = false, hasApplication = false, hasOutputDir = false,
         hasJobs = false, optionsEnded = false;
    std::vector<std::string> positional, dbfs, csvs;

    while (!reader.done()) {
        const std::string& arg = reader.take();
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::string inlineText;
        const std::string* inlineValue = nullptr;
        if (arg.starts_with("--")) {
            if (const auto eq = arg.find('='); eq != std::string::npos) {
                name = arg.substr(0, eq);
                inlineText = arg.substr(eq + 1);
                inlineValue = &inlineText;
            }
        }
        auto flagOnly = [&] {
            if (inlineValue) throw UsageError("option " + name + " takes no value");
        };
        if (name == "-h" || name == "--help") {
            flagOnly();
            line.help = true;
        } else if (name == "--version") {
            flagOnly();
            line.version = true;
        } else if (name == "--trace") {
            flagOnly();
            line.trace = true;
        } else if (name == "--keep-rows-in-memory") {
            flagOnly();
            line.keepRowsInMemory = true;
        } else if (name == "-q" || name == "--quiet") {
            flagOnly();
            line.quiet = true;
        } else if (name == "--strict") {
            flagOnly();
            line.strict = true;
        } else if (name == "-o" || name == "--output") {
            setOnce(output, hasOutput, name, reader.valueOf(name, inlineValue));
        } else if (name == "--component") {
            setOnce(component, hasComponent, name, reader.valueOf(name, inlineValue));
        } else if (name == "--dbf") {
            std::string file = reader.valueOf(name, inlineValue);
            if (file.empty()) throw UsageError("option --dbf needs a value");
            dbfs.push_back(std::move(file));
        } else if (name == "--csv") {
            std::string file = reader.valueOf(name, inlineValue);
            if (file.empty()) throw UsageError("option --csv needs a value");
            csvs.push_back(std::move(file));
        } else if (name == "--delimiter") {
            setOnce(delimiter, hasDelimiter, name, reader.valueOf(name, inlineValue));
        } else if (name == "--output-dir") {
            setOnce(outputDir, hasOutputDir, name, reader.valueOf(name, inlineValue));
        } else if (name == "--jobs" || name == "-j") {
            setOnce(jobs, hasJobs, name, reader.valueOf(name, inlineValue));
        } else if (name == "--sqlite") {
            setOnce(sqlite, hasSqlite, name, reader.valueOf(name, inlineValue));
        } else if (name == "--pg") {
            setOnce(pg, hasPg, name, reader.valueOf(name, inlineValue));
        } else if (name == "--odbc") {
            setOnce(odbc, hasOdbc, name, reader.valueOf(name, inlineValue));
        } else if (name == "--sql") {
            setOnce(sql, hasSql, name, reader.valueOf(name, inlineValue));
        } else if (name == "--application") {
            setOnce(application, hasApplication, name, lowerAscii(reader.valueOf(name, inlineValue)));
            if (application != "embedded" && application != "calc")
                throw UsageError("option --application takes embedded or calc, not " +
                                 framework::printable(application));
        } else if (name == "--title") {
            setOnce(title, hasTitle, name, reader.valueOf(name, inlineValue));
        } else if (name == "--code-page") {
            setOnce(codePage, hasCodePage, name, reader.valueOf(name, inlineValue));
        } else if (!ParseFinishOption(
                       line.finish, name, [&] { return reader.valueOf(name, inlineValue); }, flagOnly)) {
            throw UsageError("unknown option " + framework::printable(name));
        }
    }
    if (line.help || line.version) return line;

    const int sources = (positional.empty() ? 0 : 1) + (dbfs.empty() ? 0 : 1) + (csvs.empty() ? 0 : 1) +
                        (hasSqlite ? 1 : 0) + (hasPg ? 1 : 0) + (hasOdbc ? 1 : 0);
    if (sources == 0)
        throw UsageError(
            "nothing to transfer: give a form file, --dbf FILE, --csv FILE, or --sqlite FILE, --pg CONNECTION or "
            "--odbc CONNECTION with --sql QUERY");
    if (sources > 1)
        throw UsageError("give form files, --dbf tables, --csv files, --sqlite, --pg or --odbc, not a mix of them");
    for (const std::string& form : positional)
        if (form.empty()) throw UsageError("a form file name is empty");

    if (!dbfs.empty()) {
        line.source = SourceKind::DbfFile;
        line.inputs.assign(dbfs.begin(), dbfs.end());
    } else if (!csvs.empty()) {
        line.source = SourceKind::CsvFile;
        line.inputs.assign(csvs.begin(), csvs.end());
    } else if (hasSqlite) {
        line.source = SourceKind::SqliteQuery;
        line.inputs.push_back(sqlite);
        if (!hasSql) throw UsageError("--sqlite needs the query to run: --sql \"SELECT ...\"");
    } else if (hasPg || hasOdbc) {
        const std::string option = hasPg ? "--pg" : "--odbc";
        line.source = hasPg ? SourceKind::PgQuery : SourceKind::OdbcQuery;
        line.connection = hasPg ? pg : odbc;
        if (!hasSql) throw UsageError(option + " needs the query to run: --sql \"SELECT ...\"");
        // A query names no file to name the workbook after.
        if (!hasOutput) throw UsageError(option + " needs the workbook to write: -o OUT.xlsx");
    } else {
        line.inputs.assign(positional.begin(), positional.end());
    }
    if (!line.inputs.empty()) line.input = line.inputs.front();
    line.batch = line.inputs.size() > 1 || hasOutputDir || hasJobs;
    if (line.batch) {
        // A server query names no file to name its workbook after.
        if (line.inputs.empty()) throw UsageError("--output-dir and --jobs go with files, not with --pg or --odbc");
        if (hasOutput)
            throw UsageError(line.inputs.size() > 1 ? "-o names one workbook: with several inputs give --output-dir"
                                                    : "-o names the workbook itself: give it or --output-dir, not both");
        if (line.trace) throw UsageError("--trace goes with a single input, without --output-dir or --jobs");
        line.outputDir = outputDir;
        if (hasJobs) {
            const std::optional<int> count = wholeNumber(jobs);
            if (!count || *count < 1 || *count > kMaxJobs)
                throw UsageError("--jobs takes a number of jobs from 1 to " + std::to_string(kMaxJobs) + ", not '" +
                                 framework::printable(jobs) + "'");
            line.jobs = *count;
        }
    }
    if (hasSql && !hasSqlite && !hasPg && !hasOdbc) throw UsageError("--sql goes with --sqlite, --pg or --odbc");
    if (line.keepRowsInMemory && !hasSqlite)
        throw UsageError("--keep-rows-in-memory goes with --sqlite; a form file sets KeepRowsInMemory on its query");
    if (hasTitle && line.source == SourceKind::FormFile)
        throw UsageError("--title goes with --dbf, --csv, --sqlite, --pg or --odbc; a form file holds its own title");
    if (hasComponent && line.source != SourceKind::FormFile) throw UsageError("--component goes with a form file");
    if (hasDelimiter) {
        if (line.source != SourceKind::CsvFile)
            throw UsageError("--delimiter goes with --csv; a form file gives its table's Delimiter itself");
        const bool tab = delimiter == "\t" || delimiter == "\\t" || lowerAscii(delimiter) == "tab";
        if (!tab && (delimiter.size() != 1 || delimiter == "\"" || delimiter == "\n" || delimiter == "\r"))
            throw UsageError("--delimiter takes one character (or tab), not '" + framework::printable(delimiter) + "'");
        line.delimiter = tab ? std::string("\t") : delimiter;
    }
    if (hasCodePage) {
        if (line.source != SourceKind::DbfFile && line.source != SourceKind::CsvFile)
            throw UsageError("--code-page goes with --dbf or --csv; a form file gives its table's CodePage itself");
        const std::optional<int> page = data::CodePage::fromName(codePage);
        if (!page) throw UsageError("--code-page: '" + framework::printable(codePage) + "' names no code page");
        line.codePage = *page;
    }

    line.sql = sql;
    line.title = title;
    line.toStandardOutput = output == "-";
    if (!line.toStandardOutput) line.output = output;
    line.component = component;
    line.application = application;
    return line;
}

std::string UsageText() {
    return "Usage: tabulix FORMFILE [-o OUT.xlsx] [--component NAME] [--application APP] [--trace]\n"
           "  or:  tabulix --dbf FILE.DBF [--code-page PAGE] [--title TITLE] [-o OUT.xlsx] [--trace]\n"
           "  or:  tabulix --csv FILE.csv [--delimiter D] [--code-page PAGE] [--title TITLE] [-o OUT.xlsx]\n"
           "  or:  tabulix --sqlite DB.sqlite --sql \"SELECT ...\" [--keep-rows-in-memory] [--title TITLE]\n"
           "               [-o OUT.xlsx] [--trace]\n"
           "  or:  tabulix --pg CONNECTION --sql \"SELECT ...\" -o OUT.xlsx [--title TITLE] [--trace]\n"
           "  or:  tabulix --odbc CONNECTION --sql \"SELECT ...\" -o OUT.xlsx [--title TITLE] [--trace]\n"
           "  or:  tabulix FORMFILE... [--output-dir DIR] [--jobs N] [--component NAME]\n"
           "  or:  tabulix --dbf FILE.DBF --dbf FILE2.DBF... [--output-dir DIR] [--jobs N]\n"
           "  or:  tabulix --csv FILE.csv --csv FILE2.csv... [--output-dir DIR] [--jobs N]\n"
           "  (each also with --quiet and --strict)\n"
           "\n"
           "Transfers a data set into a new workbook and saves it as an .xlsx file; given several\n"
           "inputs, transfers each into a workbook of its own, several at once.\n"
           "\n"
           "  FORMFILE          a form file holding the data set and a TTabulix component with its\n"
           "                    settings; relative database paths are read from the form file's folder\n"
           "  --dbf FILE        a dBASE table, transferred with the component's default settings\n"
           "  --code-page PAGE  the code page of the table's or CSV file's texts (1252, 850, UTF-8,\n"
           "                    ...), whatever the table declares; without it: the declared page, else\n"
           "                    UTF-8 when the texts are UTF-8 (or a CSV file begins with its byte-order\n"
           "                    mark), else Windows-1252\n"
           "  --csv FILE        a CSV file (a header line, then one record a line; RFC 4180 quoting),\n"
           "                    its column types worked out from the first 1,000 records\n"
           "  --delimiter D     the CSV file's delimiter (one character, or tab); without it: the one\n"
           "                    of , ; tab | that the header line holds most often\n"
           "  --sqlite FILE     an SQLite database; --sql gives the query whose rows are transferred,\n"
           "                    read as the transfer goes, all from the state the database had when\n"
           "                    the query opened (other writers wait in rollback-journal mode)\n"
           "  --keep-rows-in-memory\n"
           "                    read every row of the --sql query when it opens, then let go of the\n"
           "                    database; memory grows with the rows\n"
           "  --pg CONNECTION   a PostgreSQL server: a libpq connection string (\"host=H dbname=D\n"
           "                    user=U\", a postgresql:// URI or a database name; PG* variables give\n"
           "                    the rest); --sql gives the query, run in one read-only transaction and\n"
           "                    read as the transfer goes. A password is best left to PGPASSWORD or\n"
           "                    ~/.pgpass (a command line is visible to other users); it is never shown\n"
           "  --odbc CONNECTION an ODBC connection string (\"DSN=NAME;UID=U\" or \"DRIVER=...;...\");\n"
           "                    --sql gives the query, read as the transfer goes in one transaction; a\n"
           "                    password (PWD=) is never shown\n"
           "  --title TITLE     the title row of a transfer without a form file (none by default)\n"
           "  -o, --output OUT  the workbook to write (default: the input's name with .xlsx, in the\n"
           "                    working folder); an existing folder receives the input's name with\n"
           "                    .xlsx; - writes the workbook to standard output (not to a terminal);\n"
           "                    an existing file is replaced only on success, never one the transfer\n"
           "                    reads, nor a device or pipe; through a symbolic link the file it\n"
           "                    points to is replaced and the link kept\n"
           "  --component NAME  the TTabulix of the form file to run, when it holds several\n"
           "  --application APP the spreadsheet application: embedded (the default) or calc, a\n"
           "                    LibreOffice Calc started for the run; TABULIX_APPLICATION gives the\n"
           "                    default\n"
           "  --output-dir DIR  save each input as DIR/<input name>.xlsx (default: the working folder);\n"
           "                    with several inputs, one failed input does not stop the others\n"
           "  -j, --jobs N      transfer up to N inputs at once (default: one per core; Calc takes\n"
           "                    one at a time)\n"
           "  --strict          a warning (a formula record that cannot be placed, a damaged table)\n"
           "                    fails the run: exit status 1 and nothing written\n"
           "  -q, --quiet       no progress and no closing line; warnings and errors are still told\n"
           "  --trace           print the code page of each table (and a CSV file's delimiter), the\n"
           "                    server and database of a query, and every automation call to standard\n"
           "                    error\n"
           "  -h, --help        print this text\n"
           "  --version         print the version\n"
           "\n" +
           FinishUsageText() +
           "\n"
           "Exit status: 0 on success, 1 when the transfer or the save fails (or, with --strict, warns;\n"
           "in a batch, of any input), 2 for a bad command line; stopped by SIGINT or SIGTERM it\n"
           "removes the files it was saving and ends by that signal (a shell reports 130 or 143).\n";
}

std::vector<std::filesystem::path> BatchOutputPaths(const CommandLine& line) {
    std::vector<std::filesystem::path> outputs;
    std::map<std::string, std::size_t> taken;  // output name -> input that takes it
    for (std::size_t i = 0; i < line.inputs.size(); ++i) {
        const std::filesystem::path& input = line.inputs[i];
        const std::filesystem::path stem = input.stem();
        if (stem.empty() || stem == "." || stem == "..")
            throw UsageError("the input " + framework::quotedPath(input) + " names a folder, not a file");
        outputs.push_back(OutputPathIn(line.outputDir, input));
        // Two inputs of one name in different folders would overwrite each other's workbook.
        const auto [at, added] = taken.emplace(outputs.back().filename().string(), i);
        if (!added)
            throw UsageError("the inputs " + framework::quotedPath(line.inputs[at->second]) + " and " +
                             framework::quotedPath(input) + " would both be saved as " +
                             outputs.back().filename().string() + ": give them different names");
    }
    return outputs;
}

std::filesystem::path OutputPathIn(const std::filesystem::path& folder, const std::filesystem::path& input) {
    if (input.stem().empty() || input.stem() == "." || input.stem() == "..")
        throw UsageError("the input " + framework::quotedPath(input) + " names a folder, not a file: give -o");
    return folder / std::filesystem::path(input.stem()).concat(".xlsx");
}

namespace {

// Refuses an existing output that only a regular file may replace.
void refuseSpecialFile(const std::filesystem::path& out) {
    std::error_code error;
    const auto status = std::filesystem::status(out, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_regular_file(status) ||
        std::filesystem::is_directory(status))
        return;
    throw UsageError("the output " + framework::quotedPath(out) +
                     " is not a regular file (a device, a pipe or a socket); -o - writes the workbook to standard "
                     "output");
}

}  // namespace

std::filesystem::path OutputPath(const CommandLine& line) {
    std::filesystem::path out = line.output;
    if (out.empty()) return OutputPathIn({}, line.input);
    std::error_code error;
    if (std::filesystem::is_directory(out, error)) {
        if (line.source == SourceKind::PgQuery || line.source == SourceKind::OdbcQuery)
            throw UsageError("the output " + framework::quotedPath(out) + " is a folder; a query needs the file to write");
        return OutputPathIn(out, line.input);
    }
    refuseSpecialFile(out);
    if (!out.has_filename())
        throw UsageError("the output " + framework::quotedPath(out) + " names a folder that does not exist");
    if (!out.has_extension()) {
        out.concat(".xlsx");
        refuseSpecialFile(out);
        return out;
    }
    if (lowerAscii(out.extension().string()) != ".xlsx")
        throw UsageError("the output " + framework::quotedPath(out) + " must be an .xlsx file");
    return out;
}

}  // namespace tabulix::cli
