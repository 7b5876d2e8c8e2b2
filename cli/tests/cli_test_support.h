#pragma once
// Helpers for the command's tests: a scratch folder, the source tree, and running the built
// program with its output captured.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/command_line.h"

namespace tabulix::cli::testing {

inline std::filesystem::path SourceDir() {
    const char* source = std::getenv("TABULIX_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".");
}

inline std::filesystem::path DemoDbf() { return SourceDir() / "demo" / "Demo.DBF"; }

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tabulix_cli.XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    std::filesystem::path Write(const std::string& name, const std::string& text) const {
        const std::filesystem::path file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The message of the usage error a command line gives, or "no error".
inline std::string UsageErrorOf(const std::vector<std::string>& args) {
    try {
        ParseCommandLine(args);
    } catch (const UsageError& e) {
        return e.what();
    }
    return "no error";
}

// Whether the file begins as a zip archive (an .xlsx) does.
inline bool IsXlsx(const std::filesystem::path& file) { return ReadFile(file).substr(0, 2) == "PK"; }

// Every regular file in a folder, recursively (to check that a failed run wrote nothing).
inline std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(std::filesystem::relative(entry.path(), folder).string());
    std::sort(files.begin(), files.end());
    return files;
}

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

// The shell words that run the tabulix program with `args`.
inline std::string TabulixCommand(const std::vector<std::string>& args) {
    std::string command = ShellQuote(TABULIX_CLI_BINARY);
    for (const std::string& arg : args) command += " " + ShellQuote(arg);
    return command;
}

// Runs a shell command in `folder`, standard error captured (standard output too unless the
// command redirects it). exitCode is the shell's status.
inline RunResult RunShell(const std::string& shellCommand, const std::filesystem::path& folder) {
    const std::filesystem::path out = folder / ".run.out", err = folder / ".run.err";
    const std::string command = "cd " + ShellQuote(folder.string()) + " && { " + shellCommand + " ; } >" +
                                ShellQuote(out.string()) + " 2>" + ShellQuote(err.string());
    const int status = std::system(command.c_str());
    RunResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return result;
}

// Runs the tabulix program in `folder` with `args`; standard error is not a terminal.
inline RunResult RunTabulix(const std::vector<std::string>& args, const std::filesystem::path& folder) {
    return RunShell(TabulixCommand(args), folder);
}

}  // namespace tabulix::cli::testing
