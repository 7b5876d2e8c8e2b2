#include "cli/standard_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <string>

#include "cli/command_line.h"
#include "framework/pending_files.h"
#include "framework/printable.h"

namespace tabulix::cli {

namespace {

std::runtime_error writeError(int error) {
    return std::runtime_error(std::string("cannot write to standard output: ") + std::strerror(error));
}

}  // namespace

StandardOutputWorkbook::StandardOutputWorkbook() {
    if (::isatty(STDOUT_FILENO) == 1)
        throw UsageError("-o - writes the workbook to standard output, which is a terminal here: redirect it to a "
                         "file or a pipe");
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/tabulix-XXXXXX.xlsx";
    const int fd = ::mkstemps(pattern.data(), 5);
    if (fd < 0)
        throw std::runtime_error("cannot make a temporary file for standard output in " +
                                 framework::quotedPath(std::filesystem::path(pattern).parent_path()) + ": " +
                                 std::strerror(errno));
    ::close(fd);
    file_ = std::filesystem::absolute(pattern);
    pending_ = std::make_unique<framework::PendingFile>(AT_FDCWD, file_.string());
}

StandardOutputWorkbook::~StandardOutputWorkbook() {
    ::unlink(file_.c_str());
    pending_.reset();
}

void StandardOutputWorkbook::CopyOut() const {
    FlushStandardOutput();
    const int in = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        throw std::runtime_error("cannot read the saved workbook " + framework::quotedPath(file_) + ": " +
                                 std::strerror(errno));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            const int error = errno;
            ::close(in);
            if (got < 0)
                throw std::runtime_error("cannot read the saved workbook " + framework::quotedPath(file_) + ": " +
                                         std::strerror(error));
            return;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(STDOUT_FILENO, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) {
                const int error = errno;
                ::close(in);
                throw writeError(error);
            }
            done += put;
        }
    }
}

void FlushStandardOutput() {
    // A text longer than the buffer fails while it is written: that write's errno is the reason.
    const int earlier = std::cout ? 0 : errno;
    errno = 0;
    std::cout.flush();
    if (std::cout && std::fflush(stdout) == 0) return;
    const int error = earlier ? earlier : errno;
    std::cout.clear();
    throw writeError(error ? error : EIO);
}

}  // namespace tabulix::cli
