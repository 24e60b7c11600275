// TARGA reference pictures through stb_image, which reads any TARGA but
// takes missing bytes for black ones: the file must first hold every pixel
// its header declares.
#include <algorithm>

#include "formats/image/picture_codecs.h"

// TARGA only: libpng (decodePng) and libjpeg-turbo, which are fuzzed far more, read the rest.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS cubrik::kLargestPictureSide
#include <stb_image.h>

namespace cubrik {
namespace {

constexpr std::size_t kHeaderSize = 18;

std::size_t readLe16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | std::size_t{bytes[at + 1]} << 8;
}

// Whether the bytes after the header (of a file stb_image took for a TARGA)
// cover all `pixels`, counted as stb_image reads them. A run-length file is
// walked packet by packet, so one that declares 8192 x 8192 in a few bytes is
// refused before the decoder allocates the whole image.
bool holdsEveryPixel(std::span<const std::uint8_t> bytes, std::size_t pixels) {
    const bool indexed = bytes[1] == 1, runLength = bytes[2] >= 8;
    // stb_image skips the identification, then for an indexed picture as many
    // bytes as the first colour map index says before the colour map.
    std::size_t at = kHeaderSize + bytes[0];
    if (indexed) at += readLe16(bytes, 3) + readLe16(bytes, 5) * ((bytes[7] + 7u) / 8);
    const std::size_t pixelBytes = (bytes[16] + 7u) / 8;
    if (at > bytes.size()) return false;
    if (!runLength) return (bytes.size() - at) / pixelBytes >= pixels;
    for (std::size_t covered = 0; covered < pixels;) {
        if (at == bytes.size()) return false;
        const std::uint8_t packet = bytes[at++];
        const std::size_t count = std::min<std::size_t>((packet & 0x7f) + 1u, pixels - covered);
        const std::size_t packetBytes = (packet & 0x80 ? 1 : count) * pixelBytes;
        if (bytes.size() - at < packetBytes) return false;
        at += packetBytes;
        covered += count;
    }
    return true;
}

}  // namespace

int decodeTarga(std::span<const std::uint8_t> bytes, Picture& picture, std::string& reason) {
    const int length = static_cast<int>(std::min<std::size_t>(bytes.size(), 0x7fffffff));
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels)) {
        reason = "it is not a PNG, JPEG or TARGA picture";
        return 0;
    }
    if (width > kLargestPictureSide || height > kLargestPictureSide) {
        reason = pictureTooLarge();
        return 0;
    }
    if (!holdsEveryPixel(bytes.first(length), static_cast<std::size_t>(width) * height)) {
        reason = damagedPicture("its pixels end before the image does");
        return 0;
    }
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4);
    if (pixels == nullptr) {
        const std::string why = stbi_failure_reason();
        reason = why == "too large" ? pictureTooLarge() : damagedPicture(why);
        return 0;
    }
    picture.width = width;
    picture.height = height;
    picture.rgba.assign(pixels, pixels + 4 * static_cast<std::size_t>(width) * height);
    stbi_image_free(pixels);
    return 1;
}

}  // namespace cubrik
