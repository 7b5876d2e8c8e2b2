// libFuzzer target for the command line of `tabulix`: the input, split at NUL bytes, is the
// argument list. A command line that cannot be run raises UsageError; anything else escaping, a
// crash or a sanitizer report is a bug. Checks on top: a command line that parses names its input
// file (a server query: its connection and the workbook to write), a query has its statement, and
// every workbook it would write is an .xlsx file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command_line.h"

using namespace tabulix::cli;

namespace {

void checkXlsx(const std::filesystem::path& path) {
    const std::string out = path.extension().string();
    if (out.size() != 5 || (out[1] | 0x20) != 'x' || (out[2] | 0x20) != 'l' || (out[3] | 0x20) != 's' ||
        (out[4] | 0x20) != 'x')
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    CommandLine line;
    try {
        line = ParseCommandLine(args);
    } catch (const UsageError&) {
        return 0;
    }
    UsageText();
    if (line.help || line.version) return 0;
    const bool server = line.source == SourceKind::PgQuery || line.source == SourceKind::OdbcQuery;
    if (server ? line.connection.empty() || (line.output.empty() && !line.toStandardOutput) : line.input.empty())
        std::abort();
    if ((server || line.source == SourceKind::SqliteQuery) && line.sql.empty()) std::abort();
    try {
        if (line.batch) {
            for (const auto& out : BatchOutputPaths(line)) checkXlsx(out);
        } else if (!line.toStandardOutput) {
            checkXlsx(OutputPath(line));
        }
    } catch (const UsageError&) {
    }
    return 0;
}
