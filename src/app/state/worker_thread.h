#pragma once
// One piece of work at a time on a thread of its own: the window hands slow
// disk work over, goes on, and takes the outcome at a later check.

#include <atomic>
#include <functional>
#include <thread>

namespace cubrik {

class WorkerThread {
public:
    WorkerThread() = default;
    ~WorkerThread() { join(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs `work` on a new thread, after the work started before it has
    // ended. False, with nothing started, when no thread can be made: the
    // caller then does the work itself.
    bool start(std::function<void()> work);

    // Whether work was started and has not ended yet.
    bool running() const { return thread_.joinable() && !ended_.load(std::memory_order_acquire); }

    // Waits for the work started last. True when there was such work: what
    // it wrote may be read from here on, until the next start().
    bool join();

private:
    std::thread thread_;
    std::atomic<bool> ended_{false};
};

}  // namespace cubrik
