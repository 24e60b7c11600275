#pragma once
// What the view shows beyond the document (the cut-away, the camera's pivot
// and zoom, the reference picture, the floor grid). Kept beside the camera and
// never in VoxelModel, so undo leaves it alone.

#include <cstdint>
#include <optional>
#include <vector>

#include "model/cut_away.h"
#include "render/camera.h"

namespace cubrik {

// A picture to trace, lying on a face of the grid box. It is not the
// document's: only the window's view shows it, never a pick, an export or an image.
struct ReferencePicture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;  // rows top to bottom
    double corners[4][3] = {};       // model units: bottom left, bottom right, top right, top left
    std::uint32_t serial = 0;        // new for each picture, so that its texture is made again
};

// Where a Ctrl + right-button drag began.
struct PanStart {
    double pivot[3];
    int x, y;
};

struct ViewState {
    CutAway cut;  // off at start; New and Open turn it off
    ViewCamera camera;  // not saved: New and Open keep it, a replay starts from the defaults
    std::optional<PanStart> pan;
    std::optional<ReferencePicture> reference;
    bool floorGrid = false;
    bool occlusion = false;
    bool cellEdges = false;
};

}  // namespace cubrik
