#pragma once
// One frame of the 3-D view, and the pick pass that repeats its set-up into
// the offscreen target. Every function here needs a current GL context.

#include <cstdint>

#include "render/renderer.h"
#include "render/view_inputs.h"

namespace cubrik {

// Clears colour and depth with `backgroundColor` (0x00BBGGRR).
void clearView(std::uint32_t backgroundColor);

// The viewport of the 3-D view in a client area of W x H: (64, 0, W - 64, H).
void setViewViewport(int clientWidth, int clientHeight);

// Draws the 3-D view into the current viewport (set by the caller to
// setViewViewport's rectangle, or on a finer framebuffer to
// setDeviceViewport(view.device, kViewLeft)'s) of the bound framebuffer.
// Records the client viewport and the projection in the model record, for
// picking. Leaves the 2-D overlay state: depth test off, one unit per client
// pixel with integer coordinates at pixel centres, x from the client's left
// edge and y downwards. Sets the brush's radius in client pixels for the
// client height, then draws its outline.
void drawView(Renderer& renderer, const ViewInputs& view);

// One unit per pixel over the view, in the mouse's coordinates.
void loadOverlayMatrices(int clientWidth, int clientHeight);

// Loads the projection and, as model-view, the rotation.
void loadViewMatrices(const double (&projection)[16], const double (&rotation)[16]);

// The viewport, depth test and matrices of the 3-D view of a W x H client
// area, without touching the model record: the set-up the pick pass and the
// image export repeat.
void setUpViewDrawing(const ViewInputs& view);

// Draws the pick pass of `mode` into the
// renderer's offscreen target of the client size: cells in pick colours on
// white, the panel columns left white. Read it with readOffscreenPixels.
// Returns 1, or 0 when no offscreen target of that size can be made.
int renderPickPass(Renderer& renderer, const ViewInputs& view, PickMode mode);

}  // namespace cubrik
