#include "formats/vox_colours.h"

#include <algorithm>
#include <vector>

#include "formats/palette_match.h"
#include "model/material.h"

namespace cubrik {
namespace {

constexpr int kKeptColours = 2 * kPaletteSize;

constexpr std::uint8_t codeOfSlot(int slot) {
    return static_cast<std::uint8_t>(slot < kPaletteSize ? kFirstCodeA + slot : kFirstCodeB + slot - kPaletteSize);
}

}  // namespace

std::uint32_t defaultVoxColour(int index) {
    if (index < 1 || index > 255) return 0;
    if (index <= 215) {
        // The 6 x 6 x 6 cube of levels ff, cc, .. 00 from white, blue changing
        // fastest and red slowest; black, the cube's last corner, is left out.
        const int k = index - 1;
        auto level = [](int step) { return 0xffu - 0x33u * static_cast<std::uint32_t>(step); };
        return level(k / 36) << 16 | level(k / 6 % 6) << 8 | level(k % 6);
    }
    // Then ten shades each of red, green, blue and grey between the cube's levels.
    static constexpr std::uint32_t kShades[10] = {0xee, 0xdd, 0xbb, 0xaa, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11};
    const int k = index - 216;
    const std::uint32_t shade = kShades[k % 10];
    switch (k / 10) {
    case 0: return shade << 16;
    case 1: return shade << 8;
    case 2: return shade;
    default: return shade * 0x010101u;
    }
}

bool reduceColours(std::span<const std::uint32_t> colours, std::span<const std::uint32_t> counts,
                   std::span<std::uint8_t> codes, Rgb (&paletteA)[kPaletteSize], Rgb (&paletteB)[kPaletteSize]) {
    std::copy(std::begin(kDefaultPalette), std::end(kDefaultPalette), paletteA);
    std::copy(std::begin(kDefaultPalette), std::end(kDefaultPalette), paletteB);
    std::fill(codes.begin(), codes.end(), std::uint8_t{0});
    std::vector<std::size_t> used;
    for (std::size_t index = 0; index < colours.size(); ++index)
        if (counts[index] > 0) used.push_back(index);
    std::vector<std::size_t> kept = used;
    bool merged = false;
    if (kept.size() > kKeptColours) {
        std::stable_sort(kept.begin(), kept.end(), [&](std::size_t a, std::size_t b) { return counts[a] > counts[b]; });
        kept.resize(kKeptColours);
        std::sort(kept.begin(), kept.end());
        merged = true;
    }
    for (std::size_t slot = 0; slot < kept.size(); ++slot) {
        const int s = static_cast<int>(slot);
        codes[kept[slot]] = codeOfSlot(s);
        (s < kPaletteSize ? paletteA[s] : paletteB[s - kPaletteSize]) = unpackColour(colours[kept[slot]]);
    }
    for (std::size_t index : used) {
        if (codes[index] != 0) continue;
        std::size_t nearest = 0;
        int nearestDistance = squaredRgbDistance(colours[index], colours[kept[0]]);
        for (std::size_t slot = 1; slot < kept.size(); ++slot)
            if (const int d = squaredRgbDistance(colours[index], colours[kept[slot]]); d < nearestDistance) {
                nearest = slot;
                nearestDistance = d;
            }
        codes[index] = codeOfSlot(static_cast<int>(nearest));
    }
    return merged;
}

VoxColourMap mapVoxColours(const std::uint32_t (&palette)[256], const std::uint32_t (&counts)[256]) {
    VoxColourMap map{};
    std::vector<int> used;
    for (int index = 1; index < 256; ++index)
        if (counts[index] > 0) used.push_back(index);

    // Indices 1-32 keep their codes, so files this program wrote read back as
    // they were, palettes included.
    if (used.empty() || used.back() <= kLastCode) {
        for (int slot = 0; slot < kKeptColours; ++slot) {
            const int index = slot + 1;
            (slot < kPaletteSize ? map.paletteA[slot] : map.paletteB[slot - kPaletteSize]) =
                unpackColour(palette[index]);
            if (counts[index] > 0) map.code[index] = static_cast<std::uint8_t>(index);
        }
        return map;
    }

    // Index 0 is no colour.
    map.merged = reduceColours(std::span(palette).subspan(1), std::span(counts).subspan(1),
                               std::span(map.code).subspan(1), map.paletteA, map.paletteB);
    return map;
}

}  // namespace cubrik
