#include "cli/batch_progress.h"

#include <algorithm>
#include <sstream>

namespace tabulix::cli {

namespace {
constexpr std::size_t kStatusWidth = 79;
}

BatchProgress::BatchProgress(std::ostream& out, std::ostream& err, std::size_t inputs, bool tellSuccesses, bool live)
    : out_(out), err_(err), inputs_(inputs), tellSuccesses_(tellSuccesses), live_(live) {}

std::string BatchProgress::StatusLine(std::size_t finished, std::size_t inputs,
                                      const std::map<std::size_t, Running>& running, std::size_t width) {
    std::string line = "[" + std::to_string(finished) + "/" + std::to_string(inputs) + "]";
    for (const auto& [index, r] : running) {
        line += " " + r.name + " ";
        if (r.total > 0) line += std::to_string(std::clamp<std::int64_t>(r.done, 0, r.total) * 100 / r.total) + "%";
        else line += std::to_string(r.done);
    }
    if (line.size() > width) line = line.substr(0, width - 3) + "...";
    return line;
}

void BatchProgress::Started(std::size_t input, const std::string& name) {
    const std::lock_guard<std::mutex> hold(lock_);
    running_[input] = Running{name, 0, -1};
    drawStatus();
}

void BatchProgress::Advanced(std::size_t input, std::int64_t done, std::int64_t total) {
    const std::lock_guard<std::mutex> hold(lock_);
    auto it = running_.find(input);
    if (it == running_.end()) return;
    it->second.done = done;
    it->second.total = total;
    drawStatus();
}

std::string BatchProgress::prefix() { return "[" + std::to_string(finished_) + "/" + std::to_string(inputs_) + "] "; }

void BatchProgress::Succeeded(std::size_t input, const std::string& text) {
    const std::lock_guard<std::mutex> hold(lock_);
    running_.erase(input);
    ++finished_;
    if (!tellSuccesses_) return;
    clearStatus();
    out_ << prefix() << text << '\n' << std::flush;
    drawStatus();
}

void BatchProgress::Failed(std::size_t input, const std::string& reason) {
    const std::lock_guard<std::mutex> hold(lock_);
    const auto it = running_.find(input);
    const std::string name = it != running_.end() ? it->second.name + ": " : std::string();
    if (it != running_.end()) running_.erase(it);
    ++finished_;
    ++failures_;
    clearStatus();
    err_ << "tabulix: " << prefix() << name << reason << '\n' << std::flush;
    drawStatus();
}

void BatchProgress::Warn(std::size_t input, const std::string& lines) {
    const std::lock_guard<std::mutex> hold(lock_);
    const auto it = running_.find(input);
    const std::string name = it != running_.end() ? it->second.name + ": " : std::string();
    clearStatus();
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("tabulix: ")) line.erase(0, 9);
        if (!line.empty()) err_ << "tabulix: " << name << line << '\n';
    }
    err_ << std::flush;
    drawStatus();
}

std::size_t BatchProgress::failures() const {
    const std::lock_guard<std::mutex> hold(lock_);
    return failures_;
}

void BatchProgress::clearStatus() {
    if (shown_.empty()) return;
    err_ << '\r' << std::string(shown_.size(), ' ') << '\r' << std::flush;
    shown_.clear();
}

void BatchProgress::drawStatus() {
    if (!live_) return;
    const std::string line = running_.empty() ? std::string() : StatusLine(finished_, inputs_, running_, kStatusWidth);
    if (line == shown_) return;
    std::string padded = line;
    if (shown_.size() > line.size()) padded.append(shown_.size() - line.size(), ' ');
    err_ << '\r' << padded << std::flush;
    shown_ = line;
}

}  // namespace tabulix::cli
