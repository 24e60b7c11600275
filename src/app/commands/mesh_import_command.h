#pragma once
// File ▸ Import mesh…: a mesh file voxelized in place of the model.

#include "app/state/app.h"

namespace cubrik {

// The unsaved-changes question, the file, the cells and solid or surface;
// reading and voxelizing run with progress and Cancel. The model is replaced
// as Open replaces it, in one undo step, named after the mesh with .cbk; a
// failure says why and changes nothing.
void importMesh(App& app);

}  // namespace cubrik
