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
    KernelVariant variant = KernelVariant::Scalar;
};

// Appends every face of the pass to `batch`; after a cell, when fewer than 6
// free quads are left, hands the batch to `flush`, and once more at the end
// if anything is left. `masks` is scratch space (zeroed once at allocation).
void walkFaces(const FaceWalk& walk, RowMasks& masks, QuadBatch& batch, const FlushBatch& flush);

}  // namespace cubrik
