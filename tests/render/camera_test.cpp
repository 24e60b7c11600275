#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "model/matrix4.h"
#include "render/backdrop.h"
#include "render/camera.h"
#include "support/model_builders.h"

namespace cubrik {
namespace {

using Matrix = std::array<double, 16>;
using Row = std::array<double, 3>;

Matrix matrixOf(const double (&m)[16]) {
    Matrix out;
    std::copy(std::begin(m), std::end(m), out.begin());
    return out;
}

Row rowOf(const double (&m)[16], int row) { return {m[row], m[row + 4], m[row + 8]}; }

const Matrix kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

void expectRotationNear(const double (&actual)[16], const double (&expected)[16]) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-12) << "element " << i;
}

// Where the model's axis `axis` ends up on screen: column `axis` of the rotation.
Row screenDirectionOf(const VoxelModel& model, int axis) {
    return {model.rotation[4 * axis], model.rotation[4 * axis + 1], model.rotation[4 * axis + 2]};
}

struct CameraTest : ::testing::Test {
    ModelStore store = testing::makeStore();
    VoxelModel& model = *store.model;
    static constexpr int kWidth = 800, kHeight = 600;  // 100 view units are 600 pixels

    void turnAboutY(double degrees) { rotationMatrix(degrees, 0, 1, 0, model.rotation); }
};

TEST_F(CameraTest, ADragBackToItsStartRestoresTheStartRotationExactly) {
    rotationMatrix(33.0, 0.3, -0.5, 0.8, model.rotation);
    ASSERT_EQ(beginRotation(model, 400, 300, kWidth, kHeight, false), 1);
    const Matrix start = matrixOf(model.rotation);
    EXPECT_EQ(matrixOf(model.dragStartRotation), start);
    ASSERT_EQ(rotateTo(model, 517, 211, kWidth, kHeight), 1);
    EXPECT_NE(matrixOf(model.rotation), start);
    ASSERT_EQ(rotateTo(model, 400, 300, kWidth, kHeight), 1);
    EXPECT_EQ(matrixOf(model.rotation), start);
}

TEST_F(CameraTest, TwentyFiveViewUnitsTurnTheModel85DegreesAboutTheScreenAxisAcrossTheDrag) {
    beginRotation(model, 300, 300, kWidth, kHeight, false);
    rotateTo(model, 450, 300, kWidth, kHeight);  // 150 pixels = 25 view units
    double expected[16];
    rotationMatrix(85.0, 0, 1, 0, expected);
    expectRotationNear(model.rotation, expected);
    EXPECT_GT(screenDirectionOf(model, 2)[0], 0.99);  // the near side (+z) went right
    rotateTo(model, 300, 330, kWidth, kHeight);       // dragging down turns it down
    EXPECT_LT(screenDirectionOf(model, 2)[1], -0.1);
    EXPECT_NEAR(screenDirectionOf(model, 2)[0], 0.0, 1e-12);
}

TEST_F(CameraTest, ShiftAtThePressRollsAboutTheViewAxisOnly) {
    beginRotation(model, 300, 300, kWidth, kHeight, true);
    EXPECT_EQ(model.rollOnly, 1);
    rotateTo(model, 300, 500, kWidth, kHeight);  // purely vertical: nothing turns
    EXPECT_EQ(matrixOf(model.rotation), kIdentity);
    rotateTo(model, 330, 500, kWidth, kHeight);  // 5 view units right: 17 degrees counter-clockwise
    double expected[16];
    rotationMatrix(17.0, 0, 0, 1, expected);
    expectRotationNear(model.rotation, expected);
    EXPECT_GT(screenDirectionOf(model, 0)[1], 0.0);  // +x turned up: counter-clockwise
    beginRotation(model, 300, 300, kWidth, kHeight, false);
    EXPECT_EQ(model.rollOnly, 0);
}

TEST_F(CameraTest, PointsRightOfAboveOrBelowTheClientAreaAreIgnored) {
    rotationMatrix(20.0, 1, 0, 0, model.rotation);
    const Matrix before = matrixOf(model.rotation);
    EXPECT_EQ(beginRotation(model, kWidth + 1, 300, kWidth, kHeight, true), 0);
    EXPECT_EQ(beginRotation(model, 300, -1, kWidth, kHeight, true), 0);
    EXPECT_EQ(beginRotation(model, 300, kHeight + 1, kWidth, kHeight, true), 0);
    EXPECT_EQ(model.rollOnly, 0);
    EXPECT_EQ(matrixOf(model.dragStartRotation), kIdentity);
    ASSERT_EQ(beginRotation(model, kWidth, kHeight, kWidth, kHeight, false), 1);  // the edges still count
    rotateTo(model, 500, 200, kWidth, kHeight);
    const Matrix turned = matrixOf(model.rotation);
    EXPECT_NE(turned, before);
    EXPECT_EQ(rotateTo(model, kWidth + 5, 200, kWidth, kHeight), 0);
    EXPECT_EQ(rotateTo(model, 500, -3, kWidth, kHeight), 0);
    EXPECT_EQ(matrixOf(model.rotation), turned);
    EXPECT_EQ(beginRotation(model, 100, 0, kWidth, 0, false), 0);  // no height: no view units
}

TEST_F(CameraTest, EndRotationMakesTheRotationOrthonormalAgain) {
    rotationMatrix(40.0, 1, 2, 3, model.rotation);
    model.rotation[0] *= 1.01;
    model.rotation[5] += 0.02;
    model.rotation[9] -= 0.01;
    endRotation(model);
    for (int i = 0; i < 3; ++i) {
        const Row a = rowOf(model.rotation, i);
        for (int j = 0; j < 3; ++j) {
            const Row b = rowOf(model.rotation, j);
            EXPECT_NEAR(a[0] * b[0] + a[1] * b[1] + a[2] * b[2], i == j ? 1.0 : 0.0, 1e-12);
        }
    }
    EXPECT_EQ(model.rotation[15], 1.0);
}

TEST_F(CameraTest, SnapViewPicksTheNearestAxisOrientation) {
    snapView(model);
    EXPECT_EQ(matrixOf(model.rotation), kIdentity);
    turnAboutY(46.0);  // the near side turned right, past the diagonal
    snapView(model);
    EXPECT_EQ(rowOf(model.rotation, 0), (Row{0, 0, 1}));  // the left view
    EXPECT_EQ(rowOf(model.rotation, 1), (Row{0, 1, 0}));
    EXPECT_EQ(rowOf(model.rotation, 2), (Row{-1, 0, 0}));
    turnAboutY(44.0);
    snapView(model);
    EXPECT_EQ(matrixOf(model.rotation), kIdentity);
    model.projection[0] = 7;
    model.dragStartRotation[0] = 7;
    snapView(model);
    EXPECT_EQ(matrixOf(model.projection), kIdentity);
    EXPECT_EQ(matrixOf(model.dragStartRotation), kIdentity);
}

TEST_F(CameraTest, PresetViewsShowEachSideWithItsUpAxis) {
    // For each preset: the world axis pointing at the viewer and the one pointing up.
    const Row towardsViewer[6] = {{0, 0, 1}, {0, 0, -1}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    const Row up[6] = {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
    for (int n = 0; n < 6; ++n) {
        presetView(model, n);
        EXPECT_EQ(rowOf(model.rotation, 2), towardsViewer[n]) << n;  // row 2 maps onto the eye's z
        EXPECT_EQ(rowOf(model.rotation, 1), up[n]) << n;
        EXPECT_EQ(model.rotation[15], 1.0);
    }
    presetView(model, 9);
    EXPECT_EQ(matrixOf(model.rotation), kIdentity);
}

TEST_F(CameraTest, APresetDuringADragLeavesTheDragStartPointButResetsItsOrientation) {
    presetView(model, kTopView);
    beginRotation(model, 300, 300, kWidth, kHeight, false);
    const double startX = model.dragStartX, startY = model.dragStartY;
    presetView(model, kLeftView);  // by key, while the button is still down
    EXPECT_EQ(model.dragStartX, startX);
    EXPECT_EQ(model.dragStartY, startY);
    EXPECT_EQ(matrixOf(model.dragStartRotation), kIdentity);
    rotateTo(model, 450, 300, kWidth, kHeight);
    double expected[16];
    rotationMatrix(85.0, 0, 1, 0, expected);  // applied to the front view, not the preset
    expectRotationNear(model.rotation, expected);
}

TEST(ViewProjection, MapsTheViewVolumeOntoTheClipCube) {
    // W = 464, H = 400: a view of 400 x 400, so the frustum is -50..50 both ways at 213.
    double p[16], front[16];
    setIdentity(front);
    viewProjection(464, 400, false, ViewCamera{}, front, p);
    auto project = [&](double x, double y, double z, double out[3]) {
        const double w = p[3] * x + p[7] * y + p[11] * z + p[15];
        for (int i = 0; i < 3; ++i) out[i] = (p[i] * x + p[i + 4] * y + p[i + 8] * z + p[i + 12]) / w;
    };
    double ndc[3];
    project(50, -50, 300 - 213, ndc);  // a corner of the near plane, 300 units in front of the eye
    EXPECT_NEAR(ndc[0], 1.0, 1e-12);
    EXPECT_NEAR(ndc[1], -1.0, 1e-12);
    EXPECT_NEAR(ndc[2], -1.0, 1e-12);
    project(0, 0, 300 - 389.5, ndc);
    EXPECT_NEAR(ndc[2], 1.0, 1e-12);
    // Zooming narrows only the frustum: +-32 at the near plane.
    viewProjection(464, 400, true, ViewCamera{}, front, p);
    project(32, 32, 300 - 213, ndc);
    EXPECT_NEAR(ndc[0], 1.0, 1e-12);
    EXPECT_NEAR(ndc[1], 1.0, 1e-12);
    // A wider view widens x only.
    viewProjection(864, 400, false, ViewCamera{}, front, p);
    project(100, 50, 300 - 213, ndc);
    EXPECT_NEAR(ndc[0], 1.0, 1e-12);
    EXPECT_NEAR(ndc[1], 1.0, 1e-12);
}

// Window coordinates (x from the left, y up) and NDC depth of model point p.
std::array<double, 3> windowOf(const ViewCamera& camera, const double (&rotation)[16], const Row& p) {
    double projection[16], m[16];
    viewProjection(800, 600, false, camera, rotation, projection);
    multiply(projection, rotation, m);
    double clip[4];
    for (int i = 0; i < 4; ++i) clip[i] = m[i] * p[0] + m[i + 4] * p[1] + m[i + 8] * p[2] + m[i + 12];
    return {64 + 736 * (clip[0] / clip[3] + 1) / 2, 600 * (clip[1] / clip[3] + 1) / 2, clip[2] / clip[3]};
}

TEST(ViewCameraTest, ZoomKeepsThePivotPlanePointUnderThePointerAndStopsAtItsLimits) {
    double rotation[16];
    rotationMatrix(35.0, 0.3, 1.0, 0.2, rotation);
    ViewCamera camera;
    camera.pivot[0] = 10;
    // The point of the pivot plane under the centre of pixel (600, 150): 168.5 right of the view's middle, 149.5 up.
    const double unit = pivotPlaneUnitsPerPixel(600, false, 0);
    Row under;
    for (int axis = 0; axis < 3; ++axis)
        under[axis] =
            camera.pivot[axis] + unit * (168.5 * rowOf(rotation, 0)[axis] + 149.5 * rowOf(rotation, 1)[axis]);
    for (int step = 1; step <= 12; ++step) {
        ASSERT_TRUE(zoomAbout(camera, rotation, 800, 600, false, 600, 150, 120));
        const auto at = windowOf(camera, rotation, under);
        EXPECT_NEAR(at[0], 600.5, 1e-6) << step;
        EXPECT_NEAR(at[1], 449.5, 1e-6) << step;
    }
    EXPECT_FALSE(zoomAbout(camera, rotation, 800, 600, false, 600, 150, 120));
    EXPECT_EQ(camera.zoomStep, kMaxZoomStep);
    for (int step = 0; step < 20; ++step) zoomAbout(camera, rotation, 800, 600, false, 600, 150, -120);
    EXPECT_EQ(camera.zoomStep, kMinZoomStep);
    EXPECT_DOUBLE_EQ(zoomFactor(kMinZoomStep), 0.512);
}

// The near and far planes follow the grid, so a pivot at a corner, seen along
// the diagonal through it, clips none of it.
TEST(ViewCameraTest, APivotAtACornerKeepsTheWholeGridBetweenTheNearAndFarPlanes) {
    double turn[16], tilt[16], diagonal[16];
    rotationMatrix(-45, 0, 1, 0, turn);       // (1, 1, 1) goes to (0, 1, sqrt 2) ...
    rotationMatrix(35.2644, 1, 0, 0, tilt);  // ... and then points at the viewer
    multiply(tilt, turn, diagonal);
    for (double side : {50.0, -50.0}) {
        ViewCamera camera;
        camera.pivot[0] = camera.pivot[1] = camera.pivot[2] = side;
        for (int corner = 0; corner < 8; ++corner) {
            const Row p = {corner & 1 ? 50.0 : -50.0, corner & 2 ? 50.0 : -50.0, corner & 4 ? 50.0 : -50.0};
            const double depth = windowOf(camera, diagonal, p)[2];
            EXPECT_GT(depth, -1.0) << side << " corner " << corner;
            EXPECT_LT(depth, 1.0) << side << " corner " << corner;
        }
    }
}

// The parallel projection agrees with the perspective one in the pivot's
// plane, zoomed and panned, ignores depth elsewhere, and keeps the whole grid
// between its near and far planes.
TEST(ViewCameraTest, AnOrthographicCameraHasThePerspectiveScaleInThePivotPlaneAtEveryDepth) {
    double rotation[16];
    rotationMatrix(35.0, 0.3, 1.0, 0.2, rotation);
    ViewCamera perspective;
    perspective.pivot[0] = 50;
    perspective.pivot[2] = -20;
    perspective.zoomStep = 3;
    ViewCamera parallel = perspective;
    parallel.orthographic = true;
    const Row right = rowOf(rotation, 0), up = rowOf(rotation, 1), toward = rowOf(rotation, 2);
    Row inPlane, nearer;
    for (int axis = 0; axis < 3; ++axis) {
        inPlane[axis] = perspective.pivot[axis] + 30 * right[axis] - 12 * up[axis];
        nearer[axis] = inPlane[axis] + 40 * toward[axis];
    }
    const auto seen = windowOf(perspective, rotation, inPlane), flat = windowOf(parallel, rotation, inPlane);
    const auto flatNearer = windowOf(parallel, rotation, nearer);
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(flat[i], seen[i], 1e-9);
        EXPECT_NEAR(flatNearer[i], seen[i], 1e-9);
    }
    EXPECT_LT(flatNearer[2], flat[2]);
    for (int corner = 0; corner < 8; ++corner) {
        const Row p = {corner & 1 ? 50.0 : -50.0, corner & 2 ? 50.0 : -50.0, corner & 4 ? 50.0 : -50.0};
        const double depth = windowOf(parallel, rotation, p)[2];
        EXPECT_GT(depth, -1.0) << corner;
        EXPECT_LT(depth, 1.0) << corner;
    }
}

TEST(ReferencePictureTest, LiesUprightOnTheFarFaceWithItsAspectKept) {
    ModelStore store = testing::makeStore();
    ReferencePicture wide;
    wide.width = 200;
    wide.height = 100;
    placeOnFarFace(wide, store.model->rotation);  // the front view: the far face is z = -50
    const double front[4][3] = {{-50, -25, -50}, {50, -25, -50}, {50, 25, -50}, {-50, 25, -50}};
    for (int corner = 0; corner < 4; ++corner)
        for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(wide.corners[corner][axis], front[corner][axis]);
    ReferencePicture tall;
    tall.width = 100;
    tall.height = 200;
    presetView(*store.model, kTopView);  // the far face is y = -50, and -z is up
    placeOnFarFace(tall, store.model->rotation);
    const double top[4][3] = {{-25, -50, 50}, {25, -50, 50}, {25, -50, -50}, {-25, -50, -50}};
    for (int corner = 0; corner < 4; ++corner)
        for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(tall.corners[corner][axis], top[corner][axis]);
}

}  // namespace
}  // namespace cubrik
