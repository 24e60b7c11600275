#pragma once
// A progress bar with Cancel over long work that runs on a worker thread
// (Export turntable…). It does not hold the main window: editing goes on
// while it shows. It closes itself when the work ends, showing any failure.

#include <memory>
#include <string>
#include <thread>

#include <QProgressDialog>

#include "app/state/background_job.h"

namespace cubrik {

class QtPlatform;

// How often the window looks at a background job, and how finely its bar moves.
inline constexpr int kJobPollMilliseconds = 100;
inline constexpr int kJobProgressSteps = 1000;

class JobProgress final : public QProgressDialog {
public:
    JobProgress(QWidget* owner, QtPlatform& platform, std::shared_ptr<BackgroundJob> job, const std::string& title,
                const std::string& cancel, std::string lead);
    ~JobProgress() override;

private:
    void poll();

    QtPlatform& platform_;
    std::shared_ptr<BackgroundJob> job_;
    std::string lead_;
    std::thread worker_;
};

}  // namespace cubrik
