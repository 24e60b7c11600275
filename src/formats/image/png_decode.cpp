#include <climits>
#include <cstdlib>

#include "formats/image/png_image.h"

// stb_image (Debian libstb-dev) for PNG only, from memory, with the sides
// bounded before any pixel memory is allocated.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 4096
#include <stb_image.h>

namespace cubrik {

static_assert(STBI_MAX_DIMENSIONS == kMaxPngSide);

int decodePng(std::span<const std::uint8_t> bytes, int& width, int& height, std::vector<std::uint8_t>& rgba,
              std::string& reason) {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        reason = "the file is too large for an image";
        return 0;
    }
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 4);
    if (pixels == nullptr) {
        reason = std::string("it is not a PNG image that can be read (") + stbi_failure_reason() + ")";
        return 0;
    }
    rgba.assign(pixels, pixels + 4 * static_cast<std::size_t>(width) * height);
    stbi_image_free(pixels);
    return 1;
}

}  // namespace cubrik
