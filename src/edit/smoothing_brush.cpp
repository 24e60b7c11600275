#include "edit/smoothing_brush.h"

#include <algorithm>
#include <cstring>

#include "edit/sweep_segment.h"

namespace cubrik {
namespace {

constexpr int kRow = kScratchSide;
constexpr int kPlane = kScratchSide * kScratchSide;
constexpr int kMostlyEmpty = 13;  // 14 or more of 27 is a filled majority

// Replaces each of the lines 1..100 (`length` bytes, `stride` apart from
// `line0`) by its sum with the lines either side as they were before. No sum
// exceeds 27, so whole lines are added bytewise.
void sumWithNeighbourLines(std::uint8_t* line0, int stride, int length, std::uint8_t* before) {
    std::memcpy(before, line0, length);
    for (int k = 1; k <= kGridSize; ++k) {
        std::uint8_t* line = line0 + k * stride;
        const std::uint8_t* next = line + stride;
        for (int i = 0; i < length; ++i) {
            const std::uint8_t original = line[i];
            line[i] = static_cast<std::uint8_t>(before[i] + original + next[i]);
            before[i] = original;
        }
    }
}

// The two votes at one pixel, fill first: the count decides, the pick read-
// backs of the stroke start say which cells the pixel shows. Building it
// builds the removal remap.
struct SmoothingVote {
    const PickBuffer& emptyPick;
    const PickBuffer& solidPick;
    std::uint8_t* cells;
    const std::uint8_t* counts;
    const BrushRemap& removal;
    std::uint8_t fillCode;
    MirrorImages mirror;
    VisibleSlab visible;

    explicit SmoothingVote(BrushContext& brush)
        : emptyPick(brush.buffers.currentPick),
          solidPick(brush.buffers.previousPick),
          cells(brush.model.cells),
          counts(brush.buffers.brushScratch.get()),
          removal(brush.buffers.brushRemap),
          fillCode(static_cast<std::uint8_t>(targetCode(brush.edit))),
          mirror(brush.mirror),
          visible(brush.visible) {
        setBrushRemap(brush, 0);
    }

    PixelWalk everySecondPixel() const {
        return {std::max(emptyPick.width, solidPick.width), std::max(emptyPick.height, solidPick.height), 2};
    }

    void operator()(int px, int py) const {
        const int empty = pickCell(emptyPick, px, py);
        if (empty >= 0 && cells[empty] == 0 && counts[empty] > kMostlyEmpty)
            changeMirrored(mirror, empty, [&](int cell) {
                if (cells[cell] == 0 && visible.holdsIndex(cell)) cells[cell] = fillCode;
            });
        const int solid = pickCell(solidPick, px, py);
        if (solid >= 0 && counts[solid] <= kMostlyEmpty)
            changeMirrored(mirror, solid, [&](int cell) {
                if (visible.holdsIndex(cell)) applyRemap(removal, cells[cell]);
            });
    }
};

}  // namespace

void countNeighbours(const std::uint8_t* cells, std::uint8_t* scratch) {
    std::memset(scratch, 0, kBrushScratchBytes);
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y) {
            const std::uint8_t* from = cells + cellIndex(0, y, z);
            std::uint8_t* to = scratch + (z + 1) * kPlane + (y + 1) * kRow + 1;
            for (int x = 0; x < kGridSize; ++x) to[x] = from[x] != 0;
        }
    std::uint8_t before[kPlane];
    sumWithNeighbourLines(scratch, kPlane, kPlane, before);  // along z, whole planes at once
    for (int z = 1; z <= kGridSize; ++z) sumWithNeighbourLines(scratch + z * kPlane, kRow, kRow, before);
    // Along x, written straight to the cell index: every destination lies
    // before its own source row and all the rows still to be read.
    std::uint8_t row[kGridSize + 2];
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y) {
            std::memcpy(row, scratch + (z + 1) * kPlane + (y + 1) * kRow, sizeof row);
            std::uint8_t* to = scratch + cellIndex(0, y, z);
            for (int x = 0; x < kGridSize; ++x) to[x] = static_cast<std::uint8_t>(row[x] + row[x + 1] + row[x + 2]);
        }
}

int smoothingStart(BrushContext& brush, int x, int y) {
    const SmoothingVote vote(brush);
    if (brush.model.brushSize == 1) {
        vote(x, y);
        return 1;
    }
    // Narrower than the steps' radius: (1 - 0.9 / size) against (1.1 - 1 / size).
    const double scale = 1.0 - static_cast<double>(0.9f) / brush.model.brushSize;
    const int r = std::max(1, static_cast<int>(scale * brush.model.brushRadiusPx));
    visitDisc(vote.everySecondPixel(), x, y, r, vote);
    return 1;
}

int smoothingStep(BrushContext& brush, int x0, int y0, int x1, int y1) {
    const SmoothingVote vote(brush);
    const int r = std::max(1, surfaceRadius(brush.model.brushSize, brush.model.brushRadiusPx));
    sweepSegment(x0, y0, x1, y1, r, vote.everySecondPixel(), vote);
    return 1;
}

}  // namespace cubrik
