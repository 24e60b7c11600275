#pragma once
// A brush context as an 800 x 600 window shows it in the front view, with a
// hand-painted pick read-back instead of a pick pass.

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "edit/brush.h"
#include "render/camera.h"
#include "support/model_builders.h"

namespace cubrik::testing {

// In this view the grid centre projects to window pixel (432, 299), and a
// cell is about 4.26 pixels wide on the centre plane.
inline constexpr int kCentreX = 432, kCentreY = 299;

struct FrontViewScene {
    ModelStore store = makeStore();
    EditState edit;
    EditingBuffers buffers;
    BrushContext brush{*store.model, edit, buffers, 600};

    explicit FrontViewScene(KernelVariant variant) {
        if (!allocateEditingBuffers(buffers, variant) || !preparePickBuffer(buffers.currentPick, 800, 600))
            throw std::runtime_error("out of memory");
        VoxelModel& m = model();
        presetView(m, kFrontView);
        viewProjection(800, 600, false, ViewCamera{}, m.rotation, m.projection);
        const std::int32_t viewport[4] = {kViewLeft, 0, 800 - kViewLeft, 600};
        std::copy_n(viewport, 4, m.viewport);
        m.brushSize = 3;
        m.brushRadiusPx = 6.0f;
        std::fill_n(buffers.currentPick.pixels.get(), 800 * 600 * 4, std::uint8_t{255});  // background
    }

    VoxelModel& model() { return *store.model; }

    // Window pixel (x, y), y from the top, shows cell (cx, cy, cz) in the pick read.
    void showInPick(int x, int y, int cx, int cy, int cz) {
        std::uint8_t* p = buffers.currentPick.pixels.get() + 4 * (x + 800 * (600 - 1 - y));
        p[0] = static_cast<std::uint8_t>(2 * cx);
        p[1] = static_cast<std::uint8_t>(2 * cy);
        p[2] = static_cast<std::uint8_t>(2 * cz);
    }

    int count(std::uint8_t code) { return static_cast<int>(std::count(std::begin(model().cells), std::end(model().cells), code)); }

    bool sameCells(const FrontViewScene& other) const {
        return std::memcmp(store.model->cells, other.store.model->cells, kCellCount) == 0;
    }
};

// Every cell of the cube [from, to]^3 filled with `code`.
inline void fillCube(VoxelModel& model, int from, int to, std::uint8_t code) {
    for (int z = from; z <= to; ++z)
        for (int y = from; y <= to; ++y)
            for (int x = from; x <= to; ++x) setCell(model, x, y, z, code);
}

}  // namespace cubrik::testing
