#pragma once
// What both Punch variants share: the clip coordinates of every cell centre
// as the centre of cell (0, 0, 0) plus whole steps along the grid axes, and
// the square's size and row.

#include <cstdint>

#include "edit/brush.h"
#include "edit/view_transform.h"

namespace cubrik {

struct CellLattice {
    Vector4 origin;  // clip coordinates of the centre of cell (0, 0, 0)
    Vector4 stepI, stepJ, stepK;
};

CellLattice cellLattice(const VoxelModel& model);

inline int punchHalfSize(const VoxelModel& model) {
    return static_cast<std::int16_t>(static_cast<int>(model.brushRadiusPx));
}

// The tool works in frame-buffer rows, counted from the bottom.
inline int frameBufferRow(const BrushContext& brush, int y) { return brush.clientHeight - y - 1; }

}  // namespace cubrik
