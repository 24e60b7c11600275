#pragma once
// A ray's walk through the cell grid: brick by brick over the coarse
// occupancy grid, and cell by cell only inside bricks that hold cells.
// Coordinates are grid units: cell (x, y, z) spans x..x + 1 and so on.

#include <cstdint>

#include "trace/trace_scene.h"

namespace cubrik {

struct GridHit {
    float t = 0.0f;          // distance along the ray's direction
    int axis = 0;            // the hit face's normal is along this axis ...
    int sign = 1;            // ... pointing this way
    float face = 0.0f;       // the face's coordinate along `axis`
    std::uint8_t code = 0;   // the cell's material code
};

// The first cell the ray origin + t direction meets for t in (0, tMax).
// `inverse` holds 1 / direction per axis (infinite where it is 0). A ray that
// starts inside a cell does not see that cell.
bool traceGrid(const TraceScene& scene, const float (&origin)[3], const float (&direction)[3],
               const float (&inverse)[3], float tMax, GridHit& hit);

}  // namespace cubrik
