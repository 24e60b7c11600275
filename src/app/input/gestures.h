#pragma once
// The mouse gestures of the window: the left button strokes in the view or
// works the panel, the right button turns the view or locks colours on the
// panel, and a gesture of one button excludes the other's.

#include "app/state/app.h"

namespace cubrik {

void leftPress(App& app, int x, int y);
void leftDoubleClick(App& app, int x, int y);
void rightPress(App& app, int x, int y);
void mouseMove(App& app, int x, int y);
void leftRelease(App& app, int x, int y);
void rightRelease(App& app);

}  // namespace cubrik
