#pragma once
// What every tool works with: the buffers editing keeps for the whole run,
// the remap table through which tools change cells, and the context of one
// tool call. Tools are pure CPU; only the pick pass that fills the pick
// buffers touches OpenGL.

#include <array>
#include <cstdint>
#include <memory>

#include "edit/mirror.h"
#include "model/cut_away.h"
#include "model/edit_state.h"
#include "model/pick_buffer.h"
#include "model/voxel_model.h"
#include "model/kernel_variant.h"

namespace cubrik {

// Marsaglia's xorshift128, seeded once per run with the standard values and
// never reseeded, so successive Spray strokes continue one sequence.
struct XorShift128 {
    std::uint32_t x = 123456789, y = 362436069, z = 521288629, w = 88675123;

    std::uint32_t next() {
        const std::uint32_t t = x ^ (x << 11);
        x = y;
        y = z;
        z = w;
        w = w ^ (w >> 19) ^ t ^ (t >> 8);
        return w;
    }
};

inline constexpr int kScratchSide = 104;  // the grid with a margin of two cells
inline constexpr int kBrushScratchBytes = kScratchSide * kScratchSide * kScratchSide;
inline constexpr int kRowCount = kGridSize * kGridSize;  // rows of 100 cells, fixed (y, z)

// The old-code to new-code table every brush applies: cells[i] = remap[cells[i]].
using BrushRemap = std::array<std::uint8_t, kLastCode + 1>;

struct EditingBuffers {
    KernelVariant variant = KernelVariant::Scalar;
    PickBuffer currentPick;   // filled by each read of the pick pass
    PickBuffer previousPick;  // the read before, after swapPickBuffers
    // Spray noise or neighbour counts in the first 1,000,000 bytes; the whole
    // of it while the neighbour counts are summed.
    std::unique_ptr<std::uint8_t[]> brushScratch;
    // Scalar Punch only: the projected centre (x, y) of every cell, and per row
    // of cells three boxes (min x, min y, max x, max y) of its thirds.
    std::unique_ptr<std::int16_t[]> projectedCells;  // 2 per cell
    std::unique_ptr<std::int16_t[]> rowBounds;       // 12 per row
    BrushRemap brushRemap{};
    XorShift128 sprayRandom;
};

// Allocates the scratch buffers for `variant` (the Punch projections only for
// the scalar one) and gives both pick buffers their first 1 x 1 size.
// Returns 1, or 0 when memory is exhausted.
int allocateEditingBuffers(EditingBuffers& buffers, KernelVariant variant);

// One tool call: the document, the selection it paints with, the buffers,
// the client height H (window row y is frame-buffer row H - 1 - y), the
// mirror planes every change is repeated in and the cells the cut-away leaves
// in view, the only ones a change may reach.
struct BrushContext {
    VoxelModel& model;
    const EditState& edit;
    EditingBuffers& buffers;
    int clientHeight = 1;
    MirrorPlanes mirror{};
    VisibleSlab visible{};
};

// The remap for target code t (0 removes): empty cells and the unlocked colours
// of the current material become t; the other material and locked colours stay.
void setBrushRemap(BrushContext& brush, int target);

// The remap that fills empty cells with t and leaves every filled cell alone.
void setFillEmptyRemap(BrushContext& brush, int target);

inline void applyRemap(const BrushRemap& remap, std::uint8_t& cell) {
    if (cell <= kLastCode) cell = remap[cell];
}

// Applies the brush's remap to cells by index, and to their mirror images when
// the brush mirrors; hidden cells, originals or images, stay as they are.
// Made once per tool call, so the kernels' loops test local flags rather
// than the planes and the cut.
struct RemapCells {
    std::uint8_t* cells;
    const BrushRemap& remap;
    MirrorImages mirror;
    bool mirrored;
    VisibleSlab visible;
    bool clipped;

    explicit RemapCells(const BrushContext& brush)
        : cells(brush.model.cells),
          remap(brush.buffers.brushRemap),
          mirror(brush.mirror),
          mirrored(mirror.any()),
          visible(brush.visible),
          clipped(!visible.whole()) {}

    void operator()(int index) const {
        if (!clipped || visible.holdsIndex(index)) applyRemap(remap, cells[index]);
        // A surface brush names the same cell from many pixels in a row; its
        // images need the (idempotent) remap only once.
        if (!mirrored || index == lastMirrored) return;
        lastMirrored = index;
        mirror.forEachImage(index % kGridSize, index / kGridSize % kGridSize, index / (kGridSize * kGridSize),
                            [&](int image) {
                                if (!clipped || visible.holdsIndex(image)) applyRemap(remap, cells[image]);
                            });
    }

    mutable int lastMirrored = -1;

};

// RemapCells for the cells of one row of the grid, as the kernels that scan
// the brush's box row by row visit them: the rows of the images, and which
// of them are in view, are found once per row.
// Everything is copied in, so the loops keep it in registers rather than
// reloading it after every cell they write.
struct RemapRow {
    std::uint8_t* const cells;
    const std::uint8_t* const remap;
    const MirrorImages& mirror;
    const int rowStart;
    const bool rowInView;
    const int lowX, highX;  // the cells of every row in view along x
    MirrorImages::RowImage images[7];
    int imageCount;

    RemapRow(const RemapCells& cells, int y, int z)
        : cells(cells.cells),
          remap(cells.remap.data()),
          mirror(cells.mirror),
          rowStart(cellIndex(0, y, z)),
          rowInView(cells.visible.holdsRow(y, z)),
          lowX(cells.visible.axis == 0 ? cells.visible.low : 0),
          highX(cells.visible.axis == 0 ? cells.visible.high : kGridSize - 1),
          imageCount(cells.mirrored ? cells.mirror.rowImages(y, z, images) : 0) {
        if (!cells.clipped) return;
        int kept = 0;  // only the image rows in view
        for (int k = 0; k < imageCount; ++k) {
            const int start = images[k].rowStart;
            if (cells.visible.holdsRow(start / kGridSize % kGridSize, start / (kGridSize * kGridSize)))
                images[kept++] = images[k];
        }
        imageCount = kept;
    }

    void operator()(int x) const {
        if (rowInView && x >= lowX && x <= highX) change(rowStart + x);
        for (int k = 0; k < imageCount; ++k) {
            const int ix = images[k].flipsX ? mirror.imageOfX(x) : x;  // -1 outside the grid
            const int image = images[k].rowStart + ix;
            if (ix >= lowX && ix <= highX && image != rowStart + x) change(image);
        }
    }

private:
    void change(int index) const {
        std::uint8_t& cell = cells[index];
        if (cell <= kLastCode) cell = remap[cell];
    }
};

// Sample k of n on a stroke segment, k = 1..n, truncating toward zero; the
// previous step already covered k = 0.
inline int strokeSample(int from, int to, int k, int n) { return from + (to - from) * k / n; }

// The kernels that come in a vector and a scalar variant, chosen once.
struct ToolKernels {
    // A Carve or Build stroke step; count is the step count of the stroke.
    int (*ballStrokeKernel)(BrushContext&, int x0, int y0, int x1, int y1, int target, int count);
    // Punch: once at stroke start, then a stamp, then a kernel per step.
    int (*punchPrepare)(BrushContext&);
    int (*punchStamp)(BrushContext&, int x, int y);
    int (*punchStrokeKernel)(BrushContext&, int x0, int y0, int x1, int y1, int count);
};

ToolKernels toolKernelsFor(KernelVariant variant);

// One step of the brush size, as the wheel and the keys C and V take it: down
// for delta < 0 (not below 1), up for delta > 0 (from sizes below 24); the
// steps grow with the size, so the ladders up (1..7, 9, 11, 13, 16, 19, 22,
// 25) and down (25, 22, 19, 16, 13, 10, 8, 6..1) differ. Returns 1.
int stepBrushSize(std::int32_t& brushSize, int delta);

}  // namespace cubrik
