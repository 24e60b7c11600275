#pragma once
// RGBA PNG images from the pixel buffer the TARGA writer takes, and the
// reader of PNG files (palettes come as pictures too).

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace cubrik {

// Writes `bgraBottomUp` (blue, green, red, alpha; rows bottom to top) as a
// top-to-bottom RGBA PNG, atomically. Returns 1, or 0 with `reason`.
int writePng(const std::filesystem::path& path, int width, int height, std::span<const std::uint8_t> bgraBottomUp,
             std::string& reason);

// Blue, green, red, alpha with rows bottom to top (what the image writers
// take) and red, green, blue, alpha with rows top to bottom (what pictures
// hold): one flip turns either layout into the other.
std::vector<std::uint8_t> otherPixelLayout(int width, int height, std::span<const std::uint8_t> pixels);

// The largest width or height decodePng accepts.
inline constexpr int kMaxPngSide = 4096;

// Decodes a PNG image of any colour type and depth into 8-bit sRGB red,
// green, blue, alpha pixels, rows top to bottom. Returns 1, or 0 with `reason` when
// the bytes are no PNG image or a side exceeds kMaxPngSide.
int decodePng(std::span<const std::uint8_t> bytes, int& width, int& height, std::vector<std::uint8_t>& rgba,
              std::string& reason);

}  // namespace cubrik
