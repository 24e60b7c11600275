#pragma once
// The neighbour count read cell by cell, 27 reads each: the yardstick for
// the separable count of the smoothing brush.

#include <cstdint>

#include "model/voxel_model.h"

namespace cubrik::testing {

inline void countNeighboursDirectly(const std::uint8_t* cells, std::uint8_t* counts) {
    auto inside = [](int v) { return v >= 0 && v < kGridSize; };
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x) {
                int count = 0;
                for (int dz = -1; dz <= 1; ++dz)
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx)
                            if (inside(x + dx) && inside(y + dy) && inside(z + dz))
                                count += cells[cellIndex(x + dx, y + dy, z + dz)] != 0;
                counts[cellIndex(x, y, z)] = static_cast<std::uint8_t>(count);
            }
}

}  // namespace cubrik::testing
