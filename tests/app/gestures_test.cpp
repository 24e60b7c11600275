// The mouse gestures as the window delivers them: strokes, the middle
// button's colour pick and the panel, on a block seen from the front.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

using testing::AppTest;

class GesturesTest : public AppTest {
protected:
    static constexpr int kCentreX = 352, kCentreY = 240;  // the grid centre in a 640 x 480 window

    void SetUp() override {
        AppTest::SetUp();
        ModelStore store = testing::makeStore();
        testing::fillBox(*store.model, 30, 30, 30, 69, 69, 69, 1);
        testing::fillBox(*store.model, 50, 30, 30, 69, 69, 69, 18);  // right half: material B colour 1
        testing::fillBox(*store.model, 30, 30, 69, 39, 69, 69, 3);   // a strip of colour 2 in front
        const std::string path = (dir / "block.cbk").string();
        std::string reason;
        ASSERT_EQ(writeModelFile(path, *store.model, reason), 1) << reason;
        start(path);
        paint();
    }
    int snapshots() const { return app.history.undoIndex + 1; }
    int filledCells() {
        int filled = 0;
        for (std::uint8_t cell : app.model().cells) filled += cell != 0;
        return filled;
    }
    void middle(int x, int y) { mouse(MessageType::MiddleDown, x, y); }
};

TEST_F(GesturesTest, TheMiddleButtonPicksOnlyUnlockedColoursOfTheCurrentMaterial) {
    middle(kCentreX + 40, kCentreY);  // material B while A is current
    middle(kCentreX - 20, kCentreY);  // colour 0, already current
    EXPECT_EQ(snapshots(), 0);
    app.model().lockedA[2] = 255;
    middle(kCentreX - 70, kCentreY);  // the strip's colour, locked
    EXPECT_EQ(snapshots(), 0);
    EXPECT_EQ(app.edit.currentSlot, 10);
    app.model().lockedA[2] = 0;
    middle(kCentreX - 70, kCentreY);
    EXPECT_EQ(app.edit.currentSlot, 12);
    EXPECT_EQ(snapshots(), 1);
    middle(30, kCentreY);  // over the panel
    EXPECT_EQ(snapshots(), 1);
}

TEST_F(GesturesTest, AStrokeStepsOncePerFrameAndTheWheelStepsItWithoutAMove) {
    key('S');  // Coat
    const int before = filledCells();
    mouse(MessageType::LeftDown, kCentreX - 30, kCentreY);
    mouse(MessageType::MouseMove, kCentreX - 20, kCentreY);
    mouse(MessageType::MouseMove, kCentreX - 10, kCentreY);  // no frame since the last step: dropped
    EXPECT_EQ(app.model().lastStrokeX, kCentreX - 20);
    paint();
    mouse(MessageType::MouseMove, kCentreX, kCentreY);
    EXPECT_EQ(app.model().lastStrokeX, kCentreX);
    const int afterMoves = filledCells();
    EXPECT_GT(afterMoves, before);
    Message wheel{MessageType::MouseWheel};
    wheel.wheelDelta = 120;
    for (int turn = 0; turn < 5; ++turn) send(wheel);  // a larger brush where the pointer rests
    EXPECT_GT(filledCells(), afterMoves);
    // The right button does not turn the model during a stroke, nor end it.
    mouse(MessageType::RightDown, kCentreX, kCentreY);
    mouse(MessageType::RightUp, kCentreX, kCentreY);
    EXPECT_EQ(app.gestures.strokeActive, 1);
    mouse(MessageType::LeftUp, kCentreX, kCentreY);
    EXPECT_EQ(app.gestures.strokeActive, 0);
    EXPECT_EQ(app.flags.modelModified, 1);
    EXPECT_EQ(snapshots(), 2);  // the tool key and the stroke
}

TEST_F(GesturesTest, APressOnThePanelNeverEditsNorPushes) {
    for (const int y : {120, 600}) {  // the gap above the materials, below the slots
        mouse(MessageType::LeftDown, 10, y);
        paint();
        mouse(MessageType::MouseMove, 200, y);
        mouse(MessageType::LeftUp, 200, y);
    }
    EXPECT_EQ(snapshots(), 0);
    EXPECT_EQ(app.flags.modelModified, 0);
    EXPECT_EQ(app.gestures.panelGesture, 0);
}

TEST_F(GesturesTest, CarveOverTheBackgroundPushesButDoesNotModify) {
    key('E');
    mouse(MessageType::LeftDown, 620, 20);
    mouse(MessageType::LeftUp, 620, 20);
    EXPECT_EQ(snapshots(), 2);
    EXPECT_EQ(app.flags.modelModified, 0);
}

TEST_F(GesturesTest, DoubleClickingTheCurrentColourOpensItsDialog) {
    platform.colourAnswers.push_back(std::nullopt);
    mouse(MessageType::LeftDown, 40, 170);
    mouse(MessageType::LeftUp, 40, 170);
    mouse(MessageType::LeftDoubleClick, 40, 170);
    EXPECT_EQ(app.gestures.strokeActive, 0);  // the dialog ended the gesture
    EXPECT_EQ(snapshots(), 1);             // pushed though cancelled
    EXPECT_EQ(app.flags.modelModified, 0);
}

}  // namespace
}  // namespace cubrik
