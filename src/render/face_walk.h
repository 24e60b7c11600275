#pragma once
// The CPU side of drawing the model: finds every visible face of the grid in
// the order z, y, x, face, and fills a QuadBatch with its quads. No OpenGL
// here; the flush callback decides what happens to a full batch.

#include <cstdint>

#include "model/smoothing.h"
#include "model/voxel_model.h"
#include "model/kernel_variant.h"
#include "model/pick_buffer.h"
#include "render/quad_batch.h"
#include "render/row_masks.h"

namespace cubrik {

enum class FacePass {
    Display,    // lit faces of displayed cells in palette colours
    PickSolid,  // the same faces in the cell's pick colour (2x, 2y, 2z)
    PickEmpty,  // faces of empty cells against displayed ones, seen from the empty side
};

// Palette colours as bytes by material code (entry 0 unused). Every byte
// value has an entry, as paletteColour gives one, so no stray code can read
// outside the table.
struct ColourTable {
    std::uint8_t rgb[256][3];
};

void buildColourTable(const VoxelModel& model, ColourTable& table);

struct FaceWalk {
    FacePass pass = FacePass::Display;
    const std::uint8_t* cells = nullptr;  // index x + 100 y + 10000 z
    bool showA = true;                    // the display rule
    bool showB = false;
    VisibleSlab visible{};                // cells outside it count as empty and are never picked
    bool smooth = false;                             // corners at their smoothed positions
    const SmoothingTable* smoothingTable = nullptr;  // needed when smooth
    const ColourTable* colourTable = nullptr;        // needed by the display pass
    bool occlusion = false;  // display pass: corners darkened by the cells around them
    KernelVariant variant = KernelVariant::Scalar;
};

// Corner brightness by occlusion level 0..3 (nothing around .. fully
// occluded): level 0 keeps the colour exactly, so occlusion only darkens.
inline constexpr int kOcclusionShade[4] = {256, 218, 184, 154};  // of 256

// Appends every face of the pass to `batch`; after a cell, when fewer than 6
// free quads are left, hands the batch to `flush`, and once more at the end
// if anything is left. `masks` is scratch space (zeroed once at allocation).
void walkFaces(const FaceWalk& walk, RowMasks& masks, QuadBatch& batch, const FlushBatch& flush);

// A walk taken a row at a time, for callers that keep the quads of each row.
struct FaceRowWalker {
    FaceWalk walk;
    const RowMasks* masks = nullptr;  // built by buildWalkMasks for the walk
    float moved[256][3];              // the smoothing offsets in cells, by corner code
};

void prepareRowWalker(FaceRowWalker& walker, const FaceWalk& walk, const RowMasks& masks);

// Most quads one row can have: every face of its 100 cells.
inline constexpr int kMaxRowQuads = 6 * 100;

// Appends the faces of rows first..end - 1 (index y + 100 z) to `batch`, with
// their normals, and records where each row's quads begin (as counts of the
// batch) and how many it has. Stops before a row when the batch has room for
// fewer than kMaxRowQuads more, and returns the row it stopped at, or end.
// The rows of a whole walk, one after another, give the quads walkFaces gives.
int walkFaceRows(const FaceRowWalker& walker, int first, int end, QuadBatch& batch, std::int32_t* rowFirst,
                 std::uint16_t* rowCount);

// The row masks walkFaces builds first, for walks that reuse them.
void buildWalkMasks(const FaceWalk& walk, RowMasks& masks);

// walkFaces with `masks` built already by buildWalkMasks for the same cells
// and display state.
void walkBuiltFaces(const FaceWalk& walk, const RowMasks& masks, QuadBatch& batch, const FlushBatch& flush);

}  // namespace cubrik
