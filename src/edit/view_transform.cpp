#include "edit/view_transform.h"

#include <cmath>

namespace cubrik {

Matrix4 viewTransform(const VoxelModel& model) {
    Matrix4 product{};
    multiply(model.projection, model.rotation, product.data());
    return product;
}

int axisTowardViewer(const VoxelModel& model) {
    // Row 2 of the rotation takes model coordinates to the eye's depth.
    int best = 0;
    for (int axis = 1; axis < 3; ++axis)
        if (std::abs(model.rotation[2 + 4 * axis]) > std::abs(model.rotation[2 + 4 * best])) best = axis;
    return best;
}

Vector4 windowPointOf(const VoxelModel& model, const Matrix4& m, const Vector4& point) {
    const Vector4 clip = transform(m, point);
    const std::int32_t* v = model.viewport;
    Vector4 window{};
    window[0] = v[0] + v[2] * (clip[0] / clip[3] + 1.0) / 2.0;
    window[1] = v[1] + v[3] * (clip[1] / clip[3] + 1.0) / 2.0;
    window[2] = (clip[2] / clip[3] + 1.0) / 2.0;
    return window;
}

Vector4 modelPointAt(const VoxelModel& model, const Matrix4& inverse, double x, double y, double depth) {
    const std::int32_t* v = model.viewport;
    const Vector4 ndc{2.0 * (x - v[0]) / v[2] - 1.0, 2.0 * (y - v[1]) / v[3] - 1.0, 2.0 * depth - 1.0, 1.0};
    const Vector4 point = transform(inverse, ndc);
    return {point[0] / point[3], point[1] / point[3], point[2] / point[3], 1.0};
}

}  // namespace cubrik
