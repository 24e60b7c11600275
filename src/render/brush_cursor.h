#pragma once
// The outline at the pointer that shows how large the brush is on screen: a
// circle, or a square for a square brush. Its radius is also the tools' brush radius
// in pixels, so it is computed with every frame.

namespace cubrik {

// The on-screen radius of a disc of `brushSize` cells facing the viewer at the
// pivot, in a client area `clientHeight` pixels high at zoom factor
// `zoomFactor`; at least 1.1.
float brushRadiusFor(int clientHeight, bool zoomed, int brushSize, double zoomFactor);

// Draws the outline about (px, py) in the overlay state of the 3-D view (one
// unit per pixel, y down): grey just inside, white at the radius.
void drawBrushCursor(float radius, bool square, int brushSize, int px, int py);

}  // namespace cubrik
