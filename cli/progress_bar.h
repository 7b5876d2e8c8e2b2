#pragma once
// A one-line progress bar for long transfers, redrawn in place with "\r" on a terminal.

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace tabulix::cli {

class ProgressBar {
public:
    // Draws nothing until `minRecords` records are done, so short transfers stay quiet.
    explicit ProgressBar(std::ostream& out, std::int64_t minRecords = 5000, int width = 30);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Records done, and the total (negative when unknown).
    void Update(std::int64_t done, std::int64_t total);
    // Starts another step of the run (the save after the transfer): ends the line drawn so far
    // and counts under `label` from here on, with the same threshold.
    void Begin(const std::string& label);
    // Ends the bar's line when one was drawn; later calls do nothing.
    void Finish();
    // Prints a line of its own after a bar was shown (a long run goes on with a slow step);
    // says nothing after a short run that showed no bar.
    void Note(const std::string& text);

    // The line for a state, without the leading "\r": a bar with the percentage when the total
    // is known, else the count and, when `perSecond` is positive, the rate.
    static std::string Line(std::int64_t done, std::int64_t total, int width,
                            const std::string& label = "Transferring records", double perSecond = 0);

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::ostream& out_;
    std::int64_t minRecords_;
    int width_;
    std::string label_ = "Transferring records";
    bool drawn_ = false;  // a bar line is on the screen, not yet ended
    bool shown_ = false;  // a bar was drawn at some time
    std::string last_;
};

// Whether standard error is a terminal (where the bar can redraw itself).
bool StandardErrorIsTerminal();

}  // namespace tabulix::cli
