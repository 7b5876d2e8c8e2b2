#include "cli/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace tabulix::cli {

ProgressBar::ProgressBar(std::ostream& out, std::int64_t minRecords, int width)
    : out_(out), minRecords_(minRecords), width_(std::max(width, 1)) {}

ProgressBar::~ProgressBar() { Finish(); }

std::string ProgressBar::Line(std::int64_t done, std::int64_t total, int width, const std::string& label,
                              double perSecond) {
    const std::string count = std::to_string(done);
    if (total <= 0) {
        if (perSecond < 1) return label + ": " + count;
        return label + ": " + count + " (" + std::to_string(std::llround(perSecond)) + " a second)";
    }
    const std::int64_t shown = std::clamp<std::int64_t>(done, 0, total);
    const int filled = static_cast<int>(shown * width / total);
    const int percent = static_cast<int>(shown * 100 / total);
    std::string line = label + ": [";
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(width - filled), ' ');
    line += "] ";
    const std::string percentText = std::to_string(percent);
    line.append(3 - std::min<std::size_t>(3, percentText.size()), ' ');
    line += percentText + "% " + count + "/" + std::to_string(total);
    return line;
}

void ProgressBar::Update(std::int64_t done, std::int64_t total) {
    if (!drawn_ && done < minRecords_) return;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const std::string line = Line(done, total, width_, label_, seconds > 0 ? static_cast<double>(done) / seconds : 0);
    if (line == last_) return;
    // Pad over a longer previous line so no stale characters remain.
    std::string padded = line;
    if (last_.size() > line.size()) padded.append(last_.size() - line.size(), ' ');
    out_ << '\r' << padded << std::flush;
    last_ = line;
    drawn_ = true;
    shown_ = true;
}

void ProgressBar::Begin(const std::string& label) {
    Finish();
    label_ = label;
    start_ = std::chrono::steady_clock::now();
}

void ProgressBar::Finish() {
    if (!drawn_) return;
    out_ << '\n' << std::flush;
    drawn_ = false;
    last_.clear();
}

void ProgressBar::Note(const std::string& text) {
    if (!shown_) return;
    Finish();
    out_ << text << '\n' << std::flush;
}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace tabulix::cli
