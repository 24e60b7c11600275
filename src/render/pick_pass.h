#pragma once
// Reading the pick pass back from the offscreen target it was drawn into.
// Needs a current OpenGL context.

#include "model/pick_buffer.h"
#include "render/offscreen_target.h"

namespace cubrik {

// Reads the whole width x height client area from `target` into `buffer`.
// Returns 1, or 0 when a side is not positive or memory is exhausted.
int readPickBuffer(const OffscreenTarget& target, PickBuffer& buffer, int width, int height);

// The cell drawn at window pixel (x, y), y from the top, or -1 when the pixel
// lies outside the client area or names no cell.
int readPickPixel(const OffscreenTarget& target, int x, int y, int width, int height);

}  // namespace cubrik
