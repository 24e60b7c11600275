#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <random>

#include "render/renderer.h"
#include "support/model_builders.h"
#include "support/quad_recorder.h"

namespace cubrik {
namespace {

using testing::RecordedQuads;

struct DisplayCacheTest : ::testing::Test {
    ModelStore store = testing::makeStore();
    VoxelModel& model = *store.model;
    EditState edit;
    Renderer renderer;
    bool smooth = true;
    bool occlusion = false;
    CutAway cut{};

    DisplayCacheTest() {
        edit.alsoShownMaterial = Material::B;
        if (!allocateRenderer(renderer, 32768, chooseKernelVariant())) throw std::bad_alloc();
        testing::fillSphere(model, 20);
    }

    ViewInputs view() {
        ViewInputs inputs{store, edit};
        inputs.smoothDisplay = smooth;
        inputs.cut = cut;
        inputs.occlusion = occlusion;
        return inputs;
    }

    // One display pass; `walked` says whether it walked the grid.
    RecordedQuads frame(bool& walked) {
        RecordedQuads quads;
        walked = produceDisplayBatches(renderer, view(), [&](QuadBatch& batch) {
            quads.take(batch, true);
            batch.count = 0;
        }) == 1;
        return quads;
    }

    // What a whole walk of the present model and display state gives, without any cache.
    RecordedQuads fresh() {
        ColourTable colours;
        buildColourTable(model, colours);
        FaceWalk walk = faceWalkFor(renderer, view(), FacePass::Display);
        walk.colourTable = &colours;
        walk.variant = KernelVariant::Scalar;
        return testing::recordWalk(walk, 32768);
    }

    // After `change`, the next frame walks again and shows the change.
    void expectRedrawnAfter(const char* what, const std::function<void()>& change) {
        bool walked = false;
        frame(walked);
        frame(walked);
        ASSERT_FALSE(walked) << what << ": the unchanged frame before";
        change();
        const RecordedQuads after = frame(walked);
        EXPECT_TRUE(walked) << what;
        EXPECT_TRUE(testing::sameGeometry(after, fresh())) << what;
    }
};

TEST_F(DisplayCacheTest, AnUnchangedFrameDrawsTheKeptQuadsWithoutWalking) {
    bool walked = false;
    const RecordedQuads first = frame(walked);
    EXPECT_TRUE(walked);
    EXPECT_GT(first.count(), 0);
    const RecordedQuads second = frame(walked);
    EXPECT_FALSE(walked);
    EXPECT_EQ(renderer.displayCache.walks, 1u);
    EXPECT_TRUE(testing::sameQuads(first, second));
}

TEST_F(DisplayCacheTest, EveryChangeOfWhatIsShownIsDrawnAtTheNextFrame) {
    expectRedrawnAfter("one cell", [&] { testing::setCell(model, 49, 49, 69, 0); });
    expectRedrawnAfter("a buried cell", [&] { testing::setCell(model, 50, 50, 50, 3); });
    expectRedrawnAfter("one palette entry", [&] { model.paletteB[4].g = 0.5f; });
    expectRedrawnAfter("the display rule", [&] { edit.alsoShownMaterial.reset(); });
    expectRedrawnAfter("the current material", [&] { edit.currentMaterial = Material::B; });
    expectRedrawnAfter("smooth off", [&] { smooth = false; });
    expectRedrawnAfter("smooth on", [&] { smooth = true; });
    expectRedrawnAfter("the cut-away", [&] { cut = {true, 2, true, 49, false}; });
    expectRedrawnAfter("its plane", [&] { cut.plane = 48; });
    expectRedrawnAfter("a cell beside the cut", [&] { testing::setCell(model, 50, 50, 48, 0); });
    expectRedrawnAfter("no cut-away", [&] { cut.on = false; });
}

// Edits walk again only the rows round the changed cells (a smoothed corner
// reads the cells around it), and the frame shows what a whole walk of the
// edited model shows: flat and smooth, with and without the cut-away.
TEST_F(DisplayCacheTest, EditsWalkOnlyTheRowsRoundThemAndMatchAWholeWalk) {
    std::mt19937 random(5);
    for (bool smoothDisplay : {false, true})
        for (const CutAway& cutAway : {CutAway{}, CutAway{true, 2, true, 55, false}, CutAway{true, 0, false, 40, false}}) {
            smooth = smoothDisplay;
            cut = cutAway;
            testing::fillAll(model, 0);
            testing::fillSphere(model, 30);
            bool walked = false;
            frame(walked);
            const std::uint64_t walks = renderer.displayCache.walks, rowWalks = renderer.displayCache.rowWalks;
            for (int edit = 0; edit < 12; ++edit) {
                testing::strokeLikeChange(model, random());  // a ball of radius 3 dragged along x
                if (edit % 3 == 0) testing::setCell(model, random() % 100, random() % 100, random() % 100, 5);
                const RecordedQuads after = frame(walked);
                ASSERT_TRUE(testing::sameGeometry(after, fresh()))
                    << (smooth ? "smooth" : "flat") << ", cut " << cut.on << cut.axis << ", edit " << edit;
            }
            EXPECT_EQ(renderer.displayCache.walks, walks);
            // 9 x 9 rows round a ball of 7 x 7, and 3 x 3 round a cell.
            EXPECT_LE(renderer.displayCache.rowWalks - rowWalks, 12u * 81 + 4 * 9);
        }
}

// Occlusion reads the cells one layer beyond a face, and still the rows
// walked again round an edit give what a whole walk gives; turning it on or
// off walks the whole grid.
TEST_F(DisplayCacheTest, OccludedCornersFollowEditsInTheRowsRoundThem) {
    std::mt19937 random(7);
    expectRedrawnAfter("occlusion on", [&] { occlusion = true; });
    for (bool smoothDisplay : {false, true}) {
        smooth = smoothDisplay;
        testing::fillSphere(model, 30);
        bool walked = false;
        frame(walked);
        for (int edit = 0; edit < 6; ++edit) {
            testing::strokeLikeChange(model, random());
            ASSERT_TRUE(testing::sameGeometry(frame(walked), fresh())) << (smooth ? "smooth" : "flat") << edit;
        }
    }
    expectRedrawnAfter("occlusion off", [&] { occlusion = false; });
}

// The last rows of the grid end the last span: edits there, alone and on
// two neighbouring rows, are walked again and drawn as a whole walk draws.
TEST_F(DisplayCacheTest, EditsInTheGridsFarRowsMatchAWholeWalk) {
    for (bool smoothDisplay : {false, true}) {
        smooth = smoothDisplay;
        bool walked = false;
        frame(walked);
        const std::uint64_t walks = renderer.displayCache.walks;
        for (const int z : {99, 98}) {
            testing::setCell(model, 99, 99, z, 2);
            ASSERT_TRUE(testing::sameGeometry(frame(walked), fresh())) << "z " << z << (smooth ? " smooth" : " flat");
        }
        testing::setCell(model, 99, 99, 99, 0);
        ASSERT_TRUE(testing::sameGeometry(frame(walked), fresh())) << (smooth ? "smooth" : "flat");
        EXPECT_EQ(renderer.displayCache.walks, walks);  // rows walked again, never the whole grid
    }
}

TEST_F(DisplayCacheTest, AModelTooLargeToKeepIsWalkedEveryFrameAndStillDrawnRight) {
    testing::fillAll(model, 0);
    testing::fillCheckerboard(model, 50, 1);  // 375,000 quads
    smooth = false;
    bool walked = false;
    const RecordedQuads first = frame(walked);
    EXPECT_EQ(first.count(), 375000);
    const RecordedQuads second = frame(walked);
    EXPECT_TRUE(walked);
    EXPECT_TRUE(testing::sameQuads(first, second));
}

TEST_F(DisplayCacheTest, ARendererWithoutBuffersDrawsNothing) {
    Renderer failed;
    EXPECT_EQ(allocateRenderer(failed, 3, KernelVariant::Scalar), 0);
    int batches = 0;
    produceDisplayBatches(failed, view(), [&](QuadBatch&) { ++batches; });
    producePickBatches(failed, view(), PickMode::Solid, [&](QuadBatch&) { ++batches; });
    EXPECT_EQ(batches, 0);
}

}  // namespace
}  // namespace cubrik
