// Keys, menus, toggles, the paint rule and the right-button gesture, through
// the window procedure as the window delivers them.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/text/ui_text.h"
#include "app_fixture.h"
#include "render/camera.h"
#include "render/offscreen_target.h"

namespace cubrik {
namespace {

using testing::AppTest;

class WindowProcedureTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        start();
        paint();
    }
    int repaintsAfter(int code) {
        const int before = platform.invalidations;
        key(code);
        return platform.invalidations - before;
    }
};

TEST_F(WindowProcedureTest, StartUpChecksSmoothAndGreysPressureInput) {
    EXPECT_EQ(app.toggles.smoothDisplay, 1);
    EXPECT_TRUE(platform.checked[command::kSmooth]);
    EXPECT_FALSE(platform.enabled[command::kPressureInput]);
    EXPECT_FALSE(platform.enabled[command::kUndo]);  // greyed by the first paint
    EXPECT_FALSE(platform.enabled[command::kRedo]);
    EXPECT_FALSE(platform.maximized);
}

TEST_F(WindowProcedureTest, ToolKeysPushSnapshotsThatCtrlZTakesBack) {
    key('Q');
    key('Q');
    EXPECT_EQ(app.edit.currentTool, Tool::Spray);
    ctrlKey('Z');
    EXPECT_EQ(app.edit.currentTool, Tool::Spray);
    ctrlKey('Z');
    EXPECT_EQ(app.edit.currentTool, Tool::Build);
    ctrlKey('Y');
    EXPECT_EQ(app.edit.currentTool, Tool::Spray);
    const char keys[] = "QAWSEDRF";
    for (int tool = 0; tool < 8; ++tool) {
        key(keys[tool]);
        EXPECT_EQ(app.edit.currentTool, static_cast<Tool>(tool));
    }
}

// The depth comes from the settings at start and from Settings ▸ Undo steps,
// which keeps it in the settings; a smaller one drops the oldest steps.
TEST_F(AppTest, UndoStepsComeFromTheSettingsAndTheMenu) {
    app.settings.undoSteps = 100;
    start();
    EXPECT_TRUE(platform.checked[command::kFirstUndoSteps + 1]);
    EXPECT_FALSE(platform.checked[command::kFirstUndoSteps]);
    for (int i = 0; i < 30; ++i) key(i % 2 ? 'Q' : 'A');
    for (int i = 0; i < 30; ++i) ctrlKey('Z');
    EXPECT_EQ(app.edit.currentTool, Tool::Build);

    for (int i = 0; i < 30; ++i) ctrlKey('Y');
    command(command::kFirstUndoSteps);
    EXPECT_EQ(app.settings.undoSteps, 20);
    EXPECT_TRUE(platform.checked[command::kFirstUndoSteps]);
    EXPECT_FALSE(platform.checked[command::kFirstUndoSteps + 1]);
    for (int i = 0; i < 30; ++i) ctrlKey('Z');
    EXPECT_EQ(app.edit.currentTool, Tool::Spray);  // after the tenth key, not the start
    command(command::kLastUndoSteps);
    EXPECT_EQ(app.settings.undoSteps, 1000);
}

TEST_F(WindowProcedureTest, MaterialKeysShowBothThenSwitch) {
    key('T');
    EXPECT_EQ(app.edit.alsoShownMaterial, Material::B);
    key('T');
    EXPECT_EQ(app.edit.alsoShownMaterial, std::nullopt);
    key('H');
    key('G');
    EXPECT_EQ(app.edit.currentMaterial, Material::B);
    EXPECT_EQ(app.edit.currentSlot, 10);
    EXPECT_EQ(app.edit.otherSlot, 11);
}

TEST_F(WindowProcedureTest, ColourKeysRepaintUnlessAtTheEnd) {
    EXPECT_EQ(repaintsAfter('Y'), 0);  // slot 10: nothing before it
    app.model().lockedA[1] = 255;
    EXPECT_EQ(repaintsAfter('H'), 1);  // locked: no change, still repainted
    EXPECT_EQ(app.edit.currentSlot, 10);
    app.model().lockedA[1] = 0;
    EXPECT_EQ(repaintsAfter('H'), 1);
    EXPECT_EQ(app.edit.currentSlot, 11);
    app.edit.currentSlot = 25;
    EXPECT_EQ(repaintsAfter('H'), 0);
    EXPECT_EQ(repaintsAfter('Y'), 1);
    EXPECT_EQ(app.edit.currentSlot, 24);
    EXPECT_EQ(repaintsAfter('I'), 0);  // not in the table
}

TEST_F(WindowProcedureTest, BrushKeysFollowTheLadders) {
    app.model().brushSize = 1;
    key('C');
    EXPECT_EQ(app.model().brushSize, 1);
    app.model().brushSize = 22;
    key('V');
    EXPECT_EQ(app.model().brushSize, 25);
    app.model().brushSize = 24;
    key('V');
    EXPECT_EQ(app.model().brushSize, 24);
    app.model().brushSize = 13;
    key('C');
    EXPECT_EQ(app.model().brushSize, 10);
    Message wheel{MessageType::MouseWheel};
    wheel.wheelDelta = 120;
    send(wheel);
    EXPECT_EQ(app.model().brushSize, 12);
}

TEST_F(WindowProcedureTest, DigitAndKeypadKeysChooseTheSamePresetViews) {
    key('3');
    EXPECT_EQ(app.model().rotation[2], -1.0);  // left view: row 0 is (0, 0, 1)
    EXPECT_EQ(app.model().rotation[8], 1.0);
    key(key::kKeypad0 + 5);
    EXPECT_EQ(app.model().rotation[0], 1.0);
    EXPECT_EQ(app.model().rotation[8], 0.0);
    key(key::kKeypad0 + 8);  // top: row 1 is (0, 0, -1)
    EXPECT_EQ(app.model().rotation[9], -1.0);
    command(command::kFirstView + 1);  // Back from the menu
    EXPECT_EQ(app.model().rotation[0], -1.0);
}

TEST_F(WindowProcedureTest, TogglesKeepTheirCheckMarksInStep) {
    key('X');
    EXPECT_EQ(app.toggles.smoothDisplay, 0);
    EXPECT_FALSE(platform.checked[command::kSmooth]);
    command(command::kSmooth);
    EXPECT_EQ(app.toggles.smoothDisplay, 1);
    EXPECT_TRUE(platform.checked[command::kSmooth]);
    key('Z');
    EXPECT_EQ(app.toggles.zoomed, 1);
    EXPECT_TRUE(platform.checked[command::kZoom]);
    command(command::kPressureInput);
    EXPECT_EQ(app.toggles.pressureInput, 1);
    EXPECT_TRUE(platform.checked[command::kPressureInput]);
}

TEST_F(WindowProcedureTest, ZoomKeyIsIgnoredDuringARightDrag) {
    mouse(MessageType::RightDown, 300, 200);
    ASSERT_EQ(app.gestures.rotateActive, 1);
    key('Z');
    EXPECT_EQ(app.toggles.zoomed, 0);
    EXPECT_EQ(app.gestures.rotateActive, 1);
    ctrlKey('Z');  // undo still works
    key('X');      // a toggle ends the gesture
    EXPECT_EQ(app.gestures.rotateActive, 0);
    EXPECT_FALSE(platform.mouseCaptured);
}

TEST_F(WindowProcedureTest, ARightDragTurnsTheModelAndEndsOnRelease) {
    mouse(MessageType::RightDown, 300, 200);
    EXPECT_TRUE(platform.mouseCaptured);
    mouse(MessageType::MouseMove, 300 + kHeight / 4, 200);  // 25 view units: 85 degrees
    EXPECT_NEAR(app.model().rotation[0], std::cos(85.0 * M_PI / 180.0), 1e-12);
    mouse(MessageType::MouseMove, 300, 200);  // back to the press point
    EXPECT_EQ(app.model().rotation[0], 1.0);
    mouse(MessageType::MouseMove, 300, 260);
    mouse(MessageType::RightUp, 300, 260);
    EXPECT_EQ(app.gestures.rotateActive, 0);
    EXPECT_FALSE(platform.mouseCaptured);
    const double turned = app.model().rotation[5];
    mouse(MessageType::MouseMove, 100, 100);  // no gesture: nothing turns
    EXPECT_EQ(app.model().rotation[5], turned);
}

TEST_F(WindowProcedureTest, ARightPressOnThePanelDoesNotTurnTheModel) {
    mouse(MessageType::RightDown, 20, 200);
    EXPECT_EQ(app.gestures.panelGesture, 1);
    mouse(MessageType::MouseMove, 300, 300);
    EXPECT_EQ(app.model().rotation[0], 1.0);
    mouse(MessageType::RightUp, 300, 300);
    EXPECT_EQ(app.gestures.panelGesture, 0);
    EXPECT_EQ(app.gestures.rotateActive, 0);
}

TEST_F(WindowProcedureTest, SpaceEndsTheDragAndSnapsTheView) {
    mouse(MessageType::RightDown, 300, 200);
    mouse(MessageType::MouseMove, 300 + 130, 200);  // about 92 degrees
    key(key::kSpace);
    EXPECT_EQ(app.gestures.rotateActive, 0);
    for (double v : app.model().rotation) EXPECT_TRUE(v == 0.0 || v == 1.0 || v == -1.0) << v;
}

TEST_F(WindowProcedureTest, TwoPaintsInARowDrawOnce) {
    app.flags.undoMenuStale = 1;
    paint();  // the message before was a paint: nothing is drawn
    EXPECT_EQ(app.flags.undoMenuStale, 1);
    key('Q');
    paint();
    EXPECT_EQ(app.flags.undoMenuStale, 0);
    EXPECT_TRUE(platform.enabled[command::kUndo]);
    EXPECT_FALSE(platform.enabled[command::kRedo]);
    ctrlKey('Z');
    paint();
    EXPECT_FALSE(platform.enabled[command::kUndo]);
    EXPECT_TRUE(platform.enabled[command::kRedo]);
}

TEST_F(WindowProcedureTest, APaintDrawsTheModelInTheView) {
    for (int z = 40; z < 60; ++z)
        for (int y = 40; y < 60; ++y)
            for (int x = 40; x < 60; ++x) app.model().cells[cellIndex(x, y, z)] = 1;  // red
    key('X');
    paint();
    std::uint8_t centre[4], corner[4];
    readOffscreenPixels(target, kViewLeft + (kWidth - kViewLeft) / 2, kHeight / 2, 1, 1, centre);
    readOffscreenPixels(target, kWidth - 2, 2, 1, 1, corner);
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(centre[1], 0);
    EXPECT_EQ(corner[0], 128);  // the background, red 128, green 128, blue 255
    EXPECT_EQ(corner[2], 255);
    EXPECT_EQ(app.window.compactPanel, 1);  // 480 pixels high
}

// The menu items of B and N switch the modes as the keys do; in either mode
// the pointer is the desktop's cursor, with no brush outline drawn under it.
TEST_F(WindowProcedureTest, SelectAndCellModeDrawNoBrushOutline) {
    platform.cursor = ClientPoint{400, 240};
    const auto whitePixels = [&] {
        paint();
        std::vector<std::uint8_t> rgba(80 * 80 * 4);
        readOffscreenPixels(target, 360, 200, 80, 80, rgba.data());
        int n = 0;
        for (std::size_t i = 0; i < rgba.size(); i += 4) n += rgba[i] > 240 && rgba[i + 1] > 240 && rgba[i + 2] > 240;
        return n;
    };
    key('Q');
    EXPECT_GT(whitePixels(), 20);
    command(command::kCellMode);
    EXPECT_TRUE(app.cellMode.active);
    EXPECT_EQ(whitePixels(), 0);
    command(command::kSelectMode);
    EXPECT_FALSE(app.cellMode.active);
    EXPECT_TRUE(app.selection.selectMode);
    EXPECT_EQ(whitePixels(), 0);
}

TEST_F(WindowProcedureTest, SizeMessagesTrackTheMaximisedState) {
    Message size{MessageType::Size};
    size.sizeKind = SizeKind::Maximized;
    send(size);
    EXPECT_EQ(app.settings.windowMaximized, 1);
    size.sizeKind = SizeKind::Minimized;
    send(size);
    EXPECT_EQ(app.settings.windowMaximized, 1);
    size.sizeKind = SizeKind::Restored;
    send(size);
    EXPECT_EQ(app.settings.windowMaximized, 0);
}

}  // namespace
}  // namespace cubrik
