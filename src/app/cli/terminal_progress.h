#pragma once
// A progress bar on stderr for the long headless modes: the share done and
// the time left, redrawn in place. Only when stderr is a terminal; otherwise
// (a pipe, a log file) nothing at all is written.

#include <chrono>
#include <string>

namespace cubrik {

class TerminalProgress {
public:
    explicit TerminalProgress(std::string label);
    ~TerminalProgress();  // ends the bar's line
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // `fraction` 0..1 of the work done.
    void update(double fraction);

private:
    std::string label_;
    bool shown_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_;
};

// The bar's line for `fraction` done after `elapsedSeconds`, without the
// carriage return: "LABEL [#####.....]  50%  12 s left".
std::string progressLine(const std::string& label, double fraction, double elapsedSeconds);

}  // namespace cubrik
