#pragma once
// The cube and smooth renderer: its buffers, allocated once; the CPU side of
// its passes (which quads go to the GPU in which batches, renderer.cpp, no GL
// needed); and the OpenGL side (draw_model.cpp, a current context needed).

#include <cstdint>
#include <memory>
#include <vector>

#include "render/backdrop.h"
#include "render/display_cache.h"
#include "render/display_looks.h"
#include "render/face_walk.h"
#include "render/kept_pick_pass.h"
#include "model/kernel_variant.h"
#include "render/offscreen_target.h"
#include "render/quad_batch.h"
#include "render/row_masks.h"
#include "render/view_inputs.h"

namespace cubrik {

// The display pass walks into arrays of this many quads (more if one batch is
// larger), so a walk that fits is kept for the next frames, and the rows
// walked again after edits go to the space after it; a bigger walk is drawn
// in reused space and not kept.
inline constexpr int kKeptDisplayQuads = 262144;

struct Renderer {
    KernelVariant variant = KernelVariant::Scalar;
    int quadCapacity = 0;       // quads per draw call
    QuadArrays displayQuads;    // the display pass's batches, kept for the next frame
    QuadArrays pickQuads;       // one batch of the pick pass, without normals
    std::unique_ptr<RowMasks> rowMasks;  // scratch of the face walk
    KeptPickPass keptPick;               // what a stroke's reads are drawn from
    ColourTable colourTable{};  // rebuilt by every display pass
    DisplayCache displayCache;
    OffscreenTarget offscreen;  // client-sized target of the pick pass and the image export
    ReferenceTexture referenceTexture;
    DisplayLooks looks;  // occlusion's triangles and the cell edges, made when first chosen
    // The image export: exportPixels first holds the render on the
    // background, finally the image for the TARGA writer (BGRA, rows bottom
    // to top, exactly exportWidth x exportHeight); keyPixels a band of rows
    // of the render on the key grey.
    std::vector<std::uint8_t> exportPixels;
    std::vector<std::uint8_t> keyPixels;
    int exportWidth = 0;
    int exportHeight = 0;
};

// Allocates every buffer for `quadCapacity` quads per batch. Returns 1, or 0
// when memory is exhausted (the renderer then draws nothing).
int allocateRenderer(Renderer& renderer, int quadCapacity, KernelVariant variant);

// The walk of `pass` for a frame with `view`'s model and display state.
FaceWalk faceWalkFor(const Renderer& renderer, const ViewInputs& view, FacePass pass);

// Hands the batches of the display pass to `draw` in order. They come from
// the kept quads when the palettes and the display state are those of the
// last walk, after walking again the rows round any cells that changed;
// otherwise the grid is walked. Returns 1 when it walked any row.
int produceDisplayBatches(Renderer& renderer, const ViewInputs& view, const FlushBatch& draw);

// Hands the batches of the pick pass of `mode` to `draw`.
void producePickBatches(Renderer& renderer, const ViewInputs& view, PickMode mode, const FlushBatch& draw);

// --- OpenGL: every function below needs a current context.

// Sizes the batches from the driver's GL_MAX_ELEMENTS_VERTICES, picks the
// kernel variant and allocates every buffer. Returns 1, or 0 when memory is
// exhausted (the renderer then draws nothing).
int chooseRenderer(Renderer& renderer);

// Set once at start-up for the whole run: back faces are culled, so the
// winding of each quad decides whether it is seen.
void enableBackFaceCulling();

// Deletes the renderer's GL objects; the context that made them must be current.
void releaseRenderer(Renderer& renderer);

// The display pass: lit faces in palette colours, cubes or the smoothed
// surface. Expects the projection and the rotation to be loaded; leaves
// lighting off.
void drawModel(Renderer& renderer, const ViewInputs& view);

// The pick variant of `mode`: unlit faces in pick
// colours. Expects lighting off and a white background.
void emitPickFaces(Renderer& renderer, const ViewInputs& view, PickMode mode);

// The same for `walk`, a pick pass with `masks` built for it.
void emitKeptPickFaces(Renderer& renderer, const FaceWalk& walk, const RowMasks& masks);

}  // namespace cubrik
