#include "app/platform/job_progress.h"

#include <QTimer>

#include "app/platform/qt_platform.h"

namespace cubrik {
JobProgress::JobProgress(QWidget* owner, QtPlatform& platform, std::shared_ptr<BackgroundJob> job,
                         const std::string& title, const std::string& cancel, std::string lead)
    : QProgressDialog(toQString(title), toQString(cancel), 0, kJobProgressSteps, owner), platform_(platform),
      job_(std::move(job)), lead_(std::move(lead)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(toQString(title));
    setWindowModality(Qt::NonModal);
    setAutoClose(false);
    setAutoReset(false);
    setMinimumDuration(0);
    connect(this, &QProgressDialog::canceled, this, [this] { job_->cancel(); });
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] { poll(); });
    worker_ = startInBackground(job_);
    timer->start(kJobPollMilliseconds);
    show();
}

JobProgress::~JobProgress() {
    job_->cancel();
    if (worker_.joinable()) worker_.join();
}

void JobProgress::poll() {
    setValue(static_cast<int>(job_->progress() * kJobProgressSteps));
    if (!job_->finished()) return;
    const std::string failure = job_->failure();
    close();  // deleted later, once back in the event loop
    if (!failure.empty()) platform_.showMessage("Cubrik", lead_ + "\n" + failure);
}

}  // namespace cubrik
