#pragma once
// Outside colours brought to the palettes: distances between 0xRRGGBB colours
// and the nearest of the 32 palette colours.

#include <cstdint>

#include "model/voxel_model.h"

namespace cubrik {

// The squared distance between two 0xRRGGBB colours, channel bytes apart.
int squaredRgbDistance(std::uint32_t a, std::uint32_t b);

// The material code of the palette colour nearest to 0xRRGGBB `rgb`; a tie
// goes to the earlier, material A first.
std::uint8_t nearestPaletteCode(std::uint32_t rgb, const Rgb (&paletteA)[kPaletteSize],
                                const Rgb (&paletteB)[kPaletteSize]);

}  // namespace cubrik
