#pragma once
// The model record's view as plain 4 x 4 arithmetic in double precision, so
// the tools map between cells and window pixels without OpenGL.

#include "model/matrix4.h"
#include "model/voxel_model.h"

namespace cubrik {

// projection . rotation: model coordinates to clip coordinates.
Matrix4 viewTransform(const VoxelModel& model);

// The model axis (0 x, 1 y, 2 z) nearest the viewing direction.
int axisTowardViewer(const VoxelModel& model);

// Window coordinates (x, y, depth) of a model point under `m`, the view
// transform, as a fixed-function pipeline would place it; y counts from the
// bottom and depth runs 0..1 from the near to the far plane.
Vector4 windowPointOf(const VoxelModel& model, const Matrix4& m, const Vector4& point);

// The model point at window coordinates (x, y, depth), given the inverse of
// the view transform.
Vector4 modelPointAt(const VoxelModel& model, const Matrix4& inverse, double x, double y, double depth);

}  // namespace cubrik
