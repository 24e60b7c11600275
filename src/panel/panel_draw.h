#pragma once
// Drawing the tool panel over the left of every frame, and the icon atlas
// texture it draws its buttons with. Needs a current OpenGL context.

#include <cstdint>
#include <span>

#include "model/edit_state.h"
#include "model/voxel_model.h"
#include "render/device_frame.h"

namespace cubrik {

struct Rgb8 {
    std::uint8_t r = 0, g = 0, b = 0;
};

// The desktop's button colours, read once at start-up.
struct PanelColours {
    Rgb8 face{0xf0, 0xf0, 0xf0};
    Rgb8 shadow{0xa0, 0xa0, 0xa0};
    Rgb8 light{0xff, 0xff, 0xff};
    Rgb8 selection{0x00, 0x78, 0xd7};
    Rgb8 dark{0x69, 0x69, 0x69};
};

struct PanelTexture {
    unsigned int name = 0;        // GL texture; 0: the panel draws without icons
    unsigned int doubleName = 0;  // the atlas drawn at twice the size, for finer framebuffers; 0: none
};

// Decodes the embedded atlases (TARGA files, the second drawn at twice the
// size) and uploads them. A damaged atlas leaves its texture empty: without
// the first the buttons have no icons, without the second a finer framebuffer
// takes the first; nothing is reported.
void loadPanelTexture(PanelTexture& texture, std::span<const std::uint8_t> atlas,
                      std::span<const std::uint8_t> doubleAtlas);
void releasePanelTexture(PanelTexture& texture);

// Everything one drawing of the panel reads.
struct PanelScene {
    const VoxelModel& model;
    const EditState& edit;
    const PanelDragState& drag;
    const PanelColours& colours;
    const PanelTexture& texture;
    int clientWidth = 1;
    int clientHeight = 1;
    bool compact = false;
    bool cursorKnown = false;  // where the pointer is now, for the drag ghost
    int cursorX = 0, cursorY = 0;
    DeviceFrame device{};  // the frame's pixels; the layout stays in client pixels
};

// Draws the panel over the whole client area's left strip: background,
// buttons in their states, colour slots, and the ghost of a dragged colour.
// Sets the viewport to the whole client area.
void drawPanel(const PanelScene& scene);

}  // namespace cubrik
