#include "formats/vox_file.h"

#include <algorithm>
#include <cstring>

#include "formats/scene_bounds.h"
#include "formats/vox_colours.h"
#include "formats/vox_scene.h"
#include "io/atomic_file.h"
#include "io/regular_file.h"
#include "model/material.h"

namespace cubrik {
namespace {

constexpr std::uint32_t kVoxVersion = 150;
constexpr std::uint32_t kChunkHeaderSize = 12;
constexpr std::uint32_t kPaletteBytes = 256 * 4;
// The largest file worth reading: the most voxels the scene may place, four
// bytes each, and room for the rest of a scene (palette, materials, nodes).
constexpr std::uint64_t kMaxFileBytes = 4 * std::uint64_t{kVoxMaxPlacedVoxels} + (std::uint64_t{16} << 20);

char* putLe32(char* at, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) *at++ = static_cast<char>((value >> shift) & 0xff);
    return at;
}

char* putChunkHeader(char* at, const char* id, std::uint32_t contentSize, std::uint32_t childrenSize) {
    std::memcpy(at, id, 4);
    return putLe32(putLe32(at + 4, contentSize), childrenSize);
}

// Cells filled by the placed scene, as colour indices, and how many cells use
// each index. The scene's box is that of its models' boxes as placed; scenes
// larger than the grid are refused. Where models overlap, the first placed
// keeps the cell.
bool placeScene(const VoxScene& scene, std::vector<std::uint8_t>& indices, std::uint32_t (&counts)[256],
                std::string& reason) {
    SceneBounds bounds;
    for (std::size_t i = 0; i < scene.placements.size(); ++i) {
        const VoxPlacement& placement = scene.placements[i];
        const VoxShape& shape = scene.shapes[placement.shape];
        // A signed permutation maps the box's two far corners to the far
        // corners of the placed box.
        const std::uint8_t first[3] = {0, 0, 0};
        const std::uint8_t last[3] = {static_cast<std::uint8_t>(shape.size[0] - 1),
                                      static_cast<std::uint8_t>(shape.size[1] - 1),
                                      static_cast<std::uint8_t>(shape.size[2] - 1)};
        const VoxPlacer placer(placement.transform, shape.size);
        std::int64_t a[3], b[3];
        placer.place(first, a);
        placer.place(last, b);
        for (int axis = 0; axis < 3; ++axis)
            bounds.include(axis, std::min(a[axis], b[axis]), std::max(a[axis], b[axis]) + 1, i == 0);
    }
    std::int64_t shift[3];
    if (!bounds.centringShift(shift, reason)) return false;
    // File (X, Y, Z), z-up, becomes cell (X, Z, 99 - Y).
    indices.assign(kCellCount, 0);
    for (const VoxPlacement& placement : scene.placements) {
        const VoxShape& shape = scene.shapes[placement.shape];
        const VoxPlacer placer(placement.transform, shape.size);
        for (std::size_t i = 0; i < shape.voxels.size(); i += 4) {
            std::int64_t p[3];
            placer.place(&shape.voxels[i], p);
            std::uint8_t& cell = indices[cellIndex(static_cast<int>(p[0] + shift[0]), static_cast<int>(p[2] + shift[2]),
                                                   kGridSize - 1 - static_cast<int>(p[1] + shift[1]))];
            if (cell == 0) cell = shape.voxels[i + 3];
        }
    }
    std::fill(std::begin(counts), std::end(counts), 0u);
    for (std::uint8_t index : indices) ++counts[index];
    return true;
}

// What reading did beyond copying voxels, for the message shown after opening.
std::string describeScene(const VoxScene& scene, const VoxColourMap& map) {
    std::vector<std::string> parts;
    if (scene.placements.size() > 1) parts.push_back(std::to_string(scene.placements.size()) + " models merged");
    const auto turned = std::count_if(scene.placements.begin(), scene.placements.end(),
                                      [](const VoxPlacement& p) { return !isIdentityRotation(p.transform); });
    if (turned > 0)
        parts.push_back("rotations applied to " + std::to_string(turned) + (turned == 1 ? " model" : " models"));
    if (scene.badRotations > 0)
        parts.push_back("rotation byte " + std::to_string(scene.firstBadRotation) + " is no rotation, read as none" +
                        (scene.badRotations > 1 ? " (" + std::to_string(scene.badRotations) + " nodes)" : ""));
    if (map.merged) parts.push_back("colours reduced to 32");
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : "; ") + part;
    return text;
}

}  // namespace

std::string formatVox(const VoxelModel& model) {
    const auto filled = static_cast<std::uint32_t>(
        kCellCount - std::count(std::begin(model.cells), std::end(model.cells), kEmpty));
    const std::uint32_t sizeChunk = kChunkHeaderSize + 12;
    const std::uint32_t voxelChunk = kChunkHeaderSize + 4 + 4 * filled;
    const std::uint32_t paletteChunk = kChunkHeaderSize + kPaletteBytes;
    const std::uint32_t children = sizeChunk + voxelChunk + paletteChunk;

    std::string out(8 + kChunkHeaderSize + children, '\0');
    char* at = out.data();
    std::memcpy(at, "VOX ", 4);
    at = putLe32(at + 4, kVoxVersion);
    at = putChunkHeader(at, "MAIN", 0, children);
    at = putChunkHeader(at, "SIZE", 12, 0);
    for (int axis = 0; axis < 3; ++axis) at = putLe32(at, kGridSize);
    at = putChunkHeader(at, "XYZI", voxelChunk - kChunkHeaderSize, 0);
    at = putLe32(at, filled);
    // Cell (x, y, z) goes to file (x, 99 - z, y); a code is its colour index.
    const std::uint8_t* cell = model.cells;
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x, ++cell)
                if (*cell != kEmpty) {
                    at[0] = static_cast<char>(x);
                    at[1] = static_cast<char>(kGridSize - 1 - z);
                    at[2] = static_cast<char>(y);
                    at[3] = static_cast<char>(*cell);
                    at += 4;
                }
    at = putChunkHeader(at, "RGBA", kPaletteBytes, 0);
    for (int entry = 0; entry < 256; ++entry) {
        const bool inPalette = entry < 2 * kPaletteSize;
        const Rgb colour = !inPalette                ? Rgb{0, 0, 0}
                           : entry < kPaletteSize ? model.paletteA[entry]
                                                  : model.paletteB[entry - kPaletteSize];
        *at++ = static_cast<char>(channelByte(colour.r));
        *at++ = static_cast<char>(channelByte(colour.g));
        *at++ = static_cast<char>(channelByte(colour.b));
        *at++ = static_cast<char>(0xff);
    }
    return out;
}

int writeVoxFile(const std::filesystem::path& path, const VoxelModel& model, std::string& reason) {
    return writeFileAtomically(path, formatVox(model), reason);
}

int parseVox(std::span<const std::uint8_t> bytes, VoxContents& out, std::string& reason) {
    VoxScene scene;
    std::vector<std::uint8_t> cells;
    std::uint32_t counts[256];
    if (!readVoxScene(bytes, scene, reason) || !placeScene(scene, cells, counts, reason)) return 0;
    const VoxColourMap map = mapVoxColours(scene.palette, counts);
    for (std::uint8_t& cell : cells) cell = map.code[cell];
    std::copy(std::begin(map.paletteA), std::end(map.paletteA), out.paletteA);
    std::copy(std::begin(map.paletteB), std::end(map.paletteB), out.paletteB);
    out.cells = std::move(cells);
    out.coloursMerged = map.merged;
    out.notes = describeScene(scene, map);
    return 1;
}

int loadAndParse(const std::filesystem::path& path, std::uint64_t maxBytes, VoxContents& out, std::string& reason,
                 VoxParser parse) {
    std::string bytes;
    if (!readRegularFile(path, {maxBytes}, bytes, reason)) return 0;
    std::string why;
    if (!parse({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, out, why)) {
        reason = path.string() + ": " + why;
        return 0;
    }
    return 1;
}

int loadVoxFile(const std::filesystem::path& path, VoxContents& out, std::string& reason) {
    return loadAndParse(path, kMaxFileBytes, out, reason, parseVox);
}

}  // namespace cubrik
