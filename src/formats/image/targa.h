#pragma once
// 32-bit TARGA images: the writer of "Export an image" and the decoder of the
// panel's embedded 64 x 256 icon atlas (and its 2x twin). Pixels are blue, green, red, alpha.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace cubrik {

inline constexpr int kAtlasWidth = 64;
inline constexpr int kAtlasHeight = 256;

// The file's exact bytes: the 18-byte header (type 2, 32 bits, descriptor
// 0x08), the pixels as given (rows bottom to top), the 26-byte footer.
std::string formatTarga(int width, int height, std::span<const std::uint8_t> pixels);

// Writes the image atomically. Returns 1, or 0 with `reason`.
int writeTarga(const std::filesystem::path& path, int width, int height, std::span<const std::uint8_t> pixels,
               std::string& reason);

// Decodes a 64 x 256, 32-bit TARGA (uncompressed or run-length encoded) into
// rows from top to bottom; with `scale` 2 the atlas drawn at twice the size,
// 128 x 512. Returns 1, or 0 when the header is not accepted or the data ends
// before the image does.
int decodeAtlasTarga(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& texels, int scale = 1);

}  // namespace cubrik
