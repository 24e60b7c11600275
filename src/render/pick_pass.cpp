#include "render/pick_pass.h"

namespace cubrik {

int readPickBuffer(const OffscreenTarget& target, PickBuffer& buffer, int width, int height) {
    if (!preparePickBuffer(buffer, width, height)) return 0;
    readOffscreenPixels(target, 0, 0, width, height, buffer.pixels.get());
    return 1;
}

int readPickPixel(const OffscreenTarget& target, int x, int y, int width, int height) {
    if (x < 0 || y < 0 || x >= width || y >= height) return -1;
    std::uint8_t rgba[4];
    readOffscreenPixels(target, x, height - 1 - y, 1, 1, rgba);
    return decodePickColour(rgba);
}

}  // namespace cubrik
