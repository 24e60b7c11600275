#include "app/state/background_job.h"

#include <exception>
#include <new>
#include <utility>

#include <sys/resource.h>
#include <unistd.h>

namespace cubrik {
namespace {

// Linux nice values belong to threads: this lowers the calling one and those it makes.
constexpr int kBackgroundNice = 10;

}  // namespace

std::string BackgroundJob::failure() const {
    const std::lock_guard lock(failureMutex_);
    return failure_;
}

void BackgroundJob::fail(std::string reason) {
    const std::lock_guard lock(failureMutex_);
    failure_ = std::move(reason);
}

void runToEnd(BackgroundJob& job) {
    try {
        job.run();
    } catch (const std::bad_alloc&) {
        job.fail("Out of memory.");
    } catch (const std::exception& error) {
        job.fail(error.what());
    }
    job.finished_.store(true, std::memory_order_release);
}

std::thread startInBackground(std::shared_ptr<BackgroundJob> job) {
    return std::thread([job = std::move(job)] {
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kBackgroundNice);
        runToEnd(*job);
    });
}

}  // namespace cubrik
