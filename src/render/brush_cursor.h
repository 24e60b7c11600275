#pragma once
// The outline at the pointer that shows how large the brush is on screen: a
// circle, or a square for Punch. Its radius is also the tools' brush radius
// in pixels, so it is computed with every frame.

#include <cstdint>

namespace cubrik {

inline constexpr int kPunchTool = 7;

// The on-screen radius of a disc of `brushSize` cells facing the viewer at the
// grid centre, in a client area `clientHeight` pixels high; at least 1.1.
float brushRadiusFor(int clientHeight, bool zoomed, int brushSize);

// Draws the outline about (px, py) in the overlay state of the 3-D view (one
// unit per pixel, y down): grey just inside, white at the radius.
void drawBrushCursor(float radius, int tool, int brushSize, int px, int py);

// One step of the brush size, as the wheel and the keys C and V take it: down
// for delta < 0 (not below 1), up for delta > 0 (from sizes below 24); the
// steps grow with the size, so the ladders up (1..7, 9, 11, 13, 16, 19, 22,
// 25) and down (25, 22, 19, 16, 13, 10, 8, 6..1) differ. Returns 1.
int stepBrushSize(std::int32_t& brushSize, int delta);

}  // namespace cubrik
