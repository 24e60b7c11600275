#pragma once
// Colours of .vox files: the palette of files without an RGBA chunk, and the
// mapping of a scene's colour indices to the two sixteen-colour materials.

#include <cstdint>

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

// Maps the used colour indices (count > 0) as parseVox describes.
VoxColourMap mapVoxColours(const std::uint32_t (&palette)[256], const std::uint32_t (&counts)[256]);

}  // namespace cubrik
