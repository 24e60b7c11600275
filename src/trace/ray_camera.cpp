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
    double m[16];
    if (!invert(forward, inverse)) setIdentity(m);
    else std::copy(inverse.begin(), inverse.end(), m);
    // Model units have the grid centre at the origin; grid units at 50.
    const double half = kGridSize / 2.0;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 3; ++row) m[column * 4 + row] += half * m[column * 4 + 3];
    // Pixel (x, y) from the top left is at x = -1 + 2x / W, y = 1 - 2y / H.
    const double stepX = 2.0 / camera.width, stepY = -2.0 / camera.height;
    const auto plane = [&](double z, float (&point)[3], float (&right)[3], float (&down)[3]) {
        double corner[3], across[3], below[3];
        unproject(m, -1.0, 1.0, z, corner);
        unproject(m, -1.0 + stepX, 1.0, z, across);
        unproject(m, -1.0, 1.0 + stepY, z, below);
        for (int axis = 0; axis < 3; ++axis) {
            point[axis] = static_cast<float>(corner[axis]);
            right[axis] = static_cast<float>(across[axis] - corner[axis]);
            down[axis] = static_cast<float>(below[axis] - corner[axis]);
        }
    };
    plane(-1.0, rays.nearPoint, rays.nearRight, rays.nearDown);
    plane(1.0, rays.farPoint, rays.farRight, rays.farDown);
    // The eye is the one point the projection sends to w = 0 on the axis: clip (0, 0, 1, 0).
    rays.fromEye = !camera.camera.orthographic && m[11] != 0.0;
    for (int axis = 0; axis < 3 && rays.fromEye; ++axis) rays.eye[axis] = static_cast<float>(m[8 + axis] / m[11]);
    return rays;
}

void primaryRay(const RayCamera& camera, float x, float y, float (&origin)[3], float (&direction)[3]) {
    float d[3], length = 0.0f;
    for (int axis = 0; axis < 3; ++axis) {
        const float nearPoint = camera.nearPoint[axis] + x * camera.nearRight[axis] + y * camera.nearDown[axis];
        const float farPoint = camera.farPoint[axis] + x * camera.farRight[axis] + y * camera.farDown[axis];
        origin[axis] = camera.fromEye ? camera.eye[axis] : nearPoint;
        d[axis] = farPoint - origin[axis];
        length += d[axis] * d[axis];
    }
    const float scale = 1.0f / std::sqrt(length);
    for (int axis = 0; axis < 3; ++axis) direction[axis] = d[axis] * scale;
}

}  // namespace cubrik
