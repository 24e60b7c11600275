#include "formats/image/picture_file.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <jpeglib.h>

// TARGA only: libpng (decodePng) and libjpeg-turbo, which are fuzzed far more, read the rest.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS cubrik::kLargestPictureSide
#include <stb_image.h>

#include "formats/image/png_image.h"
#include "io/regular_file.h"

namespace cubrik {
namespace {

std::string damaged(const char* why) { return std::string("the picture is damaged (") + why + ")"; }

std::string tooLarge() { return "it is larger than " + std::to_string(kLargestPictureSide) + " pixels on a side"; }

// libjpeg reports errors by a long jump out of the decoder.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void leaveJpeg(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void ignoreJpegWarning(j_common_ptr /*info*/) {}

// The decoding between the jumps: only plain C data lives here, so a jump
// skips no destructor. `rgba` is allocated once the size is known and freed
// by the caller. Returns 1, 0 on an error the decoder reported, -1 when too large.
int runJpeg(jpeg_decompress_struct& info, JpegErrors& errors, std::span<const std::uint8_t> bytes,
            std::uint8_t** rgba) {
    if (setjmp(errors.jump)) return 0;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (info.image_width > kLargestPictureSide || info.image_height > kLargestPictureSide) return -1;
    info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    const std::size_t rowBytes = 4 * static_cast<std::size_t>(info.output_width);
    *rgba = static_cast<std::uint8_t*>(std::malloc(rowBytes * info.output_height));
    if (*rgba == nullptr) {
        std::strcpy(errors.message, "out of memory");
        return 0;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = *rgba + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return 1;
}

int decodeJpeg(std::span<const std::uint8_t> bytes, Picture& picture, std::string& reason) {
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = leaveJpeg;
    errors.manager.output_message = ignoreJpegWarning;
    std::uint8_t* rgba = nullptr;
    const int result = runJpeg(info, errors, bytes, &rgba);
    if (result == 1) {
        picture.width = static_cast<int>(info.output_width);
        picture.height = static_cast<int>(info.output_height);
        picture.rgba.assign(rgba, rgba + 4 * static_cast<std::size_t>(picture.width) * picture.height);
    } else {
        reason = result < 0 ? tooLarge() : damaged(errors.message);
    }
    std::free(rgba);
    jpeg_destroy_decompress(&info);
    return result == 1 ? 1 : 0;
}

int decodeTarga(std::span<const std::uint8_t> bytes, Picture& picture, std::string& reason) {
    const int length = static_cast<int>(std::min<std::size_t>(bytes.size(), 0x7fffffff));
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels)) {
        reason = "it is not a PNG, JPEG or TARGA picture";
        return 0;
    }
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4);
    if (pixels == nullptr) {
        const std::string why = stbi_failure_reason();
        reason = why == "too large" ? tooLarge() : damaged(why.c_str());
        return 0;
    }
    picture.width = width;
    picture.height = height;
    picture.rgba.assign(pixels, pixels + 4 * static_cast<std::size_t>(width) * height);
    stbi_image_free(pixels);
    return 1;
}

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
