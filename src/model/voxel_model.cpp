#include "model/voxel_model.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "model/edit_state.h"
#include "model/matrix4.h"

namespace cubrik {

const Rgb kDefaultPalette[kPaletteSize] = {
    {1, 0, 0},   {1, 0.5f, 0}, {1, 1, 0},    {0.5f, 1, 0}, {0, 1, 0},       {0, 1, 0.5f},
    {0, 1, 1},   {0, 0.5f, 1}, {0, 0, 1},    {0.5f, 0, 1}, {1, 0, 1},       {1, 0, 0.5f},
    {0, 0, 0},   {0.25f, 0.25f, 0.25f},      {0.5f, 0.5f, 0.5f},            {1, 1, 1},
};

const Rgb& paletteColour(const VoxelModel& model, std::uint8_t code) {
    return isMaterialB(code) ? model.paletteB[(code - kFirstCodeB) & 15] : model.paletteA[(code - kFirstCodeA) & 15];
}

int resetModel(ModelStore& store) {
    if (!store.model) {
        store.model.reset(new (std::nothrow) VoxelModel());  // zero-filled
        if (!store.model) return 0;
        std::copy(std::begin(kDefaultPalette), std::end(kDefaultPalette), store.model->paletteA);
        std::copy(std::begin(kDefaultPalette), std::end(kDefaultPalette), store.model->paletteB);
    }
    VoxelModel& m = *store.model;
    setIdentity(m.projection);
    setIdentity(m.dragStartRotation);
    setIdentity(m.rotation);
    std::memset(m.cells, 0, sizeof m.cells);
    m.viewport[0] = 0;
    m.viewport[1] = 0;
    m.viewport[2] = 1;
    m.viewport[3] = 1;
    m.dragStartX = 0;
    m.dragStartY = 0;
    m.lastStrokeX = 0;
    m.lastStrokeY = 0;
    m.brushSize = 3;
    m.rollOnly = 0;
    if (!store.cornerCodes) {
        store.cornerCodes.reset(new (std::nothrow) CornerCodeGrid());
        if (!store.cornerCodes) return 0;
    }
    buildSmoothingTable(store.smoothingTable);
    return 1;
}

void resetEditState(EditState& edit, PanelDragState& panel, VoxelModel& model) {
    edit = EditState{};
    panel = PanelDragState{};
    std::memset(model.lockedA, 0, sizeof model.lockedA);
    std::memset(model.lockedB, 0, sizeof model.lockedB);
}

bool isDisplayed(const EditState& edit, std::uint8_t code) {
    if (code == kEmpty) return false;
    const Material material = materialOfCode(code);
    return edit.currentMaterial == material || edit.alsoShownMaterial == material;
}

}  // namespace cubrik
