#pragma once
// Where the program's windows go: wholly on the screen's free area, so no
// title bar or edge is out of reach, whatever the saved settings or the
// screen's scale say. Rectangles are a window's inside, in logical pixels.

#include <QMargins>
#include <QRect>

class QWidget;

namespace cubrik {

// The frame a window manager puts round `window`: its own once it is known,
// otherwise room for a common title bar and border.
QMargins frameAround(const QWidget& window);

// `client` shrunk and moved so that with `frame` round it, it lies on the
// free area of the screen it is mostly on (the primary screen when none),
// whether the window manager puts the given corner at the inside's corner or
// at the frame's, as some do for a new window.
QRect keptOnScreen(QRect client, QMargins frame);

}  // namespace cubrik
