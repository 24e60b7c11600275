#pragma once
// Positions and normals of the smoothed surface. The display, the pick pass
// and the exporters must agree on them bit for bit, so they share these.

#include <cmath>
#include <cstdint>

#include "model/smoothing.h"

namespace cubrik {

// World coordinate of lattice coordinate `lattice` (0..100) moved by `offset`
// eighths of a cell. Every value is a multiple of 1/8 below 64 in magnitude,
// so single precision holds it exactly however it is summed.
inline float smoothedCoordinate(int lattice, std::int32_t offset) {
    return static_cast<float>(8 * lattice + offset) * 0.125f - 50.0f;
}

// Unit normal of a quad with corners p0..p3 (x, y, z each): the cross product
// of its diagonals, which stays well defined however the corners moved.
inline void smoothedNormal(const float* p0, const float* p1, const float* p2, const float* p3, float* normal) {
    const float ax = p2[0] - p0[0], ay = p2[1] - p0[1], az = p2[2] - p0[2];
    const float bx = p3[0] - p1[0], by = p3[1] - p1[1], bz = p3[2] - p1[2];
    const float nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
    const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
    normal[0] = nx / length;
    normal[1] = ny / length;
    normal[2] = nz / length;
}

}  // namespace cubrik
