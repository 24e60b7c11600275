#pragma once
// Pick read-backs made by hand, so the tools can be tested and measured
// without drawing the pick pass.

#include <cstdint>
#include <stdexcept>

#include "model/pick_buffer.h"
#include "model/voxel_model.h"

namespace cubrik::testing {

// Window pixel (x, y), y from the top, showing cell (cx, cy, cz) in its pick colour.
inline void setPickPixel(PickBuffer& buffer, int x, int y, int cx, int cy, int cz) {
    std::uint8_t* p = buffer.pixels.get() + 4 * (x + buffer.width * (buffer.height - 1 - y));
    p[0] = static_cast<std::uint8_t>(2 * cx);
    p[1] = static_cast<std::uint8_t>(2 * cy);
    p[2] = static_cast<std::uint8_t>(2 * cz);
    p[3] = 255;
}

// A width x height read-back over the background only.
inline void preparePickBackground(PickBuffer& buffer, int width, int height) {
    if (!preparePickBuffer(buffer, width, height)) throw std::runtime_error("out of memory");
    for (std::uint32_t i = 0; i < 4u * width * height; ++i) buffer.pixels[i] = 255;
}

// A front view of the face at depth z: pixel (x, y) shows cell (x, y, z) for
// x, y < 100 and the background elsewhere.
inline void preparePickFace(PickBuffer& buffer, int width, int height, int z) {
    preparePickBackground(buffer, width, height);
    for (int y = 0; y < height && y < kGridSize; ++y)
        for (int x = 0; x < width && x < kGridSize; ++x) setPickPixel(buffer, x, y, x, y, z);
}

}  // namespace cubrik::testing
