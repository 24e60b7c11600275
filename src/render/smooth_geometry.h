#pragma once
// The normal of a smoothed quad, in single precision. The vector kernel does
// the same operations in the same order, so every variant gives the same bits.

#include <cmath>

namespace cubrik {

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
