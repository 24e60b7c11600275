#pragma once
// The box that holds every model of another editor's scene, and the shift
// that centres it in the grid, as the .vox and .qb readers place scenes.

#include <algorithm>
#include <cstdint>
#include <string>

#include "model/voxel_model.h"

namespace cubrik {

struct SceneBounds {
    std::int64_t low[3] = {0, 0, 0}, high[3] = {0, 0, 0};  // high is one past the last voxel
    bool empty = true;

    // Grows the bounds to hold [start, end) on `axis`; the first model's box
    // is taken as it is.
    void include(int axis, std::int64_t start, std::int64_t end, bool firstModel) {
        low[axis] = firstModel ? start : std::min(low[axis], start);
        high[axis] = firstModel ? end : std::max(high[axis], end);
    }

    // The shift that centres the bounds in the grid. False, with `reason`
    // naming the scene's size, when it is larger than the grid.
    bool centringShift(std::int64_t (&shift)[3], std::string& reason) const {
        for (int axis = 0; axis < 3; ++axis) {
            const std::int64_t extent = high[axis] - low[axis];
            if (extent > kGridSize) {
                reason = "the scene is " + std::to_string(high[0] - low[0]) + " x " + std::to_string(high[1] - low[1]) +
                         " x " + std::to_string(high[2] - low[2]) +
                         " voxels; Cubrik models hold at most 100 x 100 x 100";
                return false;
            }
            shift[axis] = (kGridSize - extent) / 2 - low[axis];
        }
        return true;
    }
};

}  // namespace cubrik
