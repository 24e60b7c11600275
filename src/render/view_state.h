#pragma once
// What the view shows beyond the document (the cut-away, the camera's pivot
// and zoom, the reference picture, the floor grid). Kept beside the camera and
// never in VoxelModel, so undo leaves it alone.

namespace cubrik {

struct ViewState {};

}  // namespace cubrik
