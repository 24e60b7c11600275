#pragma once
// RGBA PNG images from the pixel buffer the TARGA writer takes.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace cubrik {

// Writes `bgraBottomUp` (blue, green, red, alpha; rows bottom to top) as a
// top-to-bottom RGBA PNG, atomically. Returns 1, or 0 with `reason`.
int writePng(const std::filesystem::path& path, int width, int height, std::span<const std::uint8_t> bgraBottomUp,
             std::string& reason);

}  // namespace cubrik
