#pragma once
// Render picture…'s window: a top-level window of its own that runs the
// render on a worker thread and shows the picture each time a pass of
// samples arrives, with the progress, Cancel, and Save as PNG. Closing it
// cancels the render.

#include <memory>
#include <thread>

#include <QWidget>

#include "app/state/platform_interface.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace cubrik {

class QtPlatform;

class PictureWindow final : public QWidget {
public:
    PictureWindow(QWidget* owner, QtPlatform& platform, std::shared_ptr<PictureJob> job, const std::string& title,
                  const PictureTexts& text, FileDialogRequest save);
    ~PictureWindow() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void poll();
    void showSamples(int samples);
    void showPicture(const Picture& latest);
    void fitToPicture();
    void savePicture();

    QtPlatform& platform_;
    std::shared_ptr<PictureJob> job_;
    const PictureTexts& text_;
    FileDialogRequest save_;
    std::thread worker_;
    int shownSamples_ = 0;
    QLabel* picture_;
    QLabel* state_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QPushButton* saveButton_;
    QTimer* timer_;
};

}  // namespace cubrik
