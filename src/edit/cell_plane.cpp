#include "edit/cell_plane.h"

#include <limits>

#include "edit/view_transform.h"

namespace cubrik {

std::optional<PointerRay> pointerRayAt(const VoxelModel& model, int clientHeight, int x, int y) {
    const Matrix4 m = viewTransform(model);
    Matrix4 inverse{};
    if (!invert(m, inverse)) return std::nullopt;
    const double windowY = clientHeight - y - 1;
    const Vector4 near = modelPointAt(model, inverse, x, windowY, 0.0);
    const Vector4 far = modelPointAt(model, inverse, x, windowY, 1.0);
    PointerRay ray{};
    for (int axis = 0; axis < 3; ++axis) {
        ray.origin[axis] = near[axis];
        ray.direction[axis] = far[axis] - near[axis];
        if (!std::isfinite(ray.origin[axis]) || !std::isfinite(ray.direction[axis])) return std::nullopt;
    }
    return ray;
}

CellFace faceEntered(const PointerRay& ray, int cell) {
    const int at[3] = {cell % kGridSize, cell / kGridSize % kGridSize, cell / (kGridSize * kGridSize)};
    // The slab test: the ray enters the cube where it enters the last of the three slabs.
    CellFace face{2, 1};
    double latest = -std::numeric_limits<double>::infinity();
    for (int axis = 0; axis < 3; ++axis) {
        const double d = ray.direction[axis];
        if (d == 0.0) continue;
        const double entry = ((d > 0 ? at[axis] - 50.0 : at[axis] - 49.0) - ray.origin[axis]) / d;
        if (entry > latest) {
            latest = entry;
            face = {axis, d > 0 ? -1 : 1};
        }
    }
    return face;
}

std::optional<CellCoordinates> cellUnderPointer(const CellPlane& plane, const PointerRay& ray) {
    const double d = ray.direction[plane.axis];
    if (std::abs(d) < 1e-12) return std::nullopt;
    const double t = (plane.at - ray.origin[plane.axis]) / d;
    CellCoordinates cell{};
    for (int axis = 0; axis < 3; ++axis) {
        const double p = ray.origin[axis] + t * ray.direction[axis];
        cell[axis] = axis == plane.axis ? plane.layer
                                        : static_cast<int>(std::clamp(std::floor(p + 50.0), -1.0, double(kGridSize)));
    }
    return cell;
}

}  // namespace cubrik
