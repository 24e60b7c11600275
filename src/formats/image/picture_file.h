#pragma once
// Pictures to trace behind the model: PNG (libpng), JPEG (libjpeg-turbo) and
// TARGA files decoded to RGBA, of a size a texture takes.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace cubrik {

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;  // rows top to bottom
};

// Larger JPEG and TARGA pictures are refused (PNG ones above kMaxPngSide); a
// picture to trace needs nothing near this.
inline constexpr int kLargestPictureSide = 8192;

// Decodes a PNG, JPEG or TARGA file's bytes. Returns 1, or 0 with `reason`
// ("it is not a PNG, JPEG or TARGA picture").
int decodePicture(std::span<const std::uint8_t> bytes, Picture& picture, std::string& reason);

// Reads and decodes the file, then halves the picture until neither side is
// above `largestSide`. Returns 1, or 0 with `reason`.
int readPicture(const std::filesystem::path& path, int largestSide, Picture& picture, std::string& reason);

// Halves the picture, averaging 2 x 2 pixels, until neither side is above `largestSide`.
void shrinkPicture(Picture& picture, int largestSide);

}  // namespace cubrik
