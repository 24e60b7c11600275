#pragma once
// The reference picture decoders that decodePicture chooses between, and the
// reasons they share.

#include <cstdint>
#include <span>
#include <string>

#include "formats/image/picture_file.h"

namespace cubrik {

inline std::string damagedPicture(const std::string& why) { return "the picture is damaged (" + why + ")"; }

inline std::string pictureTooLarge() {
    return "it is larger than " + std::to_string(kLargestPictureSide) + " pixels on a side";
}

// Each returns 1, or 0 with `reason`.
int decodeJpeg(std::span<const std::uint8_t> bytes, Picture& picture, std::string& reason);
int decodeTarga(std::span<const std::uint8_t> bytes, Picture& picture, std::string& reason);

}  // namespace cubrik
