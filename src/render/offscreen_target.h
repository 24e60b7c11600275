#pragma once
// A framebuffer object (RGBA8 colour, 24-bit depth) of the client size, the
// target of the pick pass and the image export: nothing drawn there can flash
// on screen, and it works without any window.

#include <cstdint>
#include <string>

namespace cubrik {

struct OffscreenTarget {
    unsigned int framebuffer = 0;  // GL names; 0 while not created
    unsigned int colour = 0;
    unsigned int depth = 0;
    int width = 0;
    int height = 0;
};

// Makes `target` exactly width x height, creating or resizing it. Needs a
// current GL context. Returns 1, or 0 with `reason`.
int ensureOffscreenTarget(OffscreenTarget& target, int width, int height, std::string& reason);

// Deletes the GL objects; the context that made them must be current.
void releaseOffscreenTarget(OffscreenTarget& target);

// Binds the target for drawing and reading until the guard goes out of scope,
// then binds again what was bound before (a widget may draw into its own
// framebuffer object, not into 0).
struct OffscreenBinding {
    explicit OffscreenBinding(const OffscreenTarget& target);
    ~OffscreenBinding();
    OffscreenBinding(const OffscreenBinding&) = delete;
    OffscreenBinding& operator=(const OffscreenBinding&) = delete;

    int previousDraw = 0;
    int previousRead = 0;
    int previousViewport[4] = {0, 0, 0, 0};
};

// Reads the rectangle (x, y, width, height) of the target, rows bottom to
// top, as RGBA bytes into `rgba`, after all drawing has finished; each row
// `rowLength` pixels after the one before (0: packed).
void readOffscreenPixels(const OffscreenTarget& target, int x, int y, int width, int height, std::uint8_t* rgba,
                         int rowLength = 0);

}  // namespace cubrik
