#include "trace/ray_camera.h"

#include <cmath>

#include "model/matrix4.h"

namespace cubrik {
namespace {

// Where the point of normalised device coordinates (x, y, z) lies, in grid units.
void unproject(const double (&m)[16], double x, double y, double z, double (&out)[3]) {
    double p[4];
    for (int row = 0; row < 4; ++row) p[row] = m[row] * x + m[row + 4] * y + m[row + 8] * z + m[row + 12];
    for (int axis = 0; axis < 3; ++axis) out[axis] = p[axis] / p[3];
}

}  // namespace

RayCamera makeRayCamera(const TraceCamera& camera) {
    RayCamera rays{};
    rays.width = camera.width;
    rays.height = camera.height;
    double projection[16], clipFromModel[16];
    viewProjection(camera.width + kViewLeft, camera.height, camera.zoomed, camera.camera, camera.rotation, projection);
    multiply(projection, camera.rotation, clipFromModel);
    Matrix4 forward, inverse;
    std::copy(std::begin(clipFromModel), std::end(clipFromModel), forward.begin());
    if (!invert(forward, inverse)) setIdentity(rays.clipToGrid);
    else std::copy(inverse.begin(), inverse.end(), rays.clipToGrid);
    // Model units have the grid centre at the origin; grid units at 50.
    const double half = kGridSize / 2.0;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 3; ++row) rays.clipToGrid[column * 4 + row] += half * rays.clipToGrid[column * 4 + 3];
    // The eye is the one point the projection sends to w = 0 on the axis: clip (0, 0, 1, 0).
    const double* m = rays.clipToGrid;
    rays.fromEye = !camera.camera.orthographic && m[11] != 0.0;
    for (int axis = 0; axis < 3 && rays.fromEye; ++axis) rays.eye[axis] = m[8 + axis] / m[11];
    return rays;
}

void primaryRay(const RayCamera& camera, double x, double y, float (&origin)[3], float (&direction)[3]) {
    const double ndcX = 2.0 * x / camera.width - 1.0, ndcY = 1.0 - 2.0 * y / camera.height;
    double nearPoint[3], farPoint[3];
    unproject(camera.clipToGrid, ndcX, ndcY, -1.0, nearPoint);
    unproject(camera.clipToGrid, ndcX, ndcY, 1.0, farPoint);
    double d[3], length = 0.0;
    for (int axis = 0; axis < 3; ++axis) {
        d[axis] = farPoint[axis] - nearPoint[axis];
        length += d[axis] * d[axis];
    }
    length = std::sqrt(length);
    for (int axis = 0; axis < 3; ++axis) {
        origin[axis] = static_cast<float>(camera.fromEye ? camera.eye[axis] : nearPoint[axis]);
        direction[axis] = static_cast<float>(d[axis] / length);
    }
}

}  // namespace cubrik
