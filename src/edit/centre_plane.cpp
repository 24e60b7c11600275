#include "edit/centre_plane.h"

#include <algorithm>
#include <cmath>

#include "edit/view_transform.h"

namespace cubrik {
namespace {

// Window coordinates (x, y, depth) of a model point, as a fixed-function
// pipeline would place it; depth runs 0..1 from the near to the far plane.
Vector4 toWindow(const VoxelModel& model, const Matrix4& m, const Vector4& point) {
    const Vector4 clip = transform(m, point);
    const std::int32_t* v = model.viewport;
    Vector4 window{};
    window[0] = v[0] + v[2] * (clip[0] / clip[3] + 1.0) / 2.0;
    window[1] = v[1] + v[3] * (clip[1] / clip[3] + 1.0) / 2.0;
    window[2] = (clip[2] / clip[3] + 1.0) / 2.0;
    return window;
}

Vector4 fromWindow(const VoxelModel& model, const Matrix4& inverse, double x, double y, double depth) {
    const std::int32_t* v = model.viewport;
    const Vector4 ndc{2.0 * (x - v[0]) / v[2] - 1.0, 2.0 * (y - v[1]) / v[3] - 1.0, 2.0 * depth - 1.0, 1.0};
    const Vector4 point = transform(inverse, ndc);
    return {point[0] / point[3], point[1] / point[3], point[2] / point[3], 1.0};
}

}  // namespace

int unprojectToCentrePlane(const VoxelModel& model, int clientHeight, int x, int y) {
    const Matrix4 m = viewTransform(model);
    Matrix4 inverse{};
    if (!invert(m, inverse)) return -1;
    const double windowY = clientHeight - y - 1;
    const double depth = toWindow(model, m, {0.0, 0.0, 0.0, 1.0})[2];
    Vector4 point = fromWindow(model, inverse, x, windowY, depth);
    for (int axis = 0; axis < 3; ++axis) point[axis] = std::clamp(point[axis], -50.0, 50.0);
    const Vector4 back = toWindow(model, m, point);
    const double dx = back[0] - x, dy = back[1] - windowY;
    // Written so that a degenerate view (NaN coordinates) is rejected too.
    if (!(dx * dx <= 1024.0 && dy * dy <= 1024.0)) return -1;
    int cell[3];
    for (int axis = 0; axis < 3; ++axis) cell[axis] = std::clamp(static_cast<int>(point[axis] + 49.5), 0, kGridSize - 1);
    return cellIndex(cell[0], cell[1], cell[2]);
}

}  // namespace cubrik
