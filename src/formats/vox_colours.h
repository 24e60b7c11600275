#pragma once
// Colours of .vox files: the palette of files without an RGBA chunk, and the
// mapping of a scene's colour indices to the two sixteen-colour materials.

#include <cstdint>
#include <span>

#include "model/voxel_model.h"

namespace cubrik {

// 0xRRGGBB of colour index 1..255 in a file without an RGBA chunk.
std::uint32_t defaultVoxColour(int index);

struct VoxColourMap {
    std::uint8_t code[256];  // material code by colour index; 0 for unused indices
    Rgb paletteA[kPaletteSize];
    Rgb paletteB[kPaletteSize];
    bool merged;
};

// Brings the used colours (count > 0) down to the two palettes, for every
// reader of outside files: up to 32 used colours take slots in the order
// given, the first 16 in material A; beyond 32, the 32 on most cells are kept
// (ties to the earlier) and every other goes to the nearest kept one by
// squared RGB distance. Fills `codes` (0 for unused colours) and both palettes
// (default colours in unused slots). Returns whether colours were merged.
bool reduceColours(std::span<const std::uint32_t> colours, std::span<const std::uint32_t> counts,
                   std::span<std::uint8_t> codes, Rgb (&paletteA)[kPaletteSize], Rgb (&paletteB)[kPaletteSize]);

// Maps the used colour indices (count > 0) as parseVox describes.
VoxColourMap mapVoxColours(const std::uint32_t (&palette)[256], const std::uint32_t (&counts)[256]);

}  // namespace cubrik
