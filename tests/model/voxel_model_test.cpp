#include <gtest/gtest.h>

#include "model/edit_state.h"
#include "model/material.h"
#include "model/voxel_model.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

TEST(VoxelModel, FirstResetGivesDefaultPalettesAndAnEmptyFrontView) {
    ModelStore store = testing::makeStore();
    const VoxelModel& m = *store.model;
    for (int i = 0; i < kPaletteSize; ++i) {
        EXPECT_EQ(packColour(m.paletteA[i]), packColour(kDefaultPalette[i]));
        EXPECT_EQ(packColour(m.paletteB[i]), packColour(kDefaultPalette[i]));
        EXPECT_EQ(m.lockedA[i], 0);
        EXPECT_EQ(m.lockedB[i], 0);
    }
    EXPECT_EQ(packColour(m.paletteA[1]), 0xff7f00u);
    EXPECT_EQ(packColour(m.paletteA[13]), 0x3f3f3fu);
    EXPECT_EQ(m.brushSize, 3);
    EXPECT_EQ(m.rotation[0], 1.0);
    EXPECT_EQ(m.rotation[1], 0.0);
    EXPECT_EQ(m.rotation[15], 1.0);
    EXPECT_EQ(m.viewport[2], 1);
    EXPECT_EQ(m.viewport[3], 1);
    ASSERT_NE(store.cornerCodes, nullptr);
}

TEST(VoxelModel, ResetClearsCellsAndViewButKeepsPalettesAndLocks) {
    ModelStore store = testing::makeStore();
    VoxelModel& m = *store.model;
    testing::fillRandom(m, 7);
    const Rgb keptColour = m.paletteB[4];
    m.lockedA[3] = 255;
    m.lockedB[15] = 1;
    m.brushSize = 19;
    m.rotation[0] = 0.5;
    m.projection[5] = 2.0;
    m.dragStartRotation[2] = 0.25;
    m.rollOnly = 1;
    m.dragStartX = 12;
    m.brushRadiusPx = 7.5f;

    ASSERT_EQ(resetModel(store), 1);

    for (std::uint8_t cell : m.cells) ASSERT_EQ(cell, 0);
    EXPECT_EQ(m.paletteB[4].g, keptColour.g);
    EXPECT_EQ(m.lockedA[3], 255);
    EXPECT_EQ(m.lockedB[15], 1);
    EXPECT_EQ(m.brushSize, 3);
    EXPECT_EQ(m.rotation[0], 1.0);
    EXPECT_EQ(m.projection[5], 1.0);
    EXPECT_EQ(m.dragStartRotation[2], 0.0);
    EXPECT_EQ(m.rollOnly, 0);
    EXPECT_EQ(m.dragStartX, 0.0);
    EXPECT_EQ(m.brushRadiusPx, 7.5f);  // the brush cursor recomputes it
}

TEST(VoxelModel, CellIndexingRunsXFastest) {
    EXPECT_EQ(cellIndex(0, 0, 0), 0);
    EXPECT_EQ(cellIndex(1, 2, 3), 30201);
    EXPECT_EQ(cellIndex(99, 99, 99), 999999);
}

TEST(VoxelModel, SlotsPaintTheCodesOfTheCurrentMaterial) {
    EXPECT_EQ(slotCode(10, Material::A), 1);
    EXPECT_EQ(slotCode(25, Material::A), 16);
    EXPECT_EQ(slotCode(10, Material::B), 17);
    EXPECT_EQ(slotCode(25, Material::B), 32);
    EditState edit;
    edit.currentMaterial = Material::B;
    edit.currentSlot = 12;
    EXPECT_EQ(targetCode(edit), 19);
}

TEST(VoxelModel, PaletteColourFollowsTheMaterialOfTheCode) {
    ModelStore store = testing::makeStore();
    VoxelModel& m = *store.model;
    m.paletteA[0] = {0.1f, 0.2f, 0.3f};
    m.paletteB[15] = {0.7f, 0.8f, 0.9f};
    EXPECT_EQ(paletteColour(m, 1).g, 0.2f);
    EXPECT_EQ(paletteColour(m, 32).b, 0.9f);
}

TEST(VoxelModel, DisplayRuleHidesTheMaterialThatIsNeitherCurrentNorShown) {
    EditState edit;  // material A current, nothing else shown
    EXPECT_FALSE(isDisplayed(edit, 0));
    EXPECT_TRUE(isDisplayed(edit, 1));
    EXPECT_TRUE(isDisplayed(edit, 16));
    EXPECT_FALSE(isDisplayed(edit, 17));
    EXPECT_FALSE(isDisplayed(edit, 32));
    edit.alsoShownMaterial = Material::B;
    EXPECT_TRUE(isDisplayed(edit, 17));
    edit = EditState{};
    edit.currentMaterial = Material::B;
    EXPECT_FALSE(isDisplayed(edit, 1));
    EXPECT_TRUE(isDisplayed(edit, 32));
}

TEST(VoxelModel, ResetEditStateRestoresTheSelectionAndUnlocksEveryColour) {
    ModelStore store = testing::makeStore();
    EditState edit{Tool::Peel, Material::B, Material::A, 20, 14};
    PanelDragState panel{11, 12, 3};
    store.model->lockedA[0] = 255;
    store.model->lockedB[9] = 255;
    resetEditState(edit, panel, *store.model);
    EXPECT_EQ(edit.currentTool, Tool::Build);
    EXPECT_EQ(edit.currentMaterial, Material::A);
    EXPECT_EQ(edit.alsoShownMaterial, std::nullopt);
    EXPECT_EQ(edit.currentSlot, 10);
    EXPECT_EQ(edit.otherSlot, 10);
    EXPECT_EQ(panel.dragSourceSlot, -1);
    EXPECT_EQ(panel.draggedSlot, -1);
    EXPECT_EQ(panel.hoverItem, -1);
    EXPECT_EQ(store.model->lockedA[0], 0);
    EXPECT_EQ(store.model->lockedB[9], 0);
}

TEST(Palette, ConversionsTruncateAndRoundTripEveryByte) {
    EXPECT_EQ(channelByte(1.0f), 255);
    EXPECT_EQ(channelByte(0.5f), 127);
    EXPECT_EQ(channelByte(0.25f), 63);
    EXPECT_EQ(channelByte(0.0f), 0);
    EXPECT_EQ(packColour({1.0f, 0.5f, 0.0f}), 0xff7f00u);
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        const std::uint32_t packed = byte << 16 | (255 - byte) << 8 | (byte * 7 & 0xff);
        EXPECT_EQ(packColour(unpackColour(packed)), packed);
    }
    const Rgb orange = unpackColour(0xff8000);
    EXPECT_EQ(orange.r, 1.0f);
    EXPECT_FLOAT_EQ(orange.g, 128 / 255.0f);
    EXPECT_EQ(orange.b, 0.0f);
}

}  // namespace
}  // namespace cubrik
