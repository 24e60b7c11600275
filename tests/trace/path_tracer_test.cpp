// The path tracer's promises that a picture can show: the same picture for a
// seed whatever the threads, exactly the background where nothing is met, a
// shadow where a cube hides the sun, and noise that falls with samples.

#include <gtest/gtest.h>

#include <cmath>

#include "model/matrix4.h"
#include "support/model_builders.h"
#include "trace/path_tracer.h"

namespace cubrik {
namespace {

constexpr int kWidth = 64, kHeight = 48;

struct Render {
    TraceImage picture;
    std::vector<int> passes;  // samples done after each pass
};

Render render(const TraceScene& scene, const TraceCamera& camera, const TraceSettings& settings) {
    Render result;
    const std::atomic<bool> cancel{false};
    TraceCallbacks callbacks;
    callbacks.passDone = [&](const TraceImage&, int samples) { result.passes.push_back(samples); };
    EXPECT_TRUE(renderPathTraced(scene, camera, settings, cancel, callbacks, result.picture));
    return result;
}

// A cube of 20 cells floating 19 cells above a wide slab, seen from the top,
// the sun 45 degrees up behind the viewer: the shadow falls towards +z.
struct CubeOverSlab {
    ModelStore store = testing::makeStore();
    TraceCamera camera;
    CubeOverSlab() {
        testing::fillBox(*store.model, 5, 20, 5, 94, 20, 94, 16);  // white
        testing::fillBox(*store.model, 40, 40, 40, 59, 59, 59, 9);  // blue
        presetView(*store.model, kTopView);
        std::copy(std::begin(store.model->rotation), std::end(store.model->rotation), camera.rotation);
        camera.width = kWidth;
        camera.height = kHeight;
    }
    TraceScene scene() const {
        EditState edit;
        return snapshotScene(*store.model, edit, CutAway{});
    }
    // The pixel showing the top of slab cell (x, z).
    std::pair<int, int> slabPixel(int x, int z) const {
        double projection[16], m[16];
        viewProjection(kWidth + kViewLeft, kHeight, false, camera.camera, camera.rotation, projection);
        multiply(projection, camera.rotation, m);
        const Vector4 clip = transform(std::to_array(m), {x - 49.5, 21.0 - 50.0, z - 49.5, 1.0});
        return {static_cast<int>((clip[0] / clip[3] + 1.0) / 2.0 * kWidth),
                static_cast<int>((1.0 - clip[1] / clip[3]) / 2.0 * kHeight)};
    }
};

double meanRed(const TraceImage& picture, const std::vector<std::pair<int, int>>& pixels) {
    double sum = 0.0;
    for (auto [x, y] : pixels) sum += picture.rgba[4 * (y * picture.width + x)];
    return sum / pixels.size();
}

TEST(PathTracer, ASeedGivesOnePictureWhateverTheThreadsAndMissesShowTheBackgroundExactly) {
    const CubeOverSlab scene;
    TraceSettings settings;
    settings.samples = 5;
    settings.threads = 1;
    settings.backgroundColor = 0x123456;
    const Render one = render(scene.scene(), scene.camera, settings);
    settings.threads = 3;
    const Render three = render(scene.scene(), scene.camera, settings);
    EXPECT_EQ(one.picture.rgba, three.picture.rgba);
    EXPECT_EQ(one.passes, (std::vector<int>{1, 3, 5}));  // passes of 1, 2 and what is left
    settings.seed = 2;
    EXPECT_NE(render(scene.scene(), scene.camera, settings).picture.rgba, one.picture.rgba);
    // The corners look past the slab.
    for (int corner : {0, kWidth - 1, kWidth * kHeight - 1}) {
        const std::uint8_t* p = &one.picture.rgba[4 * corner];
        EXPECT_EQ((std::array<int, 4>{p[0], p[1], p[2], p[3]}), (std::array<int, 4>{0x56, 0x34, 0x12, 255}));
    }
}

TEST(PathTracer, AFloatingCubeShadowsTheSlabOnItsShadowSide) {
    const CubeOverSlab scene;
    TraceSettings settings;
    settings.samples = 64;
    settings.sunAzimuth = 0.0;
    settings.sunElevation = 45.0;
    const TraceImage picture = render(scene.scene(), scene.camera, settings).picture;
    std::vector<std::pair<int, int>> shadowSide, farAway;
    for (int x = 45; x <= 55; x += 5)
        for (int z = 66; z <= 72; z += 3) {
            shadowSide.push_back(scene.slabPixel(x, z));
            farAway.push_back(scene.slabPixel(x, z - 55));
        }
    EXPECT_LT(meanRed(picture, shadowSide), 0.75 * meanRed(picture, farAway));
}

TEST(PathTracer, NoiseHalvesOrBetterFromSixteenTo256Samples) {
    const CubeOverSlab scene;
    const TraceScene cells = scene.scene();
    const auto noise = [&](int samples) {
        TraceSettings settings;
        settings.samples = samples;
        settings.floor = true;
        const TraceImage a = render(cells, scene.camera, settings).picture;
        settings.seed = 2;
        const TraceImage b = render(cells, scene.camera, settings).picture;
        double sum = 0.0;
        for (std::size_t i = 0; i < a.rgba.size(); ++i) sum += std::abs(a.rgba[i] - b.rgba[i]);
        return sum / a.rgba.size();
    };
    const double at16 = noise(16), at256 = noise(256);
    EXPECT_GT(at16, 0.0);
    EXPECT_LE(at256, 0.5 * at16);
}

TEST(PathTracer, CancelStopsWithoutAFinishedPicture) {
    const CubeOverSlab scene;
    TraceSettings settings;
    settings.samples = kMaxTraceSamples;
    std::atomic<bool> cancel{false};
    TraceCallbacks callbacks;
    callbacks.passDone = [&](const TraceImage&, int) { cancel = true; };
    TraceImage picture;
    EXPECT_FALSE(renderPathTraced(scene.scene(), scene.camera, settings, cancel, callbacks, picture));
    EXPECT_EQ(picture.rgba.size(), 4u * kWidth * kHeight);  // the first pass's
}

}  // namespace
}  // namespace cubrik
