#include "formats/palette_match.h"

#include "model/material.h"

namespace cubrik {

int squaredRgbDistance(std::uint32_t a, std::uint32_t b) {
    int sum = 0;
    for (int shift : {16, 8, 0}) {
        const int d = static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff);
        sum += d * d;
    }
    return sum;
}

std::uint8_t nearestPaletteCode(std::uint32_t rgb, const Rgb (&paletteA)[kPaletteSize],
                                const Rgb (&paletteB)[kPaletteSize]) {
    std::uint8_t nearest = kFirstCodeA;
    int nearestDistance = squaredRgbDistance(rgb, packColour(paletteA[0]));
    for (int code = kFirstCodeA + 1; code <= kLastCode; ++code) {
        const std::uint8_t c = static_cast<std::uint8_t>(code);
        const Rgb& colour = isMaterialB(c) ? paletteB[code - kFirstCodeB] : paletteA[code - kFirstCodeA];
        if (const int d = squaredRgbDistance(rgb, packColour(colour)); d < nearestDistance) {
            nearest = c;
            nearestDistance = d;
        }
    }
    return nearest;
}

}  // namespace cubrik
