#pragma once
// The model record's view as plain 4 x 4 arithmetic in double precision, so
// the tools map between cells and window pixels without OpenGL.

#include <array>

#include "model/voxel_model.h"

namespace cubrik {

using Matrix4 = std::array<double, 16>;  // column-major
using Vector4 = std::array<double, 4>;

// projection . rotation: model coordinates to clip coordinates.
Matrix4 viewTransform(const VoxelModel& model);

Vector4 transform(const Matrix4& m, const Vector4& v);

// The inverse of m; false, with `inverse` unspecified, when m is singular.
bool invert(const Matrix4& m, Matrix4& inverse);

}  // namespace cubrik
