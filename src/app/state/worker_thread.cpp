#include "app/state/worker_thread.h"

#include <system_error>
#include <utility>

namespace cubrik {

bool WorkerThread::start(std::function<void()> work) {
    join();
    ended_.store(false, std::memory_order_relaxed);
    try {
        thread_ = std::thread([this, work = std::move(work)] {
            work();
            ended_.store(true, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

bool WorkerThread::join() {
    if (!thread_.joinable()) return false;
    thread_.join();
    return true;
}

}  // namespace cubrik
