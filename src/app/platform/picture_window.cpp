#include "app/platform/picture_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "app/platform/job_progress.h"
#include "app/platform/qt_platform.h"
#include "io/path_names.h"

namespace cubrik {
PictureWindow::PictureWindow(QWidget* owner, QtPlatform& platform, std::shared_ptr<PictureJob> job,
                             const std::string& title, const PictureTexts& text, FileDialogRequest save)
    : QWidget(owner, Qt::Window), platform_(platform), job_(std::move(job)), text_(text), save_(std::move(save)),
      picture_(new QLabel), state_(new QLabel), progress_(new QProgressBar),
      cancel_(new QPushButton(toQString(text.cancel))), saveButton_(new QPushButton(toQString(text.save))),
      timer_(new QTimer(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(toQString(title));
    auto* scroll = new QScrollArea;
    scroll->setWidget(picture_);
    scroll->setAlignment(Qt::AlignCenter);
    progress_->setRange(0, kJobProgressSteps);
    saveButton_->setEnabled(false);
    auto* bar = new QHBoxLayout;
    bar->addWidget(state_, 1);
    bar->addWidget(cancel_);
    bar->addWidget(saveButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(progress_);
    layout->addLayout(bar);
    connect(cancel_, &QPushButton::clicked, this, [this] { job_->cancel(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { savePicture(); });
    connect(timer_, &QTimer::timeout, this, [this] { poll(); });

    showSamples(0);
    resize(480, 360);
    worker_ = startInBackground(job_);
    timer_->start(kJobPollMilliseconds);
}

PictureWindow::~PictureWindow() {
    job_->cancel();
    if (worker_.joinable()) worker_.join();
}

void PictureWindow::closeEvent(QCloseEvent* event) {
    job_->cancel();
    event->accept();
}

void PictureWindow::poll() {
    progress_->setValue(static_cast<int>(job_->progress() * kJobProgressSteps));
    const int samples = job_->samplesDone();
    if (samples != shownSamples_) {
        const bool first = shownSamples_ == 0;
        shownSamples_ = samples;
        showPicture(job_->latest());
        if (first) fitToPicture();
        saveButton_->setEnabled(true);
    }
    showSamples(samples);
    if (!job_->finished()) return;
    timer_->stop();
    cancel_->setEnabled(false);
    const std::string failure = job_->failure();
    if (!failure.empty()) state_->setText(toQString(text_.cannotRender + "\n" + failure));
    else state_->setText(toQString(job_->cancelled() ? text_.cancelled : text_.finished));
    if (!job_->cancelled() && failure.empty()) progress_->setValue(kJobProgressSteps);
}

// One pixel of the picture to one pixel of the screen, whatever the scale factor.
void PictureWindow::showPicture(const Picture& latest) {
    const QImage image(latest.rgba.data(), latest.width, latest.height, latest.width * 4, QImage::Format_RGBA8888);
    QPixmap pixmap = QPixmap::fromImage(image);  // a deep copy: `latest` may go
    pixmap.setDevicePixelRatio(devicePixelRatioF());
    picture_->setPixmap(pixmap);
    picture_->adjustSize();
}

// The whole picture in view where the screen has room for it.
void PictureWindow::fitToPicture() {
    const QSize wanted = sizeHint().expandedTo(picture_->size() + QSize(48, 128));
    if (screen() != nullptr) resize(wanted.boundedTo(screen()->availableSize() * 9 / 10));
}

void PictureWindow::showSamples(int samples) {
    const std::string total = std::to_string(job_->totalSamples());
    state_->setText(toQString(fillInTwo(text_.samplesDone, std::to_string(samples), total)));
}

void PictureWindow::savePicture() {
    const std::optional<std::string> path = platform_.saveFileDialog(save_);
    if (!path) return;
    save_.folder = folderOf(*path);
    std::string reason;
    if (!job_->save(*path, reason)) platform_.showMessage("Cubrik", fillIn(text_.cannotSave, *path) + "\n" + reason);
}

}  // namespace cubrik
