// The reference picture decoder on arbitrary bytes: it refuses or gives a
// whole picture, which halving then shrinks without reading past it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formats/image/picture_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    cubrik::Picture picture;
    std::string reason;
    if (!cubrik::decodePicture({data, size}, picture, reason)) return 0;
    if (picture.rgba.size() != 4u * picture.width * picture.height) std::abort();
    if (picture.width > 1024 || picture.height > 1024) return 0;  // a large one only costs time
    cubrik::shrinkPicture(picture, 16);
    if (picture.width > 16 || picture.height > 16 || picture.rgba.size() != 4u * picture.width * picture.height)
        std::abort();
    return 0;
}
