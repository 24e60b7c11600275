#pragma once
// What a long headless job shows and hears on a terminal: a progress bar on
// stderr (only when stderr is a terminal) and Ctrl+C as a request to stop.

#include <atomic>
#include <chrono>
#include <string>

namespace cubrik {

class TerminalProgress {
public:
    explicit TerminalProgress(std::string label);
    ~TerminalProgress();  // clears the bar's line
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // Redraws the bar at `done` of `total`, with the percentage and the time
    // left as the rate so far predicts it.
    void show(int done, int total);

private:
    std::string label_;
    bool terminal_;
    std::chrono::steady_clock::time_point start_;
};

// While one lives, Ctrl+C (SIGINT) sets requested() instead of ending the
// process; the handler before it comes back afterwards.
class InterruptRequest {
public:
    InterruptRequest();
    ~InterruptRequest();
    InterruptRequest(const InterruptRequest&) = delete;
    InterruptRequest& operator=(const InterruptRequest&) = delete;

    const std::atomic<bool>& requested() const;
};

}  // namespace cubrik
