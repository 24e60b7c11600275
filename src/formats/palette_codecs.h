#pragma once
// The palette files of paint programs, one file per format: GIMP (.gpl),
// Lospec (.hex, one RRGGBB a line), JASC (.pal) and pictures (.png, the
// distinct colours in reading order). Colours are 0xRRGGBB. Every reader is
// bounded by its input and keeps at most kMaxPaletteFileColours colours.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace cubrik {

inline constexpr std::size_t kMaxPaletteFileColours = 256;

using PaletteColours = std::vector<std::uint32_t>;

// Each returns 1 with at least one colour, or 0 with `reason`.
int parseGimpPalette(std::span<const std::uint8_t> bytes, PaletteColours& colours, std::string& reason);
int parseHexPalette(std::span<const std::uint8_t> bytes, PaletteColours& colours, std::string& reason);
int parseJascPalette(std::span<const std::uint8_t> bytes, PaletteColours& colours, std::string& reason);
int parsePngPalette(std::span<const std::uint8_t> bytes, PaletteColours& colours, std::string& reason);

// The file's text; `names` gives each colour's name where the format keeps one.
std::string formatGimpPalette(std::span<const std::uint32_t> colours, std::span<const std::string> names);
std::string formatHexPalette(std::span<const std::uint32_t> colours, std::span<const std::string> names);

}  // namespace cubrik
