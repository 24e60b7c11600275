#include "app/platform/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

#include "app/platform/findings_panel.h"
#include "panel/panel_layout.h"

namespace cubrik {
namespace {

// The first local file a drag carries; empty when it carries none.
QString droppedFile(const QMimeData* data) {
    if (data == nullptr) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

}  // namespace

MainWindow::MainWindow(Language language) : view_(new ViewWidget(this)) {
    setWindowTitle("CUBRIK");
    setMinimumSize(460, 460);
    // Every panel item stays reachable: the compact layout's last slot ends
    // at 398 logical pixels; the view keeps some width beside the panel.
    view_->setMinimumSize(kPanelWidth + 96, 400);
    setCentralWidget(view_);
    setAcceptDrops(true);
    status_ = new StatusLabel(this);
    statusBar()->addWidget(status_, 1);
    statusBar()->setSizeGripEnabled(false);
    menus_ = std::make_unique<MenuBar>(
        *this, language,
        [this](int command) {
            Message message{MessageType::Command};
            message.command = command;
            platform_->setMenuCommandRunning(true);
            view_->send(message);
            platform_->setMenuCommandRunning(false);
        },
        [this] { platform_->noteMenuOpened(); },
        [this] {
            if (isActiveWindow()) view_->setFocus(Qt::OtherFocusReason);
        });
    auto* findings = new FindingsPanel(this, [this](int row) {
        Message message{MessageType::ChooseFinding};
        message.row = row;
        view_->send(message);
        view_->setFocus(Qt::OtherFocusReason);  // the tools' keys work again at once
    });
    addDockWidget(Qt::RightDockWidgetArea, findings);
    platform_ = std::make_unique<QtPlatform>(*this, *view_, *menus_, *status_, *findings);
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

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

// The application decides what a dropped file becomes, refusals included.
void MainWindow::dropEvent(QDropEvent* event) {
    const QString file = droppedFile(event->mimeData());
    if (file.isEmpty()) return;
    event->acceptProposedAction();
    activateWindow();
    view_->setFocus(Qt::OtherFocusReason);
    Message message{MessageType::DropFile};
    message.path = fromQString(file);
    view_->send(message);
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
