#pragma once
// Mirror editing: whatever a tool does to a cell it also does, in the same
// pass, to the cell's images under every combination of the enabled planes.

#include <array>
#include <cstdint>

#include "model/mirror_planes.h"
#include "model/voxel_model.h"

namespace cubrik {

// The planes as tables, made once per tool call: each axis's image of every
// index (-1 outside the grid), and the combinations of enabled planes.
class MirrorImages {
public:
    explicit MirrorImages(const MirrorPlanes& planes) {
        for (int axis = 0; axis < 3; ++axis)
            for (int i = 0; i < kGridSize; ++i) {
                const int at = planes.position[axis] - i;
                image_[axis][i] = static_cast<std::int16_t>(at >= 0 && at < kGridSize ? at : -1);
            }
        for (int combination = 1; combination < 8; ++combination) {
            bool enabled = true;
            for (int axis = 0; axis < 3; ++axis)
                if (combination & 1 << axis) enabled = enabled && planes.enabled[axis];
            if (enabled) combinations_[count_++] = static_cast<std::uint8_t>(combination);
        }
    }

    bool any() const { return count_ > 0; }

    // Where the images of row (y, z) of the grid lie: the start of each image
    // row in the grid, and whether x runs backwards along it. Returns how many.
    struct RowImage {
        int rowStart;
        bool flipsX;
    };
    int rowImages(int y, int z, RowImage (&out)[7]) const {
        int n = 0;
        for (int k = 0; k < count_; ++k) {
            const int c = combinations_[k];
            const int iy = c & 2 ? image_[1][y] : y, iz = c & 4 ? image_[2][z] : z;
            if ((iy | iz) >= 0) out[n++] = {cellIndex(0, iy, iz), (c & 1) != 0};
        }
        return n;
    }

    // The image of index x across the x plane, -1 outside the grid.
    int imageOfX(int x) const { return image_[0][x]; }

    // Calls change(index) for each image of cell (x, y, z) that lies in the
    // grid and differs from the cell.
    template <class Change>
    void forEachImage(int x, int y, int z, Change change) const {
        const int cell = cellIndex(x, y, z);
        for (int k = 0; k < count_; ++k) {
            const int c = combinations_[k];
            const int ix = c & 1 ? image_[0][x] : x, iy = c & 2 ? image_[1][y] : y, iz = c & 4 ? image_[2][z] : z;
            if ((ix | iy | iz) < 0) continue;
            const int image = cellIndex(ix, iy, iz);
            if (image != cell) change(image);
        }
    }

private:
    std::array<std::array<std::int16_t, kGridSize>, 3> image_{};
    std::array<std::uint8_t, 7> combinations_{};
    int count_ = 0;
};

// Calls change(index) for `cell` and then for each of its images. A change
// must be judged by the contents of the cell it is given, so the images are
// treated as if edited directly.
template <class Change>
inline void changeMirrored(const MirrorImages& mirror, int cell, Change change) {
    change(cell);
    if (!mirror.any()) return;
    mirror.forEachImage(cell % kGridSize, cell / kGridSize % kGridSize, cell / (kGridSize * kGridSize), change);
}

}  // namespace cubrik
