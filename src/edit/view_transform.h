#pragma once
// The model record's view as plain 4 x 4 arithmetic in double precision, so
// the tools map between cells and window pixels without OpenGL.

#include "model/matrix4.h"
#include "model/voxel_model.h"

namespace cubrik {

// projection . rotation: model coordinates to clip coordinates.
Matrix4 viewTransform(const VoxelModel& model);

}  // namespace cubrik
