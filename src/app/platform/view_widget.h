#pragma once
// The OpenGL view that fills the window: it turns Qt's events into the
// application's messages and paints through the application.

#include <QOpenGLWidget>
#include <functional>
#include <utility>
#include <vector>

#include "app/state/app.h"

namespace cubrik {

class ViewWidget final : public QOpenGLWidget {
public:
    explicit ViewWidget(QWidget* parent);
    ~ViewWidget() override;

    // Set before the widget is first shown; start-up runs with its context.
    // Every message goes through `deliver`, which hands it to the window
    // procedure (and may record it).
    // Pen packets go through `deliverPen`.
    using Deliver = std::function<int(const Message&)>;
    using DeliverPen = std::function<void(const TabletPacket&)>;
    void attach(App& app, Deliver deliver, DeliverPen deliverPen) {
        app_ = &app;
        deliver_ = std::move(deliver);
        deliverPen_ = std::move(deliverPen);
    }
    // Sends a message of the window's to the application once it has started.
    void send(const Message& message);
    // The client area in logical pixels.
    int clientWidth() const;
    int clientHeight() const;
    // Releases the application's OpenGL objects while their context exists;
    // no message reaches the application afterwards.
    void detach();
    // Whether start-up has run and succeeded: only then do messages reach the application.
    bool started() const { return started_; }

protected:
    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;
    bool event(QEvent* event) override;  // the panel's tooltips

private:
    void sendMouse(MessageType type, const QMouseEvent& event);

    App* app_ = nullptr;
    Deliver deliver_;
    DeliverPen deliverPen_;
    std::vector<std::pair<qintptr, int>> penCursors_;  // (device, pointer type) of each cursor number
    bool started_ = false;
};

}  // namespace cubrik
