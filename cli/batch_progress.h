#pragma once
// What a batch run tells its user about each input: a line as each one ends (on standard output
// when it was transferred, on standard error with the reason when it failed), and on a terminal
// a status line, redrawn in place, of the inputs now being transferred and how far each has got.
//
// Thread rule: every member may be called from several threads at once; each line is written
// whole.

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <ostream>
#include <string>

namespace tabulix::cli {

class BatchProgress {
public:
    // `inputs` is how many the batch has; `tellSuccesses` prints a line for each input
    // transferred (not with --quiet); `live` draws the status line on `err` (a terminal).
    BatchProgress(std::ostream& out, std::ostream& err, std::size_t inputs, bool tellSuccesses, bool live);
    BatchProgress(const BatchProgress&) = delete;
    BatchProgress& operator=(const BatchProgress&) = delete;

    void Started(std::size_t input, const std::string& name);
    // Records done of the input, and its total (negative when unknown).
    void Advanced(std::size_t input, std::int64_t done, std::int64_t total);
    // "[3/50] <text>" on `out`, unless successes are not told.
    void Succeeded(std::size_t input, const std::string& text);
    // "tabulix: [4/50] <name>: <reason>" on `err`.
    void Failed(std::size_t input, const std::string& reason);
    // Lines of warnings about the input ("tabulix: warning: ..."), each told as
    // "tabulix: <name>: warning: ...".
    void Warn(std::size_t input, const std::string& lines);

    std::size_t failures() const;

    // The status line for these inputs: "[2/50] a.form 45% b.form 1200", cut to `width`.
    struct Running {
        std::string name;
        std::int64_t done = 0;
        std::int64_t total = -1;
    };
    static std::string StatusLine(std::size_t finished, std::size_t inputs, const std::map<std::size_t, Running>& running,
                                  std::size_t width);

private:
    void clearStatus();
    void drawStatus();
    std::string prefix();

    mutable std::mutex lock_;
    std::ostream& out_;
    std::ostream& err_;
    const std::size_t inputs_;
    const bool tellSuccesses_;
    const bool live_;
    std::size_t finished_ = 0;
    std::size_t failures_ = 0;
    std::map<std::size_t, Running> running_;
    std::string shown_;  // the status line on the screen, "" when none
};

}  // namespace tabulix::cli
