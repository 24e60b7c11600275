#include <png.h>
#include <zlib.h>

#include <array>

#include "formats/image/png_image.h"

namespace cubrik {
namespace {

std::uint32_t readBe32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 | std::uint32_t{bytes[at + 2]} << 8 |
           bytes[at + 3];
}

// The filtered rows' size in bytes, a filter byte before each row of each
// interlace pass, from the header of a file libpng accepted.
std::uint64_t filteredRowsSize(std::span<const std::uint8_t> bytes) {
    const std::uint64_t width = readBe32(bytes, 16), height = readBe32(bytes, 20);
    const int depth = bytes[24], colourType = bytes[25];
    const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    const auto rows = [&](std::uint64_t columns, std::uint64_t count) {
        return columns == 0 ? 0 : count * (1 + (columns * channels * depth + 7) / 8);
    };
    if (bytes[28] == 0) return rows(width, height);
    // Adam7: each pass's first column and row, and its steps.
    constexpr std::array<std::array<int, 4>, 7> kPasses{
        {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}};
    std::uint64_t size = 0;
    for (const auto& [x, y, xStep, yStep] : kPasses)
        if (width > static_cast<std::uint64_t>(x) && height > static_cast<std::uint64_t>(y))
            size += rows((width - x + xStep - 1) / xStep, (height - y + yStep - 1) / yStep);
    return size;
}

// libpng inflates all that follows the last row to find the end of the
// compressed stream, so a small file whose data inflates to gigabytes after a
// 16 x 16 image took it a minute. Inflates the IDAT data into a scratch
// buffer, no further than one byte past what the rows need: true when there
// is that byte. Damage is left for libpng to report.
bool inflatesPastTheRows(std::span<const std::uint8_t> bytes) {
    const std::uint64_t needed = filteredRowsSize(bytes);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return false;
    std::array<std::uint8_t, 1 << 16> scratch;
    std::uint64_t produced = 0;
    bool seenData = false;
    int status = Z_OK;
    for (std::size_t at = 8; status == Z_OK && produced <= needed && bytes.size() - at >= 12;) {
        const std::uint32_t length = readBe32(bytes, at);
        const bool data = readBe32(bytes, at + 4) == 0x49444154;  // "IDAT"
        if (length > bytes.size() - at - 12 || (seenData && !data)) break;
        seenData = seenData || data;
        if (data) {
            stream.next_in = const_cast<std::uint8_t*>(bytes.data() + at + 8);
            stream.avail_in = length;
            while (status == Z_OK && produced <= needed && stream.avail_in > 0) {
                stream.next_out = scratch.data();
                stream.avail_out = scratch.size();
                status = inflate(&stream, Z_NO_FLUSH);
                produced += scratch.size() - stream.avail_out;
            }
        }
        at += 12 + std::size_t{length};
    }
    inflateEnd(&stream);
    return produced > needed;
}

}  // namespace

// libpng's simplified reader: the sides are known before any pixel memory
// is taken, and the rows are inflated straight into the one buffer, so a
// damaged or hostile file cannot make it allocate more than the image needs.
int decodePng(std::span<const std::uint8_t> bytes, int& width, int& height, std::vector<std::uint8_t>& rgba,
              std::string& reason) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    const auto unreadable = [&](const char* why) {
        reason = std::string("it is not a PNG image that can be read (") + why + ")";
        png_image_free(&image);
        return 0;
    };
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return unreadable(image.message);
    if (image.width > static_cast<png_uint_32>(kMaxPngSide) || image.height > static_cast<png_uint_32>(kMaxPngSide)) {
        reason = "the image is " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                 " pixels; at most " + std::to_string(kMaxPngSide) + " a side are read";
        png_image_free(&image);
        return 0;
    }
    if (inflatesPastTheRows(bytes)) return unreadable("its data inflates to more than its rows");
    image.format = PNG_FORMAT_RGBA;
    rgba.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return unreadable(image.message);
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return 1;
}

}  // namespace cubrik
