#include "formats/image/picture_file.h"

#include <algorithm>
#include <cstdlib>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS cubrik::kLargestPictureSide
#include <stb_image.h>

#include "io/atomic_file.h"

namespace cubrik {

int decodePicture(std::span<const std::uint8_t> bytes, Picture& picture, std::string& reason) {
    const int length = static_cast<int>(std::min<std::size_t>(bytes.size(), 0x7fffffff));
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels)) {
        reason = "it is not a PNG, JPEG or TARGA picture";
        return 0;
    }
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4);
    if (pixels == nullptr) {
        const std::string why = stbi_failure_reason();
        reason = why == "too large" ? "it is larger than " + std::to_string(kLargestPictureSide) + " pixels on a side"
                 : why == "outofmem" ? "there is not enough memory for it"
                                     : "the picture is damaged (" + why + ")";
        return 0;
    }
    picture.width = width;
    picture.height = height;
    picture.rgba.assign(pixels, pixels + 4 * static_cast<std::size_t>(width) * height);
    stbi_image_free(pixels);
    return 1;
}

int readPicture(const std::filesystem::path& path, int largestSide, Picture& picture, std::string& reason) {
    std::string bytes;
    if (!readWholeFile(path, bytes, reason)) return 0;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (!decodePicture({data, bytes.size()}, picture, reason)) return 0;
    shrinkPicture(picture, largestSide);
    return 1;
}

void shrinkPicture(Picture& picture, int largestSide) {
    while (picture.width > largestSide || picture.height > largestSide) {
        const int width = (picture.width + 1) / 2, height = (picture.height + 1) / 2;
        std::vector<std::uint8_t> half(4 * static_cast<std::size_t>(width) * height);
        // An odd last row or column counts twice.
        const auto at = [&picture](int x, int y, int channel) {
            const int cx = std::min(x, picture.width - 1), cy = std::min(y, picture.height - 1);
            return picture.rgba[4 * (static_cast<std::size_t>(cy) * picture.width + cx) + channel];
        };
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int channel = 0; channel < 4; ++channel)
                    half[4 * (static_cast<std::size_t>(y) * width + x) + channel] = static_cast<std::uint8_t>(
                        (at(2 * x, 2 * y, channel) + at(2 * x + 1, 2 * y, channel) + at(2 * x, 2 * y + 1, channel) +
                         at(2 * x + 1, 2 * y + 1, channel) + 2) / 4);
        picture = {width, height, std::move(half)};
    }
}

}  // namespace cubrik
