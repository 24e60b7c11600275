// libFuzzer entry for the voxelizer, on the triangle soups a mesh file can
// bring: the first byte picks the cells and solid or surface, the rest are
// raw floats (any bits, NaN and infinities included), three corners a
// triangle, every corner with the colour of its bits. Each soup must be
// refused with a reason or give a full grid of valid codes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "formats/import/voxelize.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    cubrik::VoxelizeOptions options;
    options.cells = 1 + data[0] % cubrik::kGridSize;
    options.surface = (data[0] & 0x80) != 0;
    cubrik::TriangleSoup soup;
    const std::size_t floats = (size - 1) / 4 / 9 * 9;
    soup.positions.resize(floats);
    std::memcpy(soup.positions.data(), data + 1, floats * 4);
    for (std::size_t i = 0; i < floats; i += 3) {
        std::uint32_t bits;
        std::memcpy(&bits, &soup.positions[i], 4);
        soup.colours.push_back(bits & 0xffffff);
    }
    std::vector<std::uint8_t> cells;
    std::string reason;
    if (cubrik::voxelizeMesh(soup, options, cubrik::kDefaultPalette, cubrik::kDefaultPalette, cells, reason)) {
        if (cells.size() != static_cast<std::size_t>(cubrik::kCellCount)) std::abort();
        for (std::uint8_t code : cells)
            if (code > cubrik::kLastCode) std::abort();
    } else if (reason.empty()) {
        std::abort();
    }
    return 0;
}
