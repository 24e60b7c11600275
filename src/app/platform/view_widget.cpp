#include "app/platform/view_widget.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTabletEvent>
#include <algorithm>
#include <cmath>
#include <iostream>
#include <QTimer>
#include <QWheelEvent>

#include "app/commands/start_up.h"
#include "app/commands/window_status.h"
#include "render/renderer.h"

namespace cubrik {
namespace {

// The key table's code of a Qt key, or 0 for keys the table does not know.
int keyCodeOf(const QKeyEvent& event) {
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier) return key >= Qt::Key_0 && key <= Qt::Key_9 ? key::kKeypad0 + key - Qt::Key_0 : 0;
    if (key >= Qt::Key_A && key <= Qt::Key_Z && (event.modifiers() & Qt::ControlModifier))
        return key | key::kCtrl | (event.modifiers() & Qt::ShiftModifier ? key::kShift : 0);
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
    if (key == Qt::Key_Escape) return key::kEscape;
    if (key == Qt::Key_Space) return key::kSpace;
    switch (key) {
    case Qt::Key_Delete: return key::kDelete;
    case Qt::Key_Left: return key::kLeft;
    case Qt::Key_Right: return key::kRight;
    case Qt::Key_Up: return key::kUp;
    case Qt::Key_Down: return key::kDown;
    case Qt::Key_PageUp: return key::kPageUp;
    case Qt::Key_PageDown: return key::kPageDown;
    case Qt::Key_F1: return key::kF1;
    case Qt::Key_Home: return key::kHome;
    default: return 0;
    }
}

}  // namespace

ViewWidget::ViewWidget(QWidget* parent) : QOpenGLWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // A skipped paint must leave the last frame on screen.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
}

ViewWidget::~ViewWidget() { detach(); }

void ViewWidget::detach() {
    if (app_ != nullptr && started_) {
        makeCurrent();  // the renderer's GL objects belong to this context
        releaseGlResources(*app_);
        doneCurrent();
    }
    started_ = false;
    app_ = nullptr;
}

void ViewWidget::initializeGL() {
    started_ = startUp(*app_) == 1;
    if (!app_->status.startupProblem.empty()) std::cerr << "cubrik: " << app_->status.startupProblem << '\n';
    if (!started_) {
        // The event loop may not run yet; ending it as soon as it does ends the program.
        QTimer::singleShot(0, [] { QCoreApplication::exit(255); });
    }
}

// The application works in logical pixels; a frame is drawn in the device's
// (see paintGL), so at a ratio of 1 nothing differs from a plain window.
int ViewWidget::clientWidth() const { return width(); }

int ViewWidget::clientHeight() const { return height(); }

void ViewWidget::paintGL() {
    Message message{MessageType::Paint};
    message.width = clientWidth();
    message.height = clientHeight();
    const qreal ratio = devicePixelRatioF();
    if (ratio != 1.0) {
        const QSize framebuffer = size() * ratio;  // as the widget sizes its framebuffer
        message.device = DeviceFrame{ratio, framebuffer.width(), framebuffer.height()};
    }
    send(message);
}

bool ViewWidget::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip || app_ == nullptr || !started_) return QOpenGLWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const std::string text = panelTooltipAt(*app_, help->pos().x(), help->pos().y());
    if (text.empty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), QString::fromUtf8(text.c_str()), this);
    }
    return true;
}

void ViewWidget::send(const Message& message) {
    if (started_) deliver_(message);
}

void ViewWidget::sendMouse(MessageType type, const QMouseEvent& event) {
    const QPointF at = event.position();
    Message message{type};
    // As a session line may give them: the tools' arithmetic counts on it.
    const auto reach = [](qreal v) { return static_cast<int>(std::clamp<qreal>(v, -kMaxPointerOffset, kMaxPointerOffset)); };
    message.x = reach(at.x());
    message.y = reach(at.y());
    send(message);
}

void ViewWidget::mousePressEvent(QMouseEvent* event) {
    switch (event->button()) {
    case Qt::LeftButton: sendMouse(MessageType::LeftDown, *event); break;
    case Qt::RightButton: sendMouse(MessageType::RightDown, *event); break;
    case Qt::MiddleButton: sendMouse(MessageType::MiddleDown, *event); break;
    default: break;
    }
}

void ViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) sendMouse(MessageType::LeftUp, *event);
    if (event->button() == Qt::RightButton) sendMouse(MessageType::RightUp, *event);
}

void ViewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) sendMouse(MessageType::LeftDoubleClick, *event);
    if (event->button() == Qt::RightButton) sendMouse(MessageType::RightDoubleClick, *event);
}

void ViewWidget::mouseMoveEvent(QMouseEvent* event) { sendMouse(MessageType::MouseMove, *event); }

void ViewWidget::wheelEvent(QWheelEvent* event) {
    Message message{MessageType::MouseWheel};
    message.wheelDelta = event->angleDelta().y();
    if (message.wheelDelta != 0) send(message);
}

// Each press, move and release of a pen is one packet; the event is left
// unaccepted so that the same motion still arrives as mouse events.
void ViewWidget::tabletEvent(QTabletEvent* event) {
    event->ignore();
    if (!started_) return;
    // Qt keeps one device object per pen; its tip and eraser differ by pointer type.
    const std::pair identity{reinterpret_cast<qintptr>(event->pointingDevice()), static_cast<int>(event->pointerType())};
    auto known = std::find(penCursors_.begin(), penCursors_.end(), identity);
    if (known == penCursors_.end()) known = penCursors_.insert(penCursors_.end(), identity);
    TabletPacket packet;
    packet.cursor = static_cast<std::uint32_t>(known - penCursors_.begin());
    const Qt::MouseButtons buttons = event->buttons();
    packet.buttons = (event->type() != QEvent::TabletRelease && event->pressure() > 0 ? 1u : 0u) |
                     (buttons & Qt::RightButton ? 2u : 0u) | (buttons & Qt::MiddleButton ? 4u : 0u);
    packet.pressure = static_cast<std::uint32_t>(std::lround(event->pressure() * 1023));
    packet.axisMin = 0;
    packet.axisMax = 1023;
    packet.pressMark = 0;
    deliverPen_(packet);
}

void ViewWidget::keyPressEvent(QKeyEvent* event) {
    const int code = keyCodeOf(*event);
    if (code == 0 || (event->modifiers() & Qt::AltModifier)) {
        event->ignore();  // left to the window, so Alt opens the menus
        return;
    }
    Message message{MessageType::KeyDown};
    message.key = code;
    send(message);
}

}  // namespace cubrik
