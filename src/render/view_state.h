#pragma once
// What the view shows beyond the document (the cut-away, the camera's pivot
// and zoom, the reference picture, the floor grid). Kept beside the camera and
// never in VoxelModel, so undo leaves it alone.

#include "model/cut_away.h"

namespace cubrik {

struct ViewState {
    CutAway cut;  // off at start; New and Open turn it off
};

}  // namespace cubrik
