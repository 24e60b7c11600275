#pragma once
// One read-back of the pick pass: every visible face drawn in the colour
// (2x, 2y, 2z) of its cell on a white background. Tools decode any number of
// pixels from it without touching OpenGL again.

#include <cstdint>
#include <memory>

namespace cubrik {

// The two pick passes: the visible filled cells, or the empty cells just in
// front of the visible faces.
enum class PickMode { Empty, Solid };

struct PickBuffer {
    std::unique_ptr<std::uint8_t[]> pixels;  // RGBA, rows bottom to top, packed
    std::uint32_t capacity = 0;              // bytes allocated; grows, never shrinks
    std::int32_t width = 0;                  // the client area at the time of the read
    std::int32_t height = 0;
};

// The cell a pick colour names, or -1: any channel above 198 names none.
inline int decodePickColour(const std::uint8_t* rgba) {
    if (rgba[0] > 198 || rgba[1] > 198 || rgba[2] > 198) return -1;
    return rgba[0] / 2 + 100 * (rgba[1] / 2) + 10000 * (rgba[2] / 2);
}

// The cell under window pixel (x, y), y from the top, or -1 when the pixel is
// outside the buffer or names no cell.
inline int pickCell(const PickBuffer& buffer, int x, int y) {
    if (x < 0 || y < 0 || x >= buffer.width || y >= buffer.height) return -1;
    const std::size_t row = static_cast<std::size_t>(buffer.height - 1 - y);
    return decodePickColour(buffer.pixels.get() + 4 * (static_cast<std::size_t>(x) + row * buffer.width));
}

// Records the size of a read of width x height and makes room for it. Returns
// 1, or 0 with nothing changed when a side is not positive or memory is
// exhausted.
int preparePickBuffer(PickBuffer& buffer, int width, int height);

}  // namespace cubrik
