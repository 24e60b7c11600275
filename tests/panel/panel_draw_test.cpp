// The panel drawn through a real OpenGL (Mesa's llvmpipe, headless) on a
// framebuffer with finer pixels than the client's.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "panel/icon_atlas.h"
#include "panel/panel_draw.h"
#include "panel/panel_layout.h"
#include "render/offscreen_target.h"
#include "support/model_builders.h"
#include "support/shared_gl_context.h"

namespace cubrik {
namespace {

constexpr int kWidth = 100, kHeight = 700;

// The frame's pixels, rows from the top.
std::vector<std::uint32_t> drawnPanel(const PanelScene& scene, int width, int height) {
    OffscreenTarget target;
    std::string reason;
    EXPECT_EQ(ensureOffscreenTarget(target, width, height, reason), 1) << reason;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    {
        OffscreenBinding binding(target);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        drawPanel(scene);
    }
    readOffscreenPixels(target, 0, 0, width, height, reinterpret_cast<std::uint8_t*>(pixels.data()));
    releaseOffscreenTarget(target);
    std::vector<std::uint32_t> topDown(pixels.size());
    for (int row = 0; row < height; ++row)
        std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(row) * width, width,
                    topDown.begin() + static_cast<std::ptrdiff_t>(height - 1 - row) * width);
    return topDown;
}

// Twice as many device pixels a side: every client pixel becomes a 2 x 2
// block of one colour, the lines of the buttons and colour slots included
// (only the slanted sides of the current colour's notch are drawn finer),
// and wherever the picture at the client's pixels is one colour for two
// pixels round a pixel, its block has that colour.
TEST(PanelDrawing, AtTwiceTheScaleEachClientPixelIsABlockInItsPlace) {
    std::string failure;
    ASSERT_NE(testing::sharedGlContext(failure), nullptr) << failure;
    ModelStore store = testing::makeStore();
    EditState edit;
    edit.currentSlot = kFirstSlot + 3;
    store.model->lockedA[6] = 1;  // a locked slot draws a line two pixels wide
    PanelDragState drag;
    drag.hoverItem = 2;
    const PanelColours colours;
    PanelTexture none;
    const PanelScene client{*store.model, edit, drag, colours, none, kWidth, kHeight};
    PanelScene device = client;
    device.device = DeviceFrame{2.0, 2 * kWidth, 2 * kHeight};

    const std::vector<std::uint32_t> one = drawnPanel(client, kWidth, kHeight);
    const std::vector<std::uint32_t> two = drawnPanel(device, 2 * kWidth, 2 * kHeight);
    auto at = [](const std::vector<std::uint32_t>& pixels, int width, int x, int y) {
        return pixels[static_cast<std::size_t>(y) * width + x];
    };
    const PanelRect notched = panelItemRect(edit.currentSlot, false);
    int split = 0, misplaced = 0;
    for (int y = 2; y < kHeight - 2; ++y)
        for (int x = 2; x < kWidth - 2; ++x) {
            const std::uint32_t block = at(two, 2 * kWidth, 2 * x, 2 * y);
            const bool inNotch = x >= notched.right - 16 && x < notched.right && y >= notched.top && y < notched.bottom;
            for (int d = 1; d < 4 && !inNotch; ++d)
                if (at(two, 2 * kWidth, 2 * x + d % 2, 2 * y + d / 2) != block && ++split <= 5)
                    ADD_FAILURE() << "the block of client pixel " << x << "," << y << " is split";
            bool uniform = true;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) uniform = uniform && at(one, kWidth, x + dx, y + dy) == at(one, kWidth, x, y);
            if (uniform && block != at(one, kWidth, x, y) && ++misplaced <= 5)
                ADD_FAILURE() << "the block of client pixel " << x << "," << y << " has another colour";
        }
    EXPECT_EQ(split, 0);
    EXPECT_EQ(misplaced, 0);

    PanelTexture atlases;
    loadPanelTexture(atlases, embeddedIconAtlas(), embeddedDoubleIconAtlas());
    EXPECT_NE(atlases.name, 0u);
    EXPECT_NE(atlases.doubleName, 0u);
    releasePanelTexture(atlases);
}

}  // namespace
}  // namespace cubrik
