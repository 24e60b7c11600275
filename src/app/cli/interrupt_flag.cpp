#include "app/cli/interrupt_flag.h"

namespace cubrik {
namespace {

// A lock-free atomic is all a signal handler may touch.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void raise(int) { interrupted.store(true); }

}  // namespace

InterruptFlag::InterruptFlag() {
    interrupted.store(false);
    struct sigaction action {};
    action.sa_handler = raise;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_);
}

InterruptFlag::~InterruptFlag() { sigaction(SIGINT, &previous_, nullptr); }

const std::atomic<bool>& InterruptFlag::raised() const { return interrupted; }

}  // namespace cubrik
