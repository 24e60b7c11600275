// Zoom, pan, framing and the reference picture, replayed headless in an
// 800 x 600 window and measured on grabbed frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "formats/image/targa.h"
#include "model/matrix4.h"
#include "support/front_view_cells.h"
#include "support/session_runner.h"

namespace cubrik {
namespace {

constexpr std::uint32_t kBackground = 0x8080ff;
constexpr double kViewCentreX = 432, kViewCentreY = 300;  // between pixels, as the projection has it

// A box on the view, in pixel edges: left and top inclusive, right and bottom exclusive.
struct Box {
    int left = 100000, right = -100000, top = 100000, bottom = -100000;

    void take(int x, int y, int size = 1) {
        left = std::min(left, x);
        right = std::max(right, x + size);
        top = std::min(top, y);
        bottom = std::max(bottom, y + size);
    }
    bool insideTheView() const { return left > kViewLeft && right < 800 && top > 0 && bottom < 600; }
};

// The box of every view pixel of a frame that is not background.
Box silhouetteOf(const testing::Grab& frame) {
    Box box;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = kViewLeft; x < frame.width(); ++x)
            if (frame.at(x, y) != kBackground) box.take(x, y);
    return box;
}

// The box round the eight corners of the block of cells lo..hi in the front
// view as `camera` projects them.
Box projectedBlock(int lo, int hi, const ViewCamera& camera) {
    Box box;
    for (int corner = 0; corner < 8; ++corner) {
        double p[3];
        for (int axis = 0; axis < 3; ++axis) p[axis] = corner & (1 << axis) ? hi - 49.0 : lo - 50.0;
        const auto [x, y] = testing::projectedPoint(p[0], p[1], p[2], kFrontView, camera);
        box.take(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(600 - y)), 0);
    }
    return box;
}

std::string repeated(const std::string& line, int count) {
    std::string lines;
    for (int i = 0; i < count; ++i) lines += line;
    return lines;
}

// The pointer waits far off the window, so that the brush outline, large when zoomed in, stays out of the frames.
const std::string kGrabAs = "move -3000 -3000\npaint\ngrab $DIR/";

class CameraSessionTest : public testing::SessionTest {
protected:
    // A 20-cell cube of colour 1 in the middle of the grid.
    std::string middleBlock() {
        ModelStore block = testing::makeStore();
        testing::fillBox(*block.model, 40, 40, 40, 59, 59, 59, 1);
        return writeModel(*block.model);
    }
};

TEST_F(CameraSessionTest, CtrlWheelZoomsAboutThePointerUpToItsLimitAndResetComesBackExactly) {
    const std::string zoomIn = "move 432 300\nctrl 1\n";
    ASSERT_EQ(replay("size 800 600\n" + kGrabAs + "start.tga\n" + zoomIn + "wheel 120\n" + kGrabAs + "one.tga\n" +
                         repeated("wheel 120\n", 11) + kGrabAs + "twelve.tga\n" + repeated("wheel 120\n", 8) + kGrabAs +
                         "twenty.tga\nctrl 0\nmenu 40113\n" + kGrabAs + "reset.tga\n",
                     middleBlock()),
              "");
    const Box start = silhouetteOf(grab("start.tga")), one = silhouetteOf(grab("one.tga"));
    EXPECT_NEAR(kViewCentreX - one.left, 1.25 * (kViewCentreX - start.left), 1.0);
    EXPECT_NEAR(one.right - kViewCentreX, 1.25 * (start.right - kViewCentreX), 1.0);
    EXPECT_NEAR(kViewCentreY - one.top, 1.25 * (kViewCentreY - start.top), 1.0);
    EXPECT_NEAR(one.bottom - kViewCentreY, 1.25 * (start.bottom - kViewCentreY), 1.0);
    EXPECT_EQ(grab("twelve.tga").bytes, grab("twenty.tga").bytes);
    EXPECT_EQ(grab("reset.tga").bytes, grab("start.tga").bytes);
}

TEST_F(CameraSessionTest, CtrlRightDragPansThePivotPlaneWithThePointer) {
    const std::string pan = "ctrl 1\nrdown 400 300\nmove 480 300\nrup 480 300\nctrl 0\n";
    ASSERT_EQ(replay("size 800 600\npaint\n" + pan + kGrabAs + "pan.tga\n", middleBlock()), "");
    ViewCamera panned;
    panned.pivot[0] = -80 * pivotPlaneUnitsPerPixel(600, false, 0);
    // The block's middle lies in the pivot plane: exactly 80 pixels right.
    EXPECT_NEAR(testing::projectedPoint(0, 0, 0, kFrontView, panned).first, kViewCentreX + 80, 1e-9);
    const Box measured = silhouetteOf(grab("pan.tga")), expected = projectedBlock(40, 59, panned);
    EXPECT_NEAR(measured.left, expected.left, 1);
    EXPECT_NEAR(measured.right, expected.right, 1);
    EXPECT_NEAR(measured.top, expected.top, 1);
    EXPECT_NEAR(measured.bottom, expected.bottom, 1);
    // A drag far past the window stops the pivot at the grid's side.
    const std::string far = "ctrl 1\nrdown 400 300\nmove 100000 300\nrup 100000 300\nctrl 0\n";
    ASSERT_EQ(replay("size 800 600\npaint\n" + far + kGrabAs + "far.tga\n", middleBlock()), "");
    ViewCamera atSide;
    atSide.pivot[0] = -50;
    const Box farBox = silhouetteOf(grab("far.tga")), sideBox = projectedBlock(40, 59, atSide);
    EXPECT_NEAR(farBox.left, sideBox.left, 1);
    EXPECT_NEAR(farBox.right, sideBox.right, 1);
}

// Home in a view too narrow to show anything stops at the farthest zoom: a
// further step out changes nothing.
TEST_F(CameraSessionTest, HomeInANarrowViewStopsAtTheZoomLimit) {
    ASSERT_EQ(replay("size 70 600\npaint\nkey home\nsize 800 600\n" + kGrabAs +
                         "home.tga\nmove 432 300\nctrl 1\nwheel -120\nctrl 0\n" + kGrabAs + "out.tga\n",
                     middleBlock()),
              "");
    EXPECT_EQ(grab("home.tga").bytes, grab("out.tga").bytes);
}

TEST_F(CameraSessionTest, HomeFramesASmallCornerBlockAndEveryPresetViewKeepsIt) {
    ModelStore corner = testing::makeStore();
    testing::fillBox(*corner.model, 86, 86, 86, 95, 95, 95, 1);
    std::string session = "size 800 600\npaint\nkey home\n" + kGrabAs + "framed.tga\n";
    for (int view = 1; view <= 6; ++view)
        session += "key " + std::to_string(view) + "\n" + kGrabAs + "view" + std::to_string(view) + ".tga\n";
    ASSERT_EQ(replay(session, writeModel(*corner.model)), "");
    const Box framed = silhouetteOf(grab("framed.tga"));
    EXPECT_NEAR((framed.left + framed.right) / 2.0, kViewCentreX, 3);
    EXPECT_NEAR((framed.top + framed.bottom) / 2.0, kViewCentreY, 3);
    EXPECT_TRUE(framed.insideTheView());
    EXPECT_GT(std::max((framed.right - framed.left) / 736.0, (framed.bottom - framed.top) / 600.0), 0.79);
    for (int view = 1; view <= 6; ++view)
        EXPECT_TRUE(silhouetteOf(grab("view" + std::to_string(view) + ".tga")).insideTheView()) << "view " << view;
}

// Four steps in, a Paint click changes about the cells it changes at zoom 1,
// and only cells whose faces are drawn under the brush outline.
TEST_F(CameraSessionTest, TheBrushKeepsItsSizeInCellsAndPaintsWhatIsDrawnUnderIt) {
    ModelStore block = testing::makeStore();
    testing::fillBox(*block.model, 30, 30, 30, 69, 69, 69, 1);
    const std::string start = writeModel(*block.model);
    const std::string click = "key A\nkey H\nldown 470 320\nlup 470 320\n";
    ASSERT_EQ(replay("size 800 600\npaint\n" + click + "save $DIR/plain.cbk\n", start), "");
    ASSERT_EQ(replay("size 800 600\npaint\nmove 432 300\nctrl 1\n" + repeated("wheel 120\n", 4) +
                         "ctrl 0\npaint\n" + click + "save $DIR/zoomed.cbk\n",
                     start),
              "");
    ViewCamera camera;
    double front[16];
    setIdentity(front);
    for (int step = 0; step < 4; ++step) zoomAbout(camera, front, 800, 600, false, 432, 300, 120);
    const double radius = 600 / 140.84508 * 3 * zoomFactor(4);
    int plain = 0, zoomed = 0;
    const ModelStore plainModel = saved("plain.cbk"), zoomedModel = saved("zoomed.cbk");
    for (int i = 0; i < kCellCount; ++i) {
        plain += plainModel.model->cells[i] == 2;
        if (zoomedModel.model->cells[i] != 2) continue;
        ++zoomed;
        const testing::Cell c = testing::cellAt(i);
        const auto [x, y] = testing::projectedPoint(c.x - 49.5, c.y - 49.5, 20, kFrontView, camera);
        // A cell is painted when any pixel of its face, 11 pixels wide now, lies under the brush.
        EXPECT_LT(std::hypot(x - 470.5, y - 279.5), radius + 8) << c.x << "," << c.y << "," << c.z;
    }
    EXPECT_GT(plain, 10);
    EXPECT_GT(zoomed, plain * 3 / 4);
    EXPECT_LT(zoomed, plain * 4 / 3);
}

TEST_F(CameraSessionTest, AReferencePictureShowsBehindTheModelUntilHiddenAndIsNeverPicked) {
    std::vector<std::uint8_t> red(4 * 8 * 8);
    for (std::size_t i = 0; i < red.size(); i += 4) {
        red[i + 2] = 255;  // blue, green, red, alpha
        red[i + 3] = 255;
    }
    std::string reason;
    ASSERT_EQ(writeTarga(dir / "red.tga", 8, 8, red, reason), 1) << reason;
    const std::string picture = "answer file $DIR/red.tga\nmenu 40114\n";

    // Empty grid but for a block at the lower left, which the click does not reach.
    ModelStore aside = testing::makeStore();
    testing::fillBox(*aside.model, 0, 0, 90, 9, 9, 99, 1);
    ASSERT_EQ(replay("size 800 600\n" + picture + kGrabAs + "shown.tga\nkey A\nldown 432 300\nlup 432 300\n" +
                         "menu 40115\n" + kGrabAs + "hidden.tga\nsave $DIR/out.cbk\n",
                     writeModel(*aside.model)),
              "");
    const std::uint32_t shown = grab("shown.tga").at(432, 300);
    EXPECT_GE(shown >> 16, 180u);          // half red over the blue background
    EXPECT_LE(shown >> 8 & 0xff, 80u);
    EXPECT_EQ(grab("hidden.tga").at(432, 300), kBackground);
    EXPECT_EQ(std::memcmp(saved("out.cbk").model->cells, aside.model->cells, kCellCount), 0);

    // A model in front covers it, and the floor grid, wholly.
    const std::string block = middleBlock();
    ASSERT_EQ(replay("size 800 600\n" + kGrabAs + "plain.tga\n" + picture + "menu 40116\n" + kGrabAs + "behind.tga\n",
                     block),
              "");
    const testing::Grab plain = grab("plain.tga"), behind = grab("behind.tga");
    const Box model = silhouetteOf(plain);
    for (int y = model.top + 2; y < model.bottom - 2; ++y)
        for (int x = model.left + 2; x < model.right - 2; ++x)
            ASSERT_EQ(behind.at(x, y), plain.at(x, y)) << x << "," << y;
    int floorPixels = 0;  // the floor's face lies between rows 483 and 555 in the front view
    for (int y = 485; y < 550; ++y)
        for (int x = kViewLeft; x < 800; ++x) floorPixels += behind.at(x, y) != plain.at(x, y);
    EXPECT_GT(floorPixels, 100);
}

// The display's looks are off until chosen; each menu item turns its look on
// and off again, and the setting line turns it on as the settings file would.
TEST_F(CameraSessionTest, OcclusionAndCellEdgesShowOnlyWhileChosen) {
    ModelStore stepped = testing::makeStore();
    testing::fillBox(*stepped.model, 40, 40, 40, 59, 59, 59, 1);
    testing::fillBox(*stepped.model, 45, 45, 60, 54, 54, 62, 1);  // a step in front, for corners to shade
    const std::string block = writeModel(*stepped.model);
    ASSERT_EQ(replay("size 800 600\nkey X\n" + kGrabAs + "plain.tga\nmenu 40132\n" + kGrabAs + "edges.tga\n" +
                         "menu 40132\nmenu 40131\n" + kGrabAs + "occluded.tga\nmenu 40131\n" + kGrabAs +
                         "again.tga\nsetting cellEdges=1\n" + kGrabAs + "set.tga\n",
                     block),
              "");
    const testing::Grab plain = grab("plain.tga");
    const Box model = silhouetteOf(plain);
    auto differing = [&](const char* name) {
        const testing::Grab other = grab(name);
        int count = 0;
        for (int y = model.top; y < model.bottom; ++y)
            for (int x = model.left; x < model.right; ++x) count += other.at(x, y) != plain.at(x, y);
        return count;
    };
    EXPECT_GT(differing("edges.tga"), 100);
    EXPECT_GT(differing("occluded.tga"), 0);
    EXPECT_EQ(differing("again.tga"), 0);
    EXPECT_EQ(differing("set.tga"), differing("edges.tga"));
}

// View ▸ Orthographic: in every preset view a Paint click lands on the cell
// whose centre the parallel projection puts under the pointer.
TEST_F(CameraSessionTest, OrthographicClicksPaintTheCellUnderThePointerInEveryPresetView) {
    ModelStore block = testing::makeStore();
    testing::fillBox(*block.model, 30, 30, 30, 69, 69, 69, 1);
    // A cell near a corner of the face each view shows, where a perspective pick would be a cell or more off.
    const testing::Cell targets[6] = {{33, 66, 69}, {33, 66, 30}, {30, 66, 33},
                                      {69, 66, 33}, {33, 69, 66}, {33, 30, 66}};
    ViewCamera orthographic;
    orthographic.orthographic = true;
    std::string session = "size 800 600\nmenu 40133\nkey A\nkey H\nkey C\nkey C\n";
    for (int view = 0; view < 6; ++view) {
        const testing::Cell c = targets[view];
        const auto [x, y] = testing::projectedPoint(c.x - 49.5, c.y - 49.5, c.z - 49.5, view, orthographic);
        const std::string at = std::to_string(static_cast<int>(x)) + " " + std::to_string(599 - static_cast<int>(y));
        session += "key " + std::to_string(view + 1) + "\npaint\nldown " + at + "\nlup " + at + "\n";
    }
    ASSERT_EQ(replay(session + "save $DIR/painted.cbk\n", writeModel(*block.model)), "");
    const ModelStore painted = saved("painted.cbk");
    double sum[6][3] = {};
    int count[6] = {};
    for (int i = 0; i < kCellCount; ++i) {
        if (painted.model->cells[i] != 2) continue;
        const testing::Cell c = testing::cellAt(i);
        int view = 0;
        while (view < 6 && std::max({std::abs(c.x - targets[view].x), std::abs(c.y - targets[view].y),
                                     std::abs(c.z - targets[view].z)}) > 2)
            ++view;
        ASSERT_LT(view, 6) << "a stray cell " << c.x << "," << c.y << "," << c.z;
        sum[view][0] += c.x;
        sum[view][1] += c.y;
        sum[view][2] += c.z;
        ++count[view];
    }
    // The painted patch is centred on the target.
    for (int view = 0; view < 6; ++view) {
        ASSERT_GT(count[view], 0) << "view " << view;
        EXPECT_NEAR(sum[view][0] / count[view], targets[view].x, 0.3) << "view " << view;
        EXPECT_NEAR(sum[view][1] / count[view], targets[view].y, 0.3) << "view " << view;
        EXPECT_NEAR(sum[view][2] / count[view], targets[view].z, 0.3) << "view " << view;
    }
}

// Key O and the setting turn the same projection on; the menu turns it off again.
TEST_F(CameraSessionTest, KeyOTheMenuAndTheSettingSwitchTheSameProjection) {
    const std::string block = middleBlock();
    ASSERT_EQ(replay("size 800 600\n" + kGrabAs + "perspective.tga\nkey O\n" + kGrabAs + "key.tga\nmenu 40133\n" +
                         kGrabAs + "off.tga\n",
                     block),
              "");
    ASSERT_EQ(replay("setting orthographic=1\nsize 800 600\n" + kGrabAs + "setting.tga\n", block), "");
    EXPECT_EQ(grab("off.tga").bytes, grab("perspective.tga").bytes);
    EXPECT_EQ(grab("setting.tga").bytes, grab("key.tga").bytes);
    // The 20-cell block's front face, at the pivot plane's scale, and no side of it.
    const Box parallel = silhouetteOf(grab("key.tga"));
    const double side = 20 / pivotPlaneUnitsPerPixel(600, false, 0);
    EXPECT_NEAR(parallel.right - parallel.left, side, 1);
    EXPECT_NEAR(parallel.bottom - parallel.top, side, 1);
}

}  // namespace
}  // namespace cubrik
