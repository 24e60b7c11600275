#include "app/platform/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace cubrik {

QMargins frameAround(const QWidget& window) {
    const QRect inside = window.geometry();
    const QRect outside = window.frameGeometry();
    if (window.isVisible() && outside != inside)
        return {inside.left() - outside.left(), inside.top() - outside.top(), outside.right() - inside.right(),
                outside.bottom() - inside.bottom()};
    // Window managers draw frames in device pixels, whatever the program's scale.
    const qreal ratio = window.devicePixelRatioF();
    const auto pixels = [ratio](int device) { return static_cast<int>(std::ceil(device / ratio)); };
    return {pixels(8), pixels(32), pixels(8), pixels(8)};
}

QRect keptOnScreen(QRect client, QMargins frame) {
    const QScreen* screen = QGuiApplication::screenAt(client.center());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return client;
    const QRect room = screen->availableGeometry().marginsRemoved(
        {frame.left(), frame.top(), frame.left() + frame.right(), frame.top() + frame.bottom()});
    client.setWidth(std::min(client.width(), room.width()));
    client.setHeight(std::min(client.height(), room.height()));
    client.moveLeft(std::clamp(client.left(), room.left(), room.right() + 1 - client.width()));
    client.moveTop(std::clamp(client.top(), room.top(), room.bottom() + 1 - client.height()));
    return client;
}

}  // namespace cubrik
