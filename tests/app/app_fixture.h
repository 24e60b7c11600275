#pragma once
// An application started on the scripted fake desktop, drawing into an
// offscreen target of a headless OpenGL context, so whole flows run as the
// window would run them.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/commands/start_up.h"
#include "app/input/window_procedure.h"
#include "app/state/app.h"
#include "model/model_file.h"
#include "render/offscreen_target.h"
#include "support/fake_platform.h"
#include "support/shared_gl_context.h"
#include "support/temp_dir.h"

namespace cubrik::testing {

class AppTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 640, kHeight = 480;

    void SetUp() override {
        std::string glFailure;
        gl = sharedGlContext(glFailure);
        ASSERT_NE(gl, nullptr) << glFailure;
        std::string reason;
        ASSERT_EQ(ensureOffscreenTarget(target, kWidth, kHeight, reason), 1) << reason;
        binding = std::make_unique<OffscreenBinding>(target);
        app.paths.settingsFolder = dir / "settings";
        app.paths.desktopFolder = (dir / "Desktop").string();
        app.paths.helpDocument = "/opt/cubrik/docs/help/index.html";
    }
    void TearDown() override {
        EXPECT_EQ(platform.dialogsDuringGesture, 0) << "a gesture must end before any dialog";
        if (gl == nullptr) return;
        binding.reset();
        releaseGlResources(app);
        releaseOffscreenTarget(target);
    }

    void start(const std::string& commandLineName = "") {
        app.commandLineName = commandLineName;
        ASSERT_EQ(startUp(app), 1);
    }

    void send(Message message) { handleMessage(app, message); }
    void key(int code) {
        Message m{MessageType::KeyDown};
        m.key = code;
        send(m);
    }
    void ctrlKey(int code) {
        platform.ctrl = true;
        key(code);
        platform.ctrl = false;
    }
    void command(int id) {
        Message m{MessageType::Command};
        m.command = id;
        send(m);
    }
    void mouse(MessageType type, int x, int y) {
        Message m{type};
        m.x = x;
        m.y = y;
        send(m);
    }
    void paint() {
        Message m{MessageType::Paint};
        m.width = kWidth;
        m.height = kHeight;
        send(m);
    }

    // A model file with cell (50, 50, 50) of `code` and colour 0 of material A
    // set to `firstColour`.
    std::string writeModel(const std::string& name, std::uint8_t code, float firstColour = 0.5f) {
        ModelStore store;
        resetModel(store);
        store.model->cells[cellIndex(50, 50, 50)] = code;
        store.model->paletteA[0] = {firstColour, firstColour, firstColour};
        const std::string path = (dir / name).string();
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::string reason;
        EXPECT_EQ(writeModelFile(path, *store.model, reason), 1) << reason;
        return path;
    }

    HeadlessGlContext* gl = nullptr;
    TempDir dir;
    FakePlatform platform;
    App app{platform};
    OffscreenTarget target;
    std::unique_ptr<OffscreenBinding> binding;
};

}  // namespace cubrik::testing
