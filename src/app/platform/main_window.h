#pragma once
// The program's one window: the menus above the OpenGL view.

#include <QMainWindow>
#include <QTimer>

#include <memory>

#include "app/state/app.h"
#include "app/platform/menu_bar.h"
#include "app/platform/qt_platform.h"
#include "app/platform/status_label.h"
#include "app/platform/view_widget.h"

namespace cubrik {

class MainWindow final : public QMainWindow {
public:
    explicit MainWindow(Language language);

    ViewWidget& view() { return *view_; }
    Platform& platform() { return *platform_; }
    void attach(App& app, ViewWidget::Deliver deliver, ViewWidget::DeliverPen deliverPen);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void sendSize();

    ViewWidget* view_;
    QTimer* tick_;
    StatusLabel* status_;
    std::unique_ptr<MenuBar> menus_;
    std::unique_ptr<QtPlatform> platform_;
};

}  // namespace cubrik
