#include "edit/centre_plane.h"

#include <algorithm>
#include <cmath>

#include "edit/view_transform.h"

namespace cubrik {

int unprojectToCentrePlane(const VoxelModel& model, int clientHeight, int x, int y) {
    const Matrix4 m = viewTransform(model);
    Matrix4 inverse{};
    if (!invert(m, inverse)) return -1;
    const double windowY = clientHeight - y - 1;
    const double depth = windowPointOf(model, m, {0.0, 0.0, 0.0, 1.0})[2];
    Vector4 point = modelPointAt(model, inverse, x, windowY, depth);
    for (int axis = 0; axis < 3; ++axis) point[axis] = std::clamp(point[axis], -50.0, 50.0);
    const Vector4 back = windowPointOf(model, m, point);
    const double dx = back[0] - x, dy = back[1] - windowY;
    // Written so that a degenerate view (NaN coordinates) is rejected too.
    if (!(dx * dx <= 1024.0 && dy * dy <= 1024.0)) return -1;
    int cell[3];
    for (int axis = 0; axis < 3; ++axis) cell[axis] = std::clamp(static_cast<int>(point[axis] + 49.5), 0, kGridSize - 1);
    return cellIndex(cell[0], cell[1], cell[2]);
}

}  // namespace cubrik
