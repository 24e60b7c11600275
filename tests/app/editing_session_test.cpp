// Strokes replayed headless in the front view over a block whose front face
// is at z = 69: material A colour 0 with a strip of colour 1, and a quarter of
// material B.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "edit/brush.h"
#include "edit/surface_brushes.h"
#include "support/session_runner.h"

namespace cubrik {
namespace {

class EditingSessionTest : public testing::SessionTest {
protected:
    void SetUp() override {
        VoxelModel& m = *block.model;
        testing::fillBox(m, 30, 30, 30, 69, 69, 69, 1);
        testing::fillBox(m, 35, 30, 30, 39, 69, 69, 2);  // colour 1, locked by the sessions
        testing::fillBox(m, 50, 50, 30, 69, 69, 69, 17);
        start = writeModel(m);
    }

    // The cells that differ from the block: (index, code after).
    std::vector<std::pair<int, int>> changes(const VoxelModel& after) const {
        std::vector<std::pair<int, int>> result;
        for (int i = 0; i < kCellCount; ++i)
            if (after.cells[i] != block.model->cells[i]) result.push_back({i, after.cells[i]});
        return result;
    }

    static int zOf(int index) { return index / 10000; }

    ModelStore block = testing::makeStore();
    std::string start;
};

// Lock colour 1, then a stroke across the strip and the material B quarter.
constexpr const char* kStroke = R"(size 800 600
paint
rdown 40 200
rup 40 200
ldown 350 300
paint
move 400 290
paint
move 470 280
paint
lup 470 280
)";

TEST_F(EditingSessionTest, PeelRemovesOneLayerOfTheUnlockedVisibleColour) {
    ASSERT_EQ(replay(std::string("key W\nkey T\n") + kStroke + "save $DIR/out.cbk\nkey ctrl+z\nsave $DIR/undone.cbk\n", start), "");
    const ModelStore out = saved("out.cbk");
    const auto changed = changes(*out.model);
    EXPECT_GT(changed.size(), 40u);
    for (const auto& [index, code] : changed) {
        EXPECT_EQ(code, 0);
        EXPECT_EQ(zOf(index), 69);
        EXPECT_EQ(block.model->cells[index], 1);  // neither the locked colour nor material B
    }
    EXPECT_EQ(testing::readBytes(dir / "undone.cbk"), testing::readBytes(start));
}

TEST_F(EditingSessionTest, CoatAddsOneLayerInFrontHoweverOftenTheBrushPasses) {
    std::string backAndForth = std::string("key S\n") + kStroke;
    backAndForth.replace(backAndForth.find("lup"), std::string::npos,
                         "move 350 300\npaint\nmove 470 280\npaint\nlup 470 280\nsave $DIR/out.cbk\n");
    ASSERT_EQ(replay(backAndForth, start), "");
    const auto changed = changes(*saved("out.cbk").model);
    EXPECT_GT(changed.size(), 40u);
    for (const auto& [index, code] : changed) {
        EXPECT_EQ(code, 1);
        EXPECT_EQ(zOf(index), 70);
    }
}

TEST_F(EditingSessionTest, PaintWithBothMaterialsShownRecoloursOnlyTheCurrentMaterial) {
    ASSERT_EQ(replay(std::string("key A\nkey T\nkey H\nkey H\nkey H\n") + kStroke + "save $DIR/out.cbk\n", start), "");
    const auto changed = changes(*saved("out.cbk").model);
    EXPECT_GT(changed.size(), 40u);
    for (const auto& [index, code] : changed) {
        EXPECT_EQ(code, 4);  // colour 3 of material A
        EXPECT_EQ(zOf(index), 69);
        EXPECT_EQ(block.model->cells[index], 1);
    }
}

// The picks of a stroke are those of its start, though a large window's pass
// is read only as the brush reaches new parts: here the view turns to the
// back and the window shrinks after the press, and the sweep that follows
// still peels the front layer the press saw, and only that, far from the press.
TEST_F(EditingSessionTest, AStrokePicksWhatItsStartShowedWhereverItGoesLater) {
    ASSERT_EQ(replay(R"(size 1600 1200
paint
key W
key T
ldown 700 560
paint
key 2
size 900 700
paint
move 1000 560
paint
move 1000 640
paint
lup 1000 640
save $DIR/out.cbk
)",
                     start),
              "");
    const auto changed = changes(*saved("out.cbk").model);
    int lowest = 99, highest = 0;
    for (const auto& [index, code] : changed) {
        EXPECT_EQ(code, 0);
        EXPECT_EQ(zOf(index), 69);
        lowest = std::min(lowest, index % 100);
        highest = std::max(highest, index % 100);
    }
    EXPECT_GT(highest - lowest, 20);
}

// Spray changes a cell only where its noise passes the start's threshold
// (10 at the least); the second stroke draws the next million values.
TEST_F(EditingSessionTest, SprayFollowsTheNoiseAndTheSecondStrokeContinuesIt) {
    ASSERT_EQ(replay(R"(size 800 600
paint
key Q
key H
key V
key V
key V
paint
ldown 400 330
lup 400 330
save $DIR/first.cbk
key H
ldown 400 330
lup 400 330
save $DIR/second.cbk
)",
                     start),
              "");
    EditingBuffers noise;
    ASSERT_EQ(allocateEditingBuffers(noise, KernelVariant::Scalar), 1);
    std::vector<std::uint8_t> strokes[2];
    for (auto& values : strokes) {
        fillSprayNoise(noise);
        values.assign(noise.brushScratch.get(), noise.brushScratch.get() + kCellCount);
    }
    const auto first = changes(*saved("first.cbk").model);
    EXPECT_GT(first.size(), 10u);
    for (const auto& [index, code] : first) EXPECT_GE(strokes[0][index], 10) << index;
    int onlyTheSecondSequenceExplains = 0;
    for (const auto& [index, code] : changes(*saved("second.cbk").model)) {
        if (code != 3) continue;  // the second stroke paints colour 2
        EXPECT_GE(strokes[1][index], 10) << index;
        onlyTheSecondSequenceExplains += strokes[0][index] < 10;
    }
    EXPECT_GT(onlyTheSecondSequenceExplains, 0);
}

}  // namespace
}  // namespace cubrik
