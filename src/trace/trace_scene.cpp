#include "trace/trace_scene.h"

#include <algorithm>
#include <cmath>

namespace cubrik {

float srgbToLinear(float value) {
    const float v = std::clamp(value, 0.0f, 1.0f);
    return v <= 0.04045f ? v / 12.92f : std::pow((v + 0.055f) / 1.055f, 2.4f);
}

float linearToSrgb(float value) {
    const float v = std::clamp(value, 0.0f, 1.0f);
    return v <= 0.0031308f ? v * 12.92f : 1.055f * std::pow(v, 1.0f / 2.4f) - 0.055f;
}

TraceScene snapshotScene(const VoxelModel& model, const EditState& edit, const CutAway& cut) {
    TraceScene scene;
    scene.cells.assign(kCellCount, kEmpty);
    scene.bricks.assign(kBrickCount * kBrickCount * kBrickCount, 0);
    for (int code = kFirstCodeA; code <= kLastCode; ++code) {
        const Rgb& c = paletteColour(model, static_cast<std::uint8_t>(code));
        scene.albedo[code] = {srgbToLinear(c.r), srgbToLinear(c.g), srgbToLinear(c.b)};
    }
    const VisibleSlab slab = visibleSlab(cut);
    int low[3] = {kGridSize, kGridSize, kGridSize}, high[3] = {-1, -1, -1};
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x) {
                const int index = cellIndex(x, y, z);
                const std::uint8_t code = model.cells[index];
                if (code == kEmpty || !isDisplayed(edit, code) || !slab.holds(x, y, z)) continue;
                scene.cells[index] = code;
                scene.bricks[(z / kBrickSize * kBrickCount + y / kBrickSize) * kBrickCount + x / kBrickSize] = 1;
                const int at[3] = {x, y, z};
                for (int axis = 0; axis < 3; ++axis) {
                    low[axis] = std::min(low[axis], at[axis]);
                    high[axis] = std::max(high[axis], at[axis]);
                }
            }
    if (high[0] < 0) return scene;
    scene.lowestY = low[1];
    for (int axis = 0; axis < 3; ++axis) {
        scene.boxLow[axis] = static_cast<float>(low[axis]);
        scene.boxHigh[axis] = static_cast<float>(high[axis] + 1);
    }
    return scene;
}

}  // namespace cubrik
