#pragma once
// MagicaVoxel .vox files, both ways. The writer stores the whole 100 x 100 x 100
// grid as one model with the two palettes as colour indices 1-32; the reader
// places every model of a scene by its rotations and translations and brings
// the colours down to the two sixteen-colour palettes.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "model/voxel_model.h"

namespace cubrik {

// What a .vox file brings into a model.
struct VoxContents {
    Rgb paletteA[kPaletteSize];
    Rgb paletteB[kPaletteSize];
    std::vector<std::uint8_t> cells;  // kCellCount codes
    bool coloursMerged;               // more than 32 colours were brought down to 32
    std::string notes;                // what reading did, e.g. "3 models merged; colours reduced to 32"; may be empty
};

// A version-150 file: SIZE 100 x 100 x 100, XYZI with the filled cells in cell
// index order, RGBA with material A as indices 1-16 and B as 17-32. The file
// is z-up: cell (x, y, z) is stored at (x, 99 - z, y).
std::string formatVox(const VoxelModel& model);

// Writes the file atomically. Returns 1, or 0 with `reason`.
int writeVoxFile(const std::filesystem::path& path, const VoxelModel& model, std::string& reason);

// Places the scene, centres it in the grid and maps its colours to material
// codes. When all used colour indices lie in 1-32 they keep their codes and
// both palettes come from the file, so a file of formatVox reads back as it
// was. Otherwise up to 32 used indices map in increasing order, the first 16 to
// material A; beyond 32, the 32 colours on most voxels (ties to the lower index)
// are kept and every other colour goes to the nearest kept one by squared RGB
// distance. Returns 1, or 0 with `reason` and `out` untouched.
int parseVox(std::span<const std::uint8_t> bytes, VoxContents& out, std::string& reason);

// Reads and parses a whole file. Returns 1, or 0 with `reason` naming the file.
int loadVoxFile(const std::filesystem::path& path, VoxContents& out, std::string& reason);

// Reads a whole file of at most `maxBytes` and parses it with `parse`, as the
// readers of other editors' files do. Returns 1, or 0 with `reason` naming the file.
using VoxParser = int (*)(std::span<const std::uint8_t>, VoxContents&, std::string&);
int loadAndParse(const std::filesystem::path& path, std::uint64_t maxBytes, VoxContents& out, std::string& reason,
                 VoxParser parse);

}  // namespace cubrik
