#include <png.h>

#include "formats/image/png_image.h"

namespace cubrik {

// libpng's simplified reader: the sides are known before any pixel memory
// is taken, and the rows are inflated straight into the one buffer, so a
// damaged or hostile file cannot make it allocate more than the image needs.
int decodePng(std::span<const std::uint8_t> bytes, int& width, int& height, std::vector<std::uint8_t>& rgba,
              std::string& reason) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    const auto unreadable = [&] {
        reason = std::string("it is not a PNG image that can be read (") + image.message + ")";
        png_image_free(&image);
        return 0;
    };
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return unreadable();
    if (image.width > static_cast<png_uint_32>(kMaxPngSide) || image.height > static_cast<png_uint_32>(kMaxPngSide)) {
        reason = "the image is " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                 " pixels; at most " + std::to_string(kMaxPngSide) + " a side are read";
        png_image_free(&image);
        return 0;
    }
    image.format = PNG_FORMAT_RGBA;
    rgba.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return unreadable();
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return 1;
}

}  // namespace cubrik
