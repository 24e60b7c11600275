#include <unordered_set>

#include "formats/image/png_image.h"
#include "formats/palette_codecs.h"

namespace cubrik {

// The picture's distinct colours in reading order, left to right and top to
// bottom; fully transparent pixels are no colour.
int parsePngPalette(std::span<const std::uint8_t> bytes, PaletteColours& colours, std::string& reason) {
    colours.clear();
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
    if (!decodePng(bytes, width, height, rgba, reason)) return 0;
    std::unordered_set<std::uint32_t> seen;
    for (std::size_t i = 0; i < rgba.size() && colours.size() < kMaxPaletteFileColours; i += 4) {
        if (rgba[i + 3] == 0) continue;
        const std::uint32_t colour = std::uint32_t{rgba[i]} << 16 | std::uint32_t{rgba[i + 1]} << 8 | rgba[i + 2];
        if (seen.insert(colour).second) colours.push_back(colour);
    }
    if (!colours.empty()) return 1;
    reason = "it holds no colours: every pixel is transparent";
    return 0;
}

}  // namespace cubrik
