#pragma once
// The cells a path-traced picture is made of: a copy taken when the render
// starts, so that editing the model afterwards leaves a render in progress
// alone. It keeps what the view shows (the cells the cut-away and the display
// rule leave in view) with each code's colour already in linear light, and a
// coarse occupancy grid that lets rays skip empty space.

#include <array>
#include <cstdint>
#include <vector>

#include "model/cut_away.h"
#include "model/edit_state.h"
#include "model/voxel_model.h"

namespace cubrik {

// Cells per edge of one occupancy brick, and bricks per edge of the grid.
inline constexpr int kBrickSize = 4;
inline constexpr int kBrickCount = kGridSize / kBrickSize;

struct LinearRgb {
    float r, g, b;
};

struct TraceScene {
    std::vector<std::uint8_t> cells;                 // kCellCount codes, index x + 100 y + 10000 z; 0 empty
    std::vector<std::uint8_t> bricks;                // kBrickCount^3 flags: 1 where a brick holds some cell
    std::array<LinearRgb, kLastCode + 1> albedo{};   // per material code, linear; [0] unused
    int lowestY = kGridSize;                         // the lowest occupied cell row; kGridSize when empty
    // The box round the occupied cells in grid units (cell i spans i..i + 1);
    // rays are clipped to it before they walk the bricks.
    float boxLow[3] = {0, 0, 0};
    float boxHigh[3] = {0, 0, 0};

    bool empty() const { return lowestY == kGridSize; }
};

// sRGB channel value 0..1 to linear light, and back (both clamp to 0..1).
float srgbToLinear(float value);
float linearToSrgb(float value);

// Snapshots the cells of `model` that the view shows: those `edit`'s display
// rule draws and `cut` leaves in view, coloured by the palettes as they are now.
TraceScene snapshotScene(const VoxelModel& model, const EditState& edit, const CutAway& cut);

}  // namespace cubrik
