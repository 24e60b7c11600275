#include "edit/centre_plane.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "edit/view_transform.h"

namespace cubrik {

namespace {

// The cell under (x, y) on the centre plane, clamped to the grid, and how far
// in window pixels the clamp moved the point; nothing for a degenerate view.
struct PlaneHit {
    int cell = -1;
    double dx = 0, dy = 0;
};

std::optional<PlaneHit> centrePlaneHit(const VoxelModel& model, int clientHeight, int x, int y) {
    const Matrix4 m = viewTransform(model);
    Matrix4 inverse{};
    if (!invert(m, inverse)) return std::nullopt;
    const double windowY = clientHeight - y - 1;
    const double depth = windowPointOf(model, m, {0.0, 0.0, 0.0, 1.0})[2];
    Vector4 point = modelPointAt(model, inverse, x, windowY, depth);
    for (int axis = 0; axis < 3; ++axis) point[axis] = std::clamp(point[axis], -50.0, 50.0);
    const Vector4 back = windowPointOf(model, m, point);
    PlaneHit hit{-1, back[0] - x, back[1] - windowY};
    // Written so that a degenerate view (NaN coordinates) is rejected too.
    if (!(hit.dx * hit.dx < 1e12 && hit.dy * hit.dy < 1e12)) return std::nullopt;
    int cell[3];
    for (int axis = 0; axis < 3; ++axis) cell[axis] = std::clamp(static_cast<int>(point[axis] + 49.5), 0, kGridSize - 1);
    hit.cell = cellIndex(cell[0], cell[1], cell[2]);
    return hit;
}

}  // namespace

int unprojectToCentrePlane(const VoxelModel& model, int clientHeight, int x, int y) {
    const std::optional<PlaneHit> hit = centrePlaneHit(model, clientHeight, x, y);
    return hit && hit->dx * hit->dx <= 1024.0 && hit->dy * hit->dy <= 1024.0 ? hit->cell : -1;
}

int nearestCentrePlaneCell(const VoxelModel& model, int clientHeight, int x, int y) {
    const std::optional<PlaneHit> hit = centrePlaneHit(model, clientHeight, x, y);
    return hit ? hit->cell : -1;
}

}  // namespace cubrik
