// The renderer through a real OpenGL: Mesa's llvmpipe in a headless context.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "render/camera.h"
#include "render/export_image.h"
#include "render/kept_pick_pass.h"
#include "render/offscreen_target.h"
#include "render/pick_pass.h"
#include "render/renderer.h"
#include "render/view.h"
#include "support/model_builders.h"
#include "support/shared_gl_context.h"

namespace cubrik {
namespace {

using Rgba = std::array<int, 4>;

constexpr int kWidth = 800, kHeight = 600;

class GlRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        // No silent skip: without a headless GL these tests fail and say why.
        std::string glFailure;
        gl = testing::sharedGlContext(glFailure);
        ASSERT_NE(gl, nullptr) << glFailure;
        ASSERT_EQ(chooseRenderer(renderer), 1);
        enableBackFaceCulling();
        edit.alsoShownMaterial = Material::B;
        std::string reason;
        ASSERT_EQ(ensureOffscreenTarget(target, kWidth, kHeight, reason), 1) << reason;
    }
    void TearDown() override {
        if (!gl) return;
        releaseOffscreenTarget(target);
        releaseRenderer(renderer);
    }

    ViewInputs view() {
        ViewInputs inputs{store, edit};
        inputs.smoothDisplay = smooth;
        inputs.clientWidth = kWidth;
        inputs.clientHeight = kHeight;
        return inputs;
    }

    // Draws one frame into `target` as the window's paint does.
    void drawFrame(const ViewInputs& inputs) {
        OffscreenBinding binding(target);
        setViewViewport(inputs.clientWidth, inputs.clientHeight);
        clearView(inputs.backgroundColor);
        drawView(renderer, inputs);
    }

    Rgba pixelOf(const OffscreenTarget& from, int column, int row) {
        std::uint8_t rgba[4];
        readOffscreenPixels(from, column, row, 1, 1, rgba);
        return {rgba[0], rgba[1], rgba[2], rgba[3]};
    }

    // The frame-buffer pixel (column, row from the bottom) where world point p shows.
    std::array<int, 2> pixelOfPoint(double x, double y, double z) {
        double projection[16];
        viewProjection(kWidth, kHeight, false, ViewCamera{}, model.rotation, projection);
        const double* r = model.rotation;
        const double eye[4] = {r[0] * x + r[4] * y + r[8] * z, r[1] * x + r[5] * y + r[9] * z,
                               r[2] * x + r[6] * y + r[10] * z, 1.0};
        double clip[4];
        for (int i = 0; i < 4; ++i)
            clip[i] = projection[i] * eye[0] + projection[i + 4] * eye[1] + projection[i + 8] * eye[2] +
                      projection[i + 12] * eye[3];
        const double column = kViewLeft + (clip[0] / clip[3] + 1.0) / 2.0 * (kWidth - kViewLeft);
        const double row = (clip[1] / clip[3] + 1.0) / 2.0 * kHeight;
        return {static_cast<int>(std::floor(column)), static_cast<int>(std::floor(row))};
    }

    // The pixel at the middle of the +z face of cell (x, y, z).
    std::array<int, 2> frontOfCell(int x, int y, int z) { return pixelOfPoint(x - 49.5, y - 49.5, z - 49.0); }

    void fillBlock(int from, int to, std::uint8_t code) {
        for (int z = from; z < to; ++z)
            for (int y = from; y < to; ++y)
                for (int x = from; x < to; ++x) testing::setCell(model, x, y, z, code);
    }

    HeadlessGlContext* gl = nullptr;
    ModelStore store = testing::makeStore();
    VoxelModel& model = *store.model;
    EditState edit;
    Renderer renderer;
    OffscreenTarget target;
    bool smooth = false;
};


void expectColourNear(const Rgba& actual, const Rgba& expected, const char* what) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], 1) << what << " channel " << i;
}

TEST_F(GlRenderTest, AFrameRecordsItsViewportAndProjectionAndLeavesTheOverlayState) {
    drawFrame(view());
    EXPECT_EQ(std::vector<int>(model.viewport, model.viewport + 4), (std::vector<int>{64, 0, 736, 600}));
    double expected[16];
    viewProjection(kWidth, kHeight, false, ViewCamera{}, model.rotation, expected);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(model.projection[i], expected[i]);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlRenderTest, LitColoursAreThePaletteColourTimesTheLightingFactorClamped) {
    model.paletteA[0] = {200 / 255.0f, 100 / 255.0f, 1.0f};
    fillBlock(30, 70, 1);
    drawFrame(view());
    const auto front = frontOfCell(50, 50, 69);
    expectColourNear(pixelOf(target, front[0], front[1]), {240, 120, 255}, "facing: 1.2 times, clamped");
    // Turned 60 degrees: the +z face has n_z = 0.5, the -x face n_z = cos 30.
    rotationMatrix(60.0, 0, 1, 0, model.rotation);
    drawFrame(view());
    const double tilted = 0.4 + 0.8 * 0.5, steep = 0.4 + 0.8 * std::cos(std::acos(-1.0) / 6);
    const auto plusZ = pixelOfPoint(0, 0, 20);
    const auto minusX = pixelOfPoint(-20, 0, 0);
    expectColourNear(pixelOf(target, plusZ[0], plusZ[1]),
                     {static_cast<int>(200 * tilted + 0.5), static_cast<int>(100 * tilted + 0.5), 204}, "+z");
    expectColourNear(pixelOf(target, minusX[0], minusX[1]),
                     {static_cast<int>(200 * steep + 0.5), static_cast<int>(100 * steep + 0.5), 255}, "-x");
}

// A thin block on the front of a slab: occlusion darkens the slab beside the
// block's foot and leaves the slab far from it exactly as it was.
TEST_F(GlRenderTest, OcclusionDarkensOnlyBesideFilledCells) {
    model.paletteA[0] = {0.6f, 0.5f, 0.4f};
    testing::fillBox(model, 0, 20, 40, 99, 79, 49, 1);
    testing::fillBox(model, 45, 45, 50, 54, 54, 50, 1);
    const auto beside = frontOfCell(44, 50, 49), far = frontOfCell(10, 50, 49);
    drawFrame(view());
    const Rgba plainBeside = pixelOf(target, beside[0], beside[1]), plainFar = pixelOf(target, far[0], far[1]);
    ViewInputs occluded = view();
    occluded.occlusion = true;
    drawFrame(occluded);
    const Rgba darkBeside = pixelOf(target, beside[0], beside[1]);
    for (int i = 0; i < 3; ++i) EXPECT_LT(darkBeside[i], plainBeside[i] * 0.95) << "channel " << i;
    EXPECT_EQ(pixelOf(target, far[0], far[1]), plainFar);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Across a 10 x 10 front wall the cell edges show as a dark line at each of
// the nine boundaries between cells, where the projection puts them.
TEST_F(GlRenderTest, CellEdgesLineEveryBoundaryOfAWall) {
    model.paletteA[0] = {0.5f, 0.5f, 0.5f};
    testing::fillBox(model, 45, 45, 50, 54, 54, 50, 1);
    ViewInputs edged = view();
    edged.cellEdges = true;
    drawFrame(edged);
    const int row = frontOfCell(50, 50, 50)[1];
    const int inside = pixelOf(target, frontOfCell(50, 50, 50)[0], row)[0];
    for (int boundary = 46; boundary <= 54; ++boundary) {
        const int column = pixelOfPoint(boundary - 50.0, 0.5, 1.0)[0];
        int darkest = 255;
        for (int c = column - 1; c <= column + 1; ++c) darkest = std::min(darkest, pixelOf(target, c, row)[0]);
        EXPECT_LT(darkest, inside * 0.85) << "boundary at x " << boundary;
    }
    // The middle of a cell keeps its colour, as without edges.
    drawFrame(view());
    EXPECT_NEAR(pixelOf(target, frontOfCell(50, 50, 50)[0], row)[0], inside, 2);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlRenderTest, AVertexBufferLeftBoundElsewhereDoesNotDerailTheDraw) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, 64, nullptr, GL_STATIC_DRAW);
    model.paletteA[0] = {200 / 255.0f, 100 / 255.0f, 1.0f};
    fillBlock(40, 60, 1);
    drawFrame(view());
    const auto front = frontOfCell(50, 50, 59);
    expectColourNear(pixelOf(target, front[0], front[1]), {240, 120, 255}, "drawn from the batch");
    GLint bound = 0;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(buffer));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDeleteBuffers(1, &buffer);
}

TEST_F(GlRenderTest, PickPassesDrawExactCellColoursOnWhite) {
    const int cells[][3] = {{50, 50, 60}, {20, 70, 80}, {99, 99, 99}, {0, 0, 0}, {77, 3, 41}};
    for (const auto& c : cells) testing::setCell(model, c[0], c[1], c[2], 30);
    for (bool smoothPick : {false, true}) {
        smooth = smoothPick;
        ASSERT_EQ(renderPickPass(renderer, view(), PickMode::Solid), 1);
        for (const auto& c : cells) {
            const auto at = frontOfCell(c[0], c[1], c[2]);
            EXPECT_EQ(pixelOf(renderer.offscreen, at[0], at[1]), (Rgba{2 * c[0], 2 * c[1], 2 * c[2], 255}))
                << c[0] << " " << c[1] << " " << c[2] << (smooth ? " smooth" : " flat");
        }
        EXPECT_EQ(pixelOf(renderer.offscreen, 70, 3), (Rgba{255, 255, 255, 255}));  // background
        EXPECT_EQ(pixelOf(renderer.offscreen, 10, 300), (Rgba{255, 255, 255, 255}));  // under the panel
        ASSERT_EQ(renderPickPass(renderer, view(), PickMode::Empty), 1);
        const auto at = frontOfCell(50, 50, 60);
        EXPECT_EQ(pixelOf(renderer.offscreen, at[0], at[1]), (Rgba{100, 100, 122, 255}));  // the cell in front
    }
}

// A stroke's read, fetched a few blocks at a time, and the one-pixel passes of
// the colour pick and the status bar give exactly the pixels of the whole
// pass: in a slanted view, flat and smooth, whatever the model and the view
// do after a read began, and whatever later strokes keep.
TEST_F(GlRenderTest, PartsOfThePickPassAreThoseOfTheWholePass) {
    testing::fillSphere(model, 38);
    fillBlock(70, 99, 20);
    rotationMatrix(40, 0.3, 1, 0.2, model.rotation);
    const auto start = std::make_unique<VoxelModel>(model);
    for (bool smoothPick : {false, true})
        for (PickMode mode : {PickMode::Solid, PickMode::Empty}) {
            const std::string what = std::string(smoothPick ? "smooth" : "flat") + (mode == PickMode::Solid ? " solid" : " empty");
            model = *start;
            smooth = smoothPick;
            PickBuffer whole, fetched, none;
            ASSERT_EQ(renderPickPass(renderer, view(), mode), 1);
            ASSERT_EQ(readPickBuffer(renderer.offscreen, whole, kWidth, kHeight), 1);
            for (int y = 5; y < kHeight; y += 61)
                for (int x = 40; x < kWidth; x += 53) {
                    ASSERT_EQ(renderPickRegion(renderer, view(), mode, {x, y, x, y}), 1);
                    EXPECT_EQ(readPickPixel(renderer.offscreen, x, y, kWidth, kHeight), pickCell(whole, x, y))
                        << what << " at " << x << ", " << y;
                }
            ASSERT_EQ(keepPickPass(renderer, view(), none), 1);
            ASSERT_EQ(startKeptPickRead(renderer, mode, fetched), 1);
            testing::fillAll(model, 0);
            presetView(model, kTopView);
            prefetchPick(fetched, {300, 200, 340, 230});
            // A new stroke keeps its pass beside the one `fetched` still reads.
            PickBuffer later;
            ASSERT_EQ(keepPickPass(renderer, view(), fetched), 1);
            ASSERT_EQ(startKeptPickRead(renderer, mode, later), 1);
            EXPECT_EQ(pickCell(later, 320, 215), -1) << what;
            int wrong = 0;
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) wrong += pickCell(fetched, x, y) != pickCell(whole, x, y);
            EXPECT_EQ(wrong, 0) << what;
            EXPECT_GT(fetched.fetches, 1) << what;
        }
}

TEST_F(GlRenderTest, TheGridBoxShowsOnlyWhileTheViewIsTurned) {
    auto greyNear = [&](std::array<int, 2> at) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (pixelOf(target, at[0] + dx, at[1] + dy) == Rgba{204, 204, 204, 255}) return true;
        return false;
    };
    const auto topEdge = pixelOfPoint(0, 50.1, 50.1);
    ViewInputs turning = view();
    turning.rotateActive = true;
    drawFrame(turning);
    EXPECT_TRUE(greyNear(topEdge));
    turning.panelGesture = true;
    drawFrame(turning);
    EXPECT_FALSE(greyNear(topEdge));
}

// On a framebuffer with finer pixels than the client's, every device pixel
// shows the cell that picking finds at the client pixel under it, wherever
// that pixel's neighbours name the same cell, and picking keeps the client's
// viewport and projection.
TEST_F(GlRenderTest, AFinerFrameShowsTheCellsWherePickingFindsThem) {
    model.paletteA[0] = {1, 0, 0};
    model.paletteA[1] = {0, 1, 0};
    for (int z = 30; z < 70; ++z)
        for (int y = 30; y < 70; ++y)
            for (int x = 30; x < 70; ++x) testing::setCell(model, x, y, z, 1 + (x / 3 + y / 3 + z / 3) % 2);
    rotationMatrix(25.0, 1, 1, 0, model.rotation);
    ViewInputs client = view();
    client.clientWidth = 803;  // no whole number of device pixels at the fractional scales
    client.clientHeight = 601;
    ASSERT_EQ(renderPickPass(renderer, client, PickMode::Solid), 1);
    const int w = client.clientWidth, h = client.clientHeight;
    std::vector<std::uint8_t> pick(4 * static_cast<std::size_t>(w) * h);
    readOffscreenPixels(renderer.offscreen, 0, 0, w, h, pick.data());
    // 0 background, 1 or 2 the cell's code; rows from the top.
    auto pickedCode = [&](int x, int y) {
        const std::uint8_t* p = &pick[4 * (static_cast<std::size_t>(h - 1 - y) * w + x)];
        return p[0] > 198 ? 0 : static_cast<int>(model.cells[p[0] / 2 + 100 * (p[1] / 2) + 10000 * (p[2] / 2)]);
    };
    for (double scale : {1.25, 1.5, 2.0}) {
        ViewInputs fine = client;
        fine.device = {scale, static_cast<int>(std::lround(w * scale)), static_cast<int>(std::lround(h * scale))};
        const int dw = fine.device.width, dh = fine.device.height;
        OffscreenTarget frame;
        std::string reason;
        ASSERT_EQ(ensureOffscreenTarget(frame, dw, dh, reason), 1) << reason;
        {
            OffscreenBinding binding(frame);
            setDeviceViewport(fine.device, kViewLeft);
            clearView(fine.backgroundColor);
            drawView(renderer, fine);
        }
        std::vector<std::uint8_t> shown(4 * static_cast<std::size_t>(dw) * dh);
        readOffscreenPixels(frame, 0, 0, dw, dh, shown.data());
        releaseOffscreenTarget(frame);
        int compared = 0, differing = 0;
        for (int row = 0; row < dh; ++row)
            for (int column = static_cast<int>(kViewLeft * scale); column < dw; ++column) {
                const int x = static_cast<int>((column + 0.5) / scale), y = static_cast<int>((dh - 1 - row + 0.5) / scale);
                if (x < kViewLeft + 1 || x >= w - 1 || y < 1 || y >= h - 1) continue;
                const int code = pickedCode(x, y);
                bool uniform = true;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) uniform = uniform && pickedCode(x + dx, y + dy) == code;
                if (!uniform) continue;
                const std::uint8_t* p = &shown[4 * (static_cast<std::size_t>(row) * dw + column)];
                const int shownCode = p[2] == 255 ? 0 : p[0] > p[1] ? 1 : 2;
                ++compared;
                if (shownCode != code && ++differing <= 5)
                    ADD_FAILURE() << "scale " << scale << ": device " << column << "," << row << " shows " << shownCode
                                  << ", client " << x << "," << y << " picks " << code;
            }
        EXPECT_GT(compared, 400000) << scale;
        EXPECT_EQ(differing, 0) << scale;
    }
    EXPECT_EQ(std::vector<int>(model.viewport, model.viewport + 4), (std::vector<int>{64, 0, 739, 601}));
    double projection[16];
    viewProjection(803, 601, false, ViewCamera{}, model.rotation, projection);
    EXPECT_EQ(std::vector<double>(model.projection, model.projection + 16), std::vector<double>(projection, projection + 16));
}

TEST_F(GlRenderTest, TheExportedImageIsCroppedBgraWithATransparentBackground) {
    model.paletteA[0] = {0, 0, 1};  // blue, bottom left
    model.paletteA[1] = {1, 0, 0};  // red, top right
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            testing::setCell(model, 40 + x, 40 + y, 50, 1);
            testing::setCell(model, 55 + x, 55 + y, 50, 2);
        }
    std::string reason;
    ASSERT_EQ(renderExportImage(renderer, view(), reason), 1) << reason;
    const int w = renderer.exportWidth, h = renderer.exportHeight;
    EXPECT_EQ(renderer.exportPixels.size(), static_cast<std::size_t>(4 * w * h));
    // The bounding box of the front faces, as projected.
    const auto low = pixelOfPoint(-10, -10, 1), high = pixelOfPoint(10, 10, 1);
    EXPECT_NEAR(w, high[0] - low[0], 1);
    EXPECT_NEAR(h, high[1] - low[1], 1);
    auto pixel = [&](int column, int row) {
        const std::uint8_t* p = renderer.exportPixels.data() + 4 * (row * w + column);
        return Rgba{p[0], p[1], p[2], p[3]};
    };
    EXPECT_EQ(pixel(0, 0), (Rgba{255, 0, 0, 255}));          // blue in BGRA, first row at the bottom
    EXPECT_EQ(pixel(w - 1, h - 1), (Rgba{0, 0, 255, 255}));  // red, top right
    EXPECT_EQ(pixel(0, h - 1)[3], 0);                        // between the two: background
    EXPECT_EQ(pixel(w - 1, 0)[3], 0);
}

TEST_F(GlRenderTest, TheExportRestoresTheBoundFramebufferAndViewport) {
    testing::fillSphere(model, 10);
    OffscreenBinding widget(target);  // stands for a widget's own framebuffer
    glViewport(1, 2, 3, 4);
    std::string reason;
    ASSERT_EQ(renderExportImage(renderer, view(), reason), 1) << reason;
    GLint draw = -1, read = -1, viewport[4];
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(draw, static_cast<GLint>(target.framebuffer));
    EXPECT_EQ(read, static_cast<GLint>(target.framebuffer));
    EXPECT_EQ(std::vector<int>(viewport, viewport + 4), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(GlRenderTest, NothingToExportIsReportedNotWritten) {
    std::string reason;
    EXPECT_EQ(renderExportImage(renderer, view(), reason), 0);  // an empty model
    EXPECT_NE(reason.find("nothing to draw"), std::string::npos);
    testing::fillSphere(model, 10);
    for (const auto& size : {std::array<int, 2>{64, 600}, {10, 600}, {800, 0}, {-5, -5}}) {
        ViewInputs tiny = view();
        tiny.clientWidth = size[0];
        tiny.clientHeight = size[1];
        EXPECT_EQ(renderExportImage(renderer, tiny, reason), 0) << size[0] << " x " << size[1];
    }
    model.rotation[12] = 1000;  // moved far out of the view
    EXPECT_EQ(renderExportImage(renderer, view(), reason), 0);
}

TEST_F(GlRenderTest, AModelOverTheWholeViewOrAKeyGreenBackgroundKeepsTheFullImage) {
    testing::fillAll(model, 7);
    ViewInputs zoomed = view();
    zoomed.zoomed = true;
    std::string reason;
    ASSERT_EQ(renderExportImage(renderer, zoomed, reason), 1) << reason;
    EXPECT_EQ(renderer.exportWidth, 736);
    EXPECT_EQ(renderer.exportHeight, 600);
    testing::fillAll(model, 0);
    testing::fillSphere(model, 5);
    ViewInputs keyGreen = view();
    keyGreen.backgroundColor = 0xffc400;  // green 196, as the key grey reads back
    ASSERT_EQ(renderExportImage(renderer, keyGreen, reason), 1) << reason;
    EXPECT_EQ(renderer.exportWidth, 736);
    EXPECT_EQ(renderer.exportPixels[3], 255);  // the background stays, opaque
}

}  // namespace
}  // namespace cubrik
