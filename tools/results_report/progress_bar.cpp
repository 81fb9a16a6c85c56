#include "progress_bar.h"

#include <algorithm>
#include <string>

namespace kz::report {

namespace {

constexpr int bar_width = 30;
constexpr const char* label = "Lecture des résultats ";
// The label's 22 characters, the bar between brackets, a blank and "100,0 %".
constexpr std::size_t line_width = 22 + 1 + bar_width + 2 + 7;

}  // namespace

void ProgressBar::update(std::uint64_t done) {
    if (!shown_ || total_ == 0) return;
    const int per_mille = static_cast<int>(std::min<std::uint64_t>(done, total_) * 1000 / total_);
    if (drawn_ && per_mille == per_mille_) return;
    per_mille_ = per_mille;
    const int filled = per_mille * bar_width / 1000;
    std::string line = "\r";
    line += label;
    line += '[';
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(bar_width - filled), '.');
    line += "] ";
    std::string percent = std::to_string(per_mille / 10) + "," + std::to_string(per_mille % 10) + " %";
    if (percent.size() < 7) line.append(7 - percent.size(), ' ');
    line += percent;
    err_ << line << std::flush;
    drawn_ = true;
}

void ProgressBar::interrupt() {
    if (!drawn_) return;
    err_ << '\r' << std::string(line_width, ' ') << '\r' << std::flush;
    drawn_ = false;
}

void ProgressBar::finish() {
    interrupt();
    shown_ = false;
}

}  // namespace kz::report
