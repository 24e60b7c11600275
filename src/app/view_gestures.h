#pragma once
// Mouse gestures in the window: the right button turns the model.

#include "app/app.h"

namespace cubrik {

inline constexpr int kPanelWidth = 64;  // the tool panel's strip at the left

void rightPress(App& app, int x, int y);
void rightRelease(App& app);
void mouseMove(App& app, int x, int y);

}  // namespace cubrik
