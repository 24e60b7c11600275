#pragma once
// Everything one frame of the 3-D view is drawn from.

#include <array>
#include <cstdint>

#include <optional>

#include "model/cell_box.h"
#include "model/cut_away.h"
#include "model/edit_state.h"
#include "model/mirror_planes.h"
#include "model/voxel_model.h"
#include "render/device_frame.h"
#include "render/view_state.h"

namespace cubrik {

// 0x00BBGGRR: red 128, green 128, blue 255.
inline constexpr std::uint32_t kDefaultBackgroundColor = 0xff8080;

struct ViewInputs {
    ModelStore& store;      // drawView writes the record's viewport and projection
    const EditState& edit;  // the display rule
    bool smoothDisplay = true;
    bool zoomed = false;
    bool rotateActive = false;  // a trackball drag is under way: the grid box shows
    bool panelGesture = false;  // ... unless the gesture belongs to the panel
    int clientWidth = 1;        // the whole client area; the view is (W - 64) x H
    int clientHeight = 1;
    std::uint32_t backgroundColor = kDefaultBackgroundColor;  // 0x00BBGGRR
    bool cursorKnown = false;   // the brush outline is drawn where the pointer is now
    bool squareOutline = false; // the current tool's brush is a square, not a disc
    MirrorPlanes mirror{};      // the enabled planes are outlined across the grid
    std::optional<CellBox> selection{};  // outlined round its cells
    std::array<std::optional<std::array<int, 3>>, 2> pickedCorners{};  // a dragged box's corner cells, outlined
    CutAway cut{};              // hides cells from the drawing and the pick pass; its plane is outlined
    int cursorX = 0, cursorY = 0;
    ViewCamera camera{};  // pivot and zoom
    // Behind the model in the window's view only: never picked, exported or in an image.
    const ReferencePicture* reference = nullptr;
    float referenceOpacity = 0.5f;
    bool floorGrid = false;
    bool occlusion = false;  // the display's corners darkened by the cells round them
    bool cellEdges = false;  // each cube face outlined
    DeviceFrame device{};       // the frame's pixels; the pick pass and the image export work in client pixels
};

}  // namespace cubrik
