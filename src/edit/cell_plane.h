#pragma once
// Cell mode's geometry: the line of model points under a window pixel, the
// face of a cell it enters, and the cell of a layer it crosses, so a drag
// keeps to the plane of the face it began on.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "model/voxel_model.h"

namespace cubrik {

using CellCoordinates = std::array<int, 3>;

// Model coordinates: cell i spans i − 50 .. i − 49 along each axis.
struct PointerRay {
    std::array<double, 3> origin;     // on the near plane
    std::array<double, 3> direction;  // to the far plane
};

// The ray under window pixel (x, y), y from the top of a client area
// `clientHeight` high, through the model record's view; nothing for a
// degenerate view.
std::optional<PointerRay> pointerRayAt(const VoxelModel& model, int clientHeight, int x, int y);

struct CellFace {
    int axis;
    int side;  // +1: the face toward the positive axis
};

// The face through which the ray enters `cell`'s cube (or, when it misses,
// the face it comes nearest entering).
CellFace faceEntered(const PointerRay& ray, int cell);

// One layer of cells across an axis, read where the pointer crosses the
// model coordinate `at` along that axis.
struct CellPlane {
    int axis;
    int layer;  // the cells' index along the axis; may lie outside the grid
    double at;
};

// The layer's cell under the pointer, nothing when the ray runs along the
// plane. The other two coordinates may lie outside the grid, by one at most.
std::optional<CellCoordinates> cellUnderPointer(const CellPlane& plane, const PointerRay& ray);

// Calls visit(cell) for each cell of a line of cells from `from` (left out) to
// `to`, one cell a step along the longer of the differences.
template <class Visit>
void forEachCellAfter(const CellCoordinates& from, const CellCoordinates& to, Visit visit) {
    int steps = 0;
    for (int axis = 0; axis < 3; ++axis) steps = std::max(steps, std::abs(to[axis] - from[axis]));
    for (int k = 1; k <= steps; ++k) {
        CellCoordinates cell;
        for (int axis = 0; axis < 3; ++axis)
            cell[axis] = from[axis] + static_cast<int>(std::lround(double(to[axis] - from[axis]) * k / steps));
        visit(cell);
    }
}

inline bool insideGrid(const CellCoordinates& cell) {
    return cell[0] >= 0 && cell[1] >= 0 && cell[2] >= 0 && cell[0] < kGridSize && cell[1] < kGridSize &&
           cell[2] < kGridSize;
}

}  // namespace cubrik
