// The scalar Punch variant: one projection per stroke, then stamps that skip
// whole thirds of rows by their bounding boxes.
#include <algorithm>

#include "edit/punch_brush.h"
#include "edit/punch_lattice.h"

namespace cubrik {
namespace {

// Cells 0..33, 34..65 and 66..99 of a row; the boxes span the projected
// centres of cells 0 and 33, 33 and 66, 66 and 99.
constexpr int kPieceFirst[4] = {0, 34, 66, kGridSize};
constexpr int kBoxEnds[4] = {0, 33, 66, 99};

// Truncated toward zero and kept as 16 bits. Zoomed in, a cell far off the
// view can land tens of thousands of pixels out: it saturates rather than
// wraps round into the view.
std::int16_t toPixel(double window) { return static_cast<std::int16_t>(std::clamp(window, -32768.0, 32767.0)); }

struct OpenSquare {
    int left, right, bottom, top;  // all four bounds excluded
};

bool overlaps(const OpenSquare& s, const std::int16_t* box) {
    return s.left < box[2] && box[0] < s.right && s.bottom < box[3] && box[1] < s.top;
}

bool contains(const OpenSquare& s, const std::int16_t* point) {
    return s.left < point[0] && point[0] < s.right && s.bottom < point[1] && point[1] < s.top;
}

}  // namespace

int punchPrepareScalar(BrushContext& brush) {
    const VoxelModel& model = brush.model;
    const CellLattice lattice = cellLattice(model);
    const double vx = model.viewport[0], vy = model.viewport[1], vw = model.viewport[2], vh = model.viewport[3];
    std::int16_t* projected = brush.buffers.projectedCells.get();
    for (int k = 0; k < kGridSize; ++k)
        for (int j = 0; j < kGridSize; ++j) {
            // Only x, y and w matter for the window position.
            double row[4];
            for (int c = 0; c < 4; ++c) row[c] = lattice.origin[c] + j * lattice.stepJ[c] + k * lattice.stepK[c];
            // Separate x and y runs let the compiler vectorise the division.
            std::int16_t wx[kGridSize], wy[kGridSize];
            for (int i = 0; i < kGridSize; ++i) {
                const double cx = row[0] + i * lattice.stepI[0], cy = row[1] + i * lattice.stepI[1];
                const double cw = row[3] + i * lattice.stepI[3];
                wx[i] = toPixel(vx + vw * (cx / cw + 1.0) / 2.0);
                wy[i] = toPixel(vy + vh * (cy / cw + 1.0) / 2.0);
            }
            for (int i = 0; i < kGridSize; ++i, projected += 2) {
                projected[0] = wx[i];
                projected[1] = wy[i];
            }
        }

    projected = brush.buffers.projectedCells.get();
    std::int16_t* bounds = brush.buffers.rowBounds.get();
    for (int row = 0; row < kRowCount; ++row)
        for (int piece = 0; piece < 3; ++piece) {
            const std::int16_t* a = projected + 2 * (kGridSize * row + kBoxEnds[piece]);
            const std::int16_t* b = projected + 2 * (kGridSize * row + kBoxEnds[piece + 1]);
            *bounds++ = std::min(a[0], b[0]);
            *bounds++ = std::min(a[1], b[1]);
            *bounds++ = std::max(a[0], b[0]);
            *bounds++ = std::max(a[1], b[1]);
        }
    return 1;
}

int punchStampScalar(BrushContext& brush, int x, int y) {
    setBrushRemap(brush, 0);
    const int a = punchHalfSize(brush.model), row = frameBufferRow(brush, y);
    const OpenSquare square{x - a, x + a, row - a, row + a};
    const std::int16_t* projected = brush.buffers.projectedCells.get();
    const std::int16_t* bounds = brush.buffers.rowBounds.get();
    const RemapCells remap(brush);
    for (int cellRow = 0; cellRow < kRowCount; ++cellRow)
        for (int piece = 0; piece < 3; ++piece) {
            if (!overlaps(square, bounds + 12 * cellRow + 4 * piece)) continue;
            for (int cell = kGridSize * cellRow + kPieceFirst[piece]; cell < kGridSize * cellRow + kPieceFirst[piece + 1];
                 ++cell)
                if (contains(square, projected + 2 * cell)) remap(cell);
        }
    return 1;
}

int punchStrokeKernelScalar(BrushContext& brush, int x0, int y0, int x1, int y1, int count) {
    int result = 0;
    for (int k = 1; k <= count; ++k)
        result = punchStampScalar(brush, strokeSample(x0, x1, k, count), strokeSample(y0, y1, k, count));
    return result;
}

}  // namespace cubrik
