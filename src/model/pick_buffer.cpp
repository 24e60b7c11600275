#include "model/pick_buffer.h"

#include <new>

namespace cubrik {

int preparePickBuffer(PickBuffer& buffer, int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    const std::uint64_t bytes = 4ull * static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    if (bytes > UINT32_MAX) return 0;
    if (buffer.capacity < bytes) {
        std::unique_ptr<std::uint8_t[]> grown(new (std::nothrow) std::uint8_t[bytes]);
        if (!grown) return 0;
        buffer.pixels = std::move(grown);
        buffer.capacity = static_cast<std::uint32_t>(bytes);
    }
    buffer.width = width;
    buffer.height = height;
    return 1;
}

}  // namespace cubrik
