// libFuzzer target for the command line of `tabulix`: the input, split at NUL bytes, is the
// argument list. A command line that cannot be run raises UsageError; anything else escaping, a
// crash or a sanitizer report is a bug. Checks on top: a command line that parses names exactly
// one source, and the workbook it would write is an .xlsx file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command_line.h"

using namespace tabulix::cli;

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
    if (line.help) return 0;
    if (line.input.empty()) std::abort();
    if (line.source == SourceKind::SqliteQuery && line.sql.empty()) std::abort();
    try {
        const std::string out = OutputPath(line).extension().string();
        if (out.size() != 5 || (out[1] | 0x20) != 'x' || (out[2] | 0x20) != 'l' || (out[3] | 0x20) != 's' ||
            (out[4] | 0x20) != 'x')
            std::abort();
    } catch (const UsageError&) {
    }
    return 0;
}
