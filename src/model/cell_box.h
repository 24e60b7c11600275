#pragma once
// A box of cells, bounds inclusive on each model axis (x, y, z as the cells
// are indexed): the selection, and the boxes the transforms move.

#include <algorithm>
#include <array>

#include "model/voxel_model.h"

namespace cubrik {

struct CellBox {
    std::array<int, 3> min{0, 0, 0};
    std::array<int, 3> max{kGridSize - 1, kGridSize - 1, kGridSize - 1};

    int size(int axis) const { return max[axis] - min[axis] + 1; }
    bool insideGrid() const {
        for (int axis = 0; axis < 3; ++axis)
            if (min[axis] < 0 || max[axis] >= kGridSize || min[axis] > max[axis]) return false;
        return true;
    }
    bool operator==(const CellBox&) const = default;
};

inline constexpr CellBox kWholeGrid{};

// The box spanning two cells.
inline CellBox boxSpanning(std::array<int, 3> a, std::array<int, 3> b) {
    CellBox box;
    for (int axis = 0; axis < 3; ++axis) {
        box.min[axis] = std::min(a[axis], b[axis]);
        box.max[axis] = std::max(a[axis], b[axis]);
    }
    return box;
}

inline std::array<int, 3> coordinatesOf(int cell) {
    return {cell % kGridSize, cell / kGridSize % kGridSize, cell / (kGridSize * kGridSize)};
}

}  // namespace cubrik
