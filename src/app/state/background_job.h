#pragma once
// Long work the window hands to a worker thread and watches: a picture being
// path traced, a turntable being written. The window polls progress() and
// may cancel(); the work reads cancelled() between its steps.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "formats/image/picture_file.h"

namespace cubrik {

class BackgroundJob {
public:
    virtual ~BackgroundJob() = default;

    // The work itself, on the calling thread; returns once done, failed or cancelled.
    virtual void run() = 0;

    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }
    const std::atomic<bool>& cancelFlag() const { return cancelled_; }
    double progress() const { return progress_.load(std::memory_order_relaxed); }  // 0 to 1
    bool finished() const { return finished_.load(std::memory_order_acquire); }
    // Why the work failed; empty when it did not (or has not ended yet).
    std::string failure() const;

protected:
    void setProgress(double fraction) { progress_.store(fraction, std::memory_order_relaxed); }
    void fail(std::string reason);

private:
    friend void runToEnd(BackgroundJob& job);
    std::atomic<bool> cancelled_{false};
    std::atomic<double> progress_{0.0};
    std::atomic<bool> finished_{false};
    mutable std::mutex failureMutex_;
    std::string failure_;
};

// Runs the job on this thread and marks it finished, whatever it threw.
void runToEnd(BackgroundJob& job);

// Runs the job on a new thread below the window's priority, so that editing
// stays smooth while every core works on it; threads the job starts inherit
// the lower priority.
std::thread startInBackground(std::shared_ptr<BackgroundJob> job);

// A picture rendered in passes that each add samples to every pixel.
class PictureJob : public BackgroundJob {
public:
    virtual Picture latest() const = 0;  // empty until the first pass is done
    virtual int samplesDone() const = 0;  // per pixel in latest()
    virtual int totalSamples() const = 0;
    // Writes the latest picture as a PNG, atomically. False with `reason`.
    virtual bool save(const std::string& path, std::string& reason) const = 0;
};

}  // namespace cubrik
