#pragma once
// Mirror editing: whatever a tool does to a cell it also does, in the same
// pass, to the cell's images under every combination of the enabled planes.

#include "model/mirror_planes.h"
#include "model/voxel_model.h"

namespace cubrik {

// Calls change(index) for `cell` and then for each of its images that lies in
// the grid and differs from it. A change must be judged by the contents of the
// cell it is given, so the images are treated as if edited directly.
template <class Change>
inline void changeMirrored(const MirrorPlanes& mirror, int cell, Change change) {
    change(cell);
    if (!mirror.any()) return;
    const int coordinate[3] = {cell % kGridSize, cell / kGridSize % kGridSize, cell / (kGridSize * kGridSize)};
    constexpr int kStride[3] = {1, kGridSize, kGridSize * kGridSize};
    for (int planes = 1; planes < 8; ++planes) {
        int image = 0;
        bool kept = true;
        for (int axis = 0; axis < 3 && kept; ++axis) {
            int at = coordinate[axis];
            if (planes & 1 << axis) {
                at = mirror.position[axis] - at;
                kept = mirror.enabled[axis] && at >= 0 && at < kGridSize;
            }
            image += at * kStride[axis];
        }
        if (kept && image != cell) change(image);
    }
}

}  // namespace cubrik
