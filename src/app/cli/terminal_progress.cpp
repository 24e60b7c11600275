#include "app/cli/terminal_progress.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>

namespace cubrik {
namespace {

constexpr int kBarCells = 30;

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
struct sigaction previousAction;

void noteInterrupt(int) { interrupted.store(true); }

}  // namespace

TerminalProgress::TerminalProgress(std::string label)
    : label_(std::move(label)), terminal_(isatty(STDERR_FILENO) == 1), start_(std::chrono::steady_clock::now()) {}

TerminalProgress::~TerminalProgress() {
    if (terminal_) std::fprintf(stderr, "\r\033[K");
}

void TerminalProgress::show(int done, int total) {
    if (!terminal_ || total <= 0) return;
    const double fraction = static_cast<double>(done) / total;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::string bar(kBarCells, '.');
    bar.replace(0, static_cast<std::size_t>(fraction * kBarCells), static_cast<std::size_t>(fraction * kBarCells), '#');
    std::fprintf(stderr, "\r\033[K%s [%s] %3d%%", label_.c_str(), bar.c_str(), static_cast<int>(fraction * 100));
    if (done > 0 && done < total) std::fprintf(stderr, ", %.0f s left", elapsed / fraction * (1.0 - fraction));
    std::fflush(stderr);
}

InterruptRequest::InterruptRequest() {
    interrupted.store(false);
    struct sigaction action {};
    action.sa_handler = noteInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousAction);
}

InterruptRequest::~InterruptRequest() { sigaction(SIGINT, &previousAction, nullptr); }

const std::atomic<bool>& InterruptRequest::requested() const { return interrupted; }

}  // namespace cubrik
