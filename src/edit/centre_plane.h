#pragma once
// Maps a window pixel to the cell on the plane through the grid centre that
// faces the viewer, so Build can add material where no face is under the
// cursor.

#include "model/voxel_model.h"

namespace cubrik {

// The cell under window pixel (x, y), y from the top of a client area
// `clientHeight` pixels high, on the plane through the grid centre; -1 when
// the point, clamped to the grid, lands more than 32 pixels from the cursor
// along either axis.
int unprojectToCentrePlane(const VoxelModel& model, int clientHeight, int x, int y);

// The same cell with no distance limit: a pixel off the grid picks the
// nearest cell on its edge. -1 only when the view cannot be inverted.
int nearestCentrePlaneCell(const VoxelModel& model, int clientHeight, int x, int y);

}  // namespace cubrik
