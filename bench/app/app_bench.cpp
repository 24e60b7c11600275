// The application's paint cycle through Mesa's llvmpipe: start-up to the first
// frame, and whole frames at two window sizes with a sample model.
#include <benchmark/benchmark.h>

#include <epoxy/gl.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/commands/start_up.h"
#include "app/input/window_procedure.h"
#include "app/state/app.h"
#include "render/offscreen_target.h"
#include "support/fake_platform.h"
#include "support/shared_gl_context.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

// The first sample model, so the frame shows what a user opens first.
std::string sampleModel() {
    for (const auto& entry : std::filesystem::directory_iterator(CUBRIK_EXAMPLES_DIR))
        if (entry.path().extension() == ".cbk") return entry.path().string();
    return "";
}

struct Window {
    testing::TempDir dir;
    testing::FakePlatform platform;
    App app{platform};
    OffscreenTarget target;
    std::unique_ptr<OffscreenBinding> binding;
    int width, height;

    Window(int w, int h) : width(w), height(h) {
        std::string reason;
        if (testing::sharedGlContext(reason) == nullptr) throw std::runtime_error(reason);
        ensureOffscreenTarget(target, w, h, reason);
        binding = std::make_unique<OffscreenBinding>(target);
        app.paths.settingsFolder = dir / "settings";
        app.commandLineName = sampleModel();
    }
    ~Window() {
        binding.reset();
        releaseGlResources(app);
        releaseOffscreenTarget(target);
    }
    void paint() {
        app.window.lastMessage = MessageType::MouseMove;  // anything but a paint: the frame is drawn
        Message message{MessageType::Paint};
        message.width = width;
        message.height = height;
        handleMessage(app, message);
        glFinish();
    }
};

void BM_StartUpToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        Window window(800, 600);
        if (!startUp(window.app)) state.SkipWithError("start-up failed");
        window.paint();
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// range(0): width, range(1): height, range(2): 1 when a cell changes every frame.
void BM_Frame(benchmark::State& state) {
    Window window(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    if (!startUp(window.app)) state.SkipWithError("start-up failed");
    const bool edited = state.range(2) == 1;
    std::uint8_t& cell = window.app.model().cells[0];
    for (auto _ : state) {
        if (edited) cell = cell ? 0 : 1;
        window.paint();
    }
    state.SetLabel(std::filesystem::path(sampleModel()).filename().string() + (edited ? ", model edited" : ", unchanged"));
}
BENCHMARK(BM_Frame)
    ->Args({800, 600, 0})
    ->Args({800, 600, 1})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->ArgNames({"w", "h", "edited"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace cubrik
