#include "app/platform/main_window.h"

#include <QCloseEvent>

namespace cubrik {

MainWindow::MainWindow(Language language) : view_(new ViewWidget(this)) {
    setWindowTitle("CUBRIK");
    setMinimumSize(460, 460);
    setCentralWidget(view_);
    menus_ = std::make_unique<MenuBar>(*this, language, [this](int command) {
        Message message{MessageType::Command};
        message.command = command;
        view_->send(message);
    });
    platform_ = std::make_unique<QtPlatform>(*this, *view_, *menus_);
    // Idle time passes without messages; the recovery copy's interval is checked each second.
    tick_ = new QTimer(this);
    connect(tick_, &QTimer::timeout, this, [this] { view_->send(Message{MessageType::Timer}); });
    tick_->start(1000);
}

void MainWindow::attach(App& app, ViewWidget::Deliver deliver, ViewWidget::DeliverPen deliverPen) {
    view_->attach(app, std::move(deliver), std::move(deliverPen));
    view_->setFocus();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();  // the quit flow decides, and may keep the window open
    view_->send(Message{MessageType::Close});
}

void MainWindow::sendSize() {
    Message message{MessageType::Size};
    message.sizeKind = isMaximized() ? SizeKind::Maximized : isMinimized() ? SizeKind::Minimized : SizeKind::Restored;
    message.width = view_->clientWidth();
    message.height = view_->clientHeight();
    view_->send(message);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) sendSize();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    sendSize();
}

}  // namespace cubrik
