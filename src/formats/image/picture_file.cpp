#include "formats/image/picture_file.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "formats/image/picture_codecs.h"
#include "formats/image/png_image.h"
#include "io/regular_file.h"

namespace cubrik {
namespace {

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view signature) {
    return bytes.size() >= signature.size() && std::memcmp(bytes.data(), signature.data(), signature.size()) == 0;
}

}  // namespace

int decodePicture(std::span<const std::uint8_t> bytes, Picture& picture, std::string& reason) {
    try {
        if (startsWith(bytes, "\x89PNG\r\n\x1a\n"))
            return decodePng(bytes, picture.width, picture.height, picture.rgba, reason);
        if (startsWith(bytes, "\xff\xd8\xff")) return decodeJpeg(bytes, picture, reason);
        return decodeTarga(bytes, picture, reason);  // TARGA has no signature
    } catch (const std::bad_alloc&) {
        reason = "there is not enough memory for it";
        return 0;
    }
}

int readPicture(const std::filesystem::path& path, int largestSide, Picture& picture, std::string& reason) {
    // No picture of an accepted size takes more than an uncompressed 32-bit TARGA and its headers.
    constexpr ReadLimit kLimit{std::uint64_t{4} * kLargestPictureSide * kLargestPictureSide + (1u << 20)};
    std::string bytes;
    if (!readRegularFile(path, kLimit, bytes, reason)) return 0;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (!decodePicture({data, bytes.size()}, picture, reason)) return 0;
    shrinkPicture(picture, largestSide);
    return 1;
}

void shrinkPicture(Picture& picture, int largestSide) {
    while (picture.width > largestSide || picture.height > largestSide) {
        const int width = (picture.width + 1) / 2, height = (picture.height + 1) / 2;
        std::vector<std::uint8_t> half(4 * static_cast<std::size_t>(width) * height);
        const std::size_t rowBytes = 4 * static_cast<std::size_t>(picture.width);
        for (int y = 0; y < height; ++y) {
            // An odd last row or column counts twice.
            const std::uint8_t* upper = picture.rgba.data() + 2 * y * rowBytes;
            const std::uint8_t* lower = picture.rgba.data() + std::min(2 * y + 1, picture.height - 1) * rowBytes;
            std::uint8_t* out = half.data() + 4 * static_cast<std::size_t>(y) * width;
            for (int x = 0; x < width; ++x, out += 4) {
                const int left = 8 * x, right = 4 * std::min(2 * x + 1, picture.width - 1);
                for (int channel = 0; channel < 4; ++channel)
                    out[channel] = static_cast<std::uint8_t>((upper[left + channel] + upper[right + channel] +
                                                              lower[left + channel] + lower[right + channel] + 2) / 4);
            }
        }
        picture = {width, height, std::move(half)};
    }
}

}  // namespace cubrik
