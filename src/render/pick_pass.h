#pragma once
// Drawing the pick pass into the offscreen target and reading it back.
// Needs a current OpenGL context.

#include <functional>

#include "model/pick_buffer.h"
#include "render/offscreen_target.h"
#include "render/view_inputs.h"

namespace cubrik {

struct Renderer;

// The transformation the pick pass draws with, as OpenGL holds it.
struct PickProjection {
    double projection[16];  // column-major
    double modelview[16];
    int viewport[4];        // x, y, width, height, frame-buffer pixels
    int clientHeight;       // window row y is frame-buffer row H - 1 - y
};

// Reads the whole width x height client area from `target` into `buffer`.
// Returns 1, or 0 when a side is not positive or memory is exhausted.
int readPickBuffer(const OffscreenTarget& target, PickBuffer& buffer, int width, int height);

// The cell drawn at window pixel (x, y), y from the top, or -1 when the pixel
// lies outside the client area or names no cell.
int readPickPixel(const OffscreenTarget& target, int x, int y, int width, int height);

// Copies `box` of `target` to the same pixels of `buffer`, which has the
// target's size.
void readPickRegion(const OffscreenTarget& target, const PickBuffer& buffer, const PixelBox& box);

// The viewport and matrices the pick pass of `view` draws with. Returns 1, or
// 0 when no offscreen target of the client size can be made.
int capturePickProjection(Renderer& renderer, const ViewInputs& view, PickProjection& projection);

// A pick pass drawn only inside `box` of the renderer's offscreen target
// (clientWidth x projection.clientHeight): cleared to white there, then
// `emitFaces` with the projection loaded and lighting off. The pixels of the
// box come out as those of the whole pass as long as `emitFaces` draws the
// whole pass's batches: a driver may rasterise a face a little differently
// in a different batch. Leaves the 2-D overlay state. Returns 1, or 0 when no
// offscreen target of that size can be made.
int renderPickFaces(Renderer& renderer, const PickProjection& projection, int clientWidth, const PixelBox& box,
                    const std::function<void()>& emitFaces);

// The pick pass of `mode` for `view`, drawn only inside `box`: the
// rasterising and clearing of the rest of the window are saved. Returns as
// renderPickPass.
int renderPickRegion(Renderer& renderer, const ViewInputs& view, PickMode mode, const PixelBox& box);

}  // namespace cubrik
