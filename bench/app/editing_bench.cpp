// Editing through the window procedure at 800 x 600 on the radius-45
// two-material sphere, smooth display: a stroke start (pick pass, read-back
// and tool), a stroke step with the frame after it, whole short strokes at
// 800 x 600 and 3840 x 2160, the panel, recolouring by colour drag, and the
// pen pressure poll.
#include <benchmark/benchmark.h>

#include <epoxy/gl.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "app/commands/start_up.h"
#include "app/input/window_procedure.h"
#include "app/state/app.h"
#include "app/input/tablet.h"
#include "panel/palette_editing.h"
#include "render/camera.h"
#include "render/offscreen_target.h"
#include "support/fake_platform.h"
#include "support/model_builders.h"
#include "support/shared_gl_context.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

constexpr int kWidth = 800, kHeight = 600, kCentreX = 432, kCentreY = 299;

struct Editor {
    int width, height;
    testing::TempDir dir;
    testing::FakePlatform platform;
    App app{platform};
    OffscreenTarget target;
    std::unique_ptr<OffscreenBinding> binding;
    std::unique_ptr<std::uint8_t[]> sphere{new std::uint8_t[kCellCount]};

    explicit Editor(int w = kWidth, int h = kHeight) : width(w), height(h) {
        std::string reason;
        if (testing::sharedGlContext(reason) == nullptr) throw std::runtime_error(reason);
        ensureOffscreenTarget(target, width, height, reason);
        binding = std::make_unique<OffscreenBinding>(target);
        app.paths.settingsFolder = dir / "settings";
        if (!startUp(app)) throw std::runtime_error("start-up failed");
        testing::fillSphere(app.model(), 45);
        std::memcpy(sphere.get(), app.model().cells, kCellCount);
        app.edit.alsoShownMaterial = Material::B;
        paint();
    }
    ~Editor() {
        binding.reset();
        releaseGlResources(app);
        releaseOffscreenTarget(target);
    }
    void send(MessageType type, int x = 0, int y = 0) {
        Message message{type};
        message.x = x;
        message.y = y;
        handleMessage(app, message);
    }
    void paint() {
        app.window.lastMessage = MessageType::MouseMove;
        Message message{MessageType::Paint};
        message.width = width;
        message.height = height;
        handleMessage(app, message);
        glFinish();
    }
    void restoreSphere() { std::memcpy(app.model().cells, sphere.get(), kCellCount); }
};

// range(0): the tool.
void BM_StrokeStart(benchmark::State& state) {
    Editor editor;
    editor.app.edit.currentTool = static_cast<Tool>(state.range(0));
    for (auto _ : state) {
        editor.send(MessageType::LeftDown, kCentreX, kCentreY);
        state.PauseTiming();
        editor.send(MessageType::LeftUp, kCentreX, kCentreY);
        editor.restoreSphere();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StrokeStart)->Arg(1)->Arg(2)->Arg(6)->ArgName("tool")->Unit(benchmark::kMillisecond)->UseRealTime();

// A whole short Paint stroke, as a user makes one: press, a frame, one move
// (a tenth of the view's height), a frame, release, a frame. The view shows
// the same model at every size, so only the window's pixels differ.
// range(0): width, range(1): height.
void BM_Stroke(benchmark::State& state) {
    Editor editor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    editor.app.edit.currentTool = Tool::Paint;
    const int x = kViewLeft + (editor.width - kViewLeft) / 2, y = editor.height / 2 - 1;
    const int move = editor.height / 10;
    for (auto _ : state) {
        editor.send(MessageType::LeftDown, x, y);
        editor.paint();
        editor.send(MessageType::MouseMove, x + move, y + move);
        editor.paint();
        editor.send(MessageType::LeftUp, x + move, y + move);
        editor.paint();
        state.PauseTiming();
        editor.restoreSphere();
        editor.paint();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Stroke)
    ->Args({800, 600})
    ->Args({3840, 2160})
    ->ArgNames({"w", "h"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A Coat stroke going round a circle: every step adds cells, so every frame
// after it walks the changed model.
void BM_StrokeStepAndFrame(benchmark::State& state) {
    Editor editor;
    editor.app.edit.currentTool = Tool::Coat;
    editor.app.model().brushSize = 8;
    int step = 0;
    for (auto _ : state) {
        if (step % 64 == 0) {
            state.PauseTiming();
            editor.send(MessageType::LeftUp, kCentreX, kCentreY);
            editor.restoreSphere();
            editor.send(MessageType::LeftDown, kCentreX + 100, kCentreY);
            state.ResumeTiming();
        }
        const double angle = 6.2831853 * (step++ % 64) / 64;
        editor.send(MessageType::MouseMove, kCentreX + static_cast<int>(100 * std::cos(angle)),
                    kCentreY + static_cast<int>(100 * std::sin(angle)));
        editor.paint();
    }
}
BENCHMARK(BM_StrokeStepAndFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// The CPU side of drawing the panel: its calls handed to the driver.
void BM_DrawPanel(benchmark::State& state) {
    Editor editor;
    App& app = editor.app;
    const PanelScene scene{app.model(), app.edit, app.panel, app.panelColours, app.panelTexture, kWidth, kHeight,
                           false,       false,    0,         0};
    for (auto _ : state) drawPanel(scene);
    glFinish();
}
BENCHMARK(BM_DrawPanel)->Unit(benchmark::kMicrosecond);

void BM_RecolourCells(benchmark::State& state) {
    Editor editor;
    App& app = editor.app;
    const SelectionTarget selection{app.history, app.model(), app.edit, app.flags};
    int from = 1;
    for (auto _ : state) {
        recolourCells(selection, from, from % 16 + 1);
        from = from % 16 + 1;
    }
}
BENCHMARK(BM_RecolourCells)->Unit(benchmark::kMicrosecond);

// A full queue of 32 packets taken by one poll.
void BM_PollTablet(benchmark::State& state) {
    Editor editor;
    App& app = editor.app;
    app.tablet.tabletAvailable = 1;
    std::uint32_t pressure = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < kTabletQueueSize; ++i)
            queueTabletPacket(app.tablet, {1, 1, (pressure += 37) % 1024, 0, 1023, 0});
        benchmark::DoNotOptimize(pollTablet(app));
    }
}
BENCHMARK(BM_PollTablet)->Unit(benchmark::kMicrosecond);

// The same stroke without the frames: the work the stroke itself adds,
// mostly its pick passes. range(2): the tool (Paint, or Smoothing with its
// two passes).
void BM_StrokeWithoutFrames(benchmark::State& state) {
    Editor editor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    editor.app.edit.currentTool = static_cast<Tool>(state.range(2));
    const int x = kViewLeft + (editor.width - kViewLeft) / 2, y = editor.height / 2 - 1;
    const int move = editor.height / 10;
    for (auto _ : state) {
        editor.send(MessageType::LeftDown, x, y);
        editor.app.gestures.stepSincePaint = 0;  // as a frame would
        editor.send(MessageType::MouseMove, x + move, y + move);
        editor.send(MessageType::LeftUp, x + move, y + move);
        glFinish();
        state.PauseTiming();
        state.counters["pick drawings"] = editor.app.editing.currentPick.fetches;
        editor.restoreSphere();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StrokeWithoutFrames)
    ->Args({800, 600, 1})
    ->Args({3840, 2160, 1})
    ->Args({800, 600, 6})
    ->Args({3840, 2160, 6})
    ->ArgNames({"w", "h", "tool"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace cubrik
