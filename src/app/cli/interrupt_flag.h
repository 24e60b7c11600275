#pragma once
// Ctrl+C during a long headless mode: while an InterruptFlag lives, SIGINT
// only raises its flag, so the work can stop cleanly and write nothing; the
// previous handling comes back when it goes.

#include <atomic>
#include <csignal>

namespace cubrik {

class InterruptFlag {
public:
    InterruptFlag();
    ~InterruptFlag();
    InterruptFlag(const InterruptFlag&) = delete;
    InterruptFlag& operator=(const InterruptFlag&) = delete;

    // True once SIGINT has come; the same flag a render's cancel reads.
    const std::atomic<bool>& raised() const;

private:
    struct sigaction previous_{};
};

}  // namespace cubrik
