#include "app/cli/terminal_progress.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace cubrik {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

std::string progressLine(const std::string& label, double fraction, double elapsedSeconds) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    const int filled = static_cast<int>(fraction * kBarWidth);
    std::string line = label + " [" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] ";
    char percent[8];
    std::snprintf(percent, sizeof percent, "%3d%%", static_cast<int>(fraction * 100.0));
    line += percent;
    // The rate so far is the best guess of the rate to come; none before any work is done.
    if (fraction > 0.0 && fraction < 1.0) {
        const long left = std::lround(elapsedSeconds * (1.0 - fraction) / fraction);
        line += left >= 60 ? "  " + std::to_string(left / 60) + " min " + std::to_string(left % 60) + " s left"
                           : "  " + std::to_string(left) + " s left";
    }
    return line;
}

TerminalProgress::TerminalProgress(std::string label)
    : label_(std::move(label)), shown_(isatty(STDERR_FILENO) == 1), start_(std::chrono::steady_clock::now()) {}

TerminalProgress::~TerminalProgress() {
    if (drawn_) std::fputs("\n", stderr);
}

void TerminalProgress::update(double fraction) {
    if (!shown_) return;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    // Padded so a shorter line covers the end of a longer one before it.
    std::fprintf(stderr, "\r%-72s", progressLine(label_, fraction, elapsed).c_str());
    std::fflush(stderr);
    drawn_ = true;
}

}  // namespace cubrik
