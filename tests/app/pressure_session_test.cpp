// Pen pressure sets the brush size, seen through the ball a Build press adds
// at the grid centre of an empty model in an 800 x 600 window.
#include <gtest/gtest.h>

#include "app/input/tablet.h"
#include "support/session_runner.h"

namespace cubrik {
namespace {

class PressureSessionTest : public testing::SessionTest {
protected:
    // The radius of the ball that `lines` and then a Build press at the centre add.
    int ballRadius(const std::string& lines) {
        EXPECT_EQ(replay("size 800 600\npaint\nkey D\n" + lines + "ldown 432 299\nlup 432 299\nsave $DIR/out.cbk\n"), "");
        const ModelStore out = saved("out.cbk");
        int radius = 0;  // the ball's extent along x from its centre cell
        while (49 + radius + 1 < kGridSize && out.model->cells[cellIndex(49 + radius + 1, 49, 49)]) ++radius;
        return radius + 1;
    }
};

constexpr const char* kPressureOn = "menu 40051\n";

TEST_F(PressureSessionTest, OnePacketAtHalfPressureGivesSize15) {
    EXPECT_EQ(ballRadius(std::string(kPressureOn) + "tablet 1 1 128 0 255 0\n"), 15);
    EXPECT_EQ(ballRadius(std::string(kPressureOn) + "tablet 1 1 255 0 255 0\ntablet 1 1 0 0 255 0\n"), 14);
    EXPECT_EQ(ballRadius("tablet 1 1 128 0 255 0\n"), 3);  // Pressure input off: the size stays
}

TEST_F(PressureSessionTest, TheCalibrationIsReadAgainOnlyWhenTheCursorChanges) {
    const std::string first = std::string(kPressureOn) + "tablet 1 1 128 0 255 0\nmove 432 299\n";
    EXPECT_EQ(ballRadius(first + "tablet 1 1 128 0 1023 0\n"), 15);
    EXPECT_EQ(ballRadius(first + "tablet 2 1 128 0 1023 0\n"), 4);  // 128 of 1023 scales to 32
}

TEST_F(PressureSessionTest, OnlyTheLast32PacketsCount) {
    std::string lines = std::string(kPressureOn) + "tablet 1 1 255 0 255 0\n";
    for (int i = 0; i < 32; ++i) lines += "tablet 1 1 128 0 255 0\n";
    EXPECT_EQ(ballRadius(lines), 15);  // with the dropped packet it would be 16
}

// A packet during a stroke steps it at once with the new size, here under a
// right press, which the stroke otherwise ignores; C then shrinks the brush
// for the closing press, so a radius of 15 is the forced step's.
TEST_F(PressureSessionTest, APressureChangeDuringAStrokeStepsIt) {
    EXPECT_EQ(ballRadius(std::string(kPressureOn) +
                         "ldown 432 299\ntablet 1 1 128 0 255 0\nrdown 432 299\nrup 432 299\nlup 432 299\nkey C\n"),
              15);
}

TEST(PressureMaths, RoundsToNearestAndClampsOddCalibrations) {
    EXPECT_EQ(mulDiv(128, 255, 1023), 32);
    EXPECT_EQ(mulDiv(-3, 255, 510), -2);  // halves round away from zero
    TabletState tablet;
    EXPECT_EQ(scaledPressure(tablet, {7, 1, 500, 0, 0, 0}), 0);      // no range
    EXPECT_EQ(scaledPressure(tablet, {8, 0, 5, 10, 20, 0}), 0);      // below the axis
    EXPECT_EQ(scaledPressure(tablet, {9, 1, 900, 0, 100, 50}), 255);  // above it
    const int full[] = {255, 255}, none[] = {0};
    EXPECT_EQ(batchBrushSize(full, 2), 24);
    EXPECT_EQ(batchBrushSize(none, 1), 1);
}

}  // namespace
}  // namespace cubrik
