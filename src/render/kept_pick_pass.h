#pragma once
// The pick pass of a stroke, kept as it was when the stroke started: a copy
// of the cells, their row masks and the view's projection. The stroke's
// reads are fetched from it a few blocks at a time as the brush reaches new
// pixels, each drawing only there, so the cost of a stroke does not grow with
// the window. The cells and the view may change meanwhile; what the stroke
// picks stays that of its start.

#include <cstdint>
#include <memory>

#include "model/pick_buffer.h"
#include "render/face_walk.h"
#include "render/pick_pass.h"
#include "render/row_masks.h"

namespace cubrik {

struct Renderer;
struct ViewInputs;

// Draws into the read it is asked for the pass that read was started from.
struct KeptPickSource final : PickSource {
    Renderer* renderer = nullptr;
    PickMode mode = PickMode::Solid;
    int fill(const PickBuffer& buffer, const PixelBox& box) override;
};

struct KeptPickScene {
    std::unique_ptr<std::uint8_t[]> cells;
    std::unique_ptr<RowMasks> masks;
    FaceWalk walk;  // reads `cells`; the pass is set per read
    PickProjection projection{};
    int width = 0, height = 0;  // the client area
    std::uint32_t read = 0;     // the reads started from it remember this
};

// Two scenes: the reads of both pick buffers stay drawable (a tool switched
// during a stroke may read the buffer an earlier stroke left).
struct KeptPickPass {
    KeptPickScene scenes[2];
    int current = 0;           // the scene new reads start from
    std::uint32_t kept = 0;    // scenes kept so far
    KeptPickSource sources[2]; // by PickMode
};

// Returns 1 with the buffers allocated, else 0.
int allocateKeptPickPass(KeptPickPass& kept);

// --- OpenGL: both need a current context.

// Keeps the model and view of `view` as the pass the next reads start from,
// in the scene `stillRead` does not use. Returns 1, or 0 when the view has
// no area or no offscreen target can be made.
int keepPickPass(Renderer& renderer, const ViewInputs& view, const PickBuffer& stillRead);

// Starts a read of the pass kept last in `mode` into `buffer`, nothing
// fetched yet. Returns 1, or 0 when memory is exhausted.
int startKeptPickRead(Renderer& renderer, PickMode mode, PickBuffer& buffer);

}  // namespace cubrik
