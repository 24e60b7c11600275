#include "render/face_walk.h"

#include <array>
#include <bit>

#include "model/palette.h"
#include "render/smooth_geometry.h"

namespace cubrik {
namespace {

// Faces in drawing order -x, +x, -y, +y, -z, +z. Corner k = ci + 2 cj + 4 ck
// of cell (x, y, z) is lattice point (x + ci, y + cj, z + ck); each face lists
// its corners counter-clockwise seen from outside the cell.
constexpr int kFaceCorners[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4},
                                    {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
constexpr float kFaceNormals[6][3] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};

// The corners a set of faces (bit f for face f) touches.
constexpr std::array<std::uint8_t, 64> kCornersOfFaces = [] {
    std::array<std::uint8_t, 64> table{};
    for (unsigned faces = 0; faces < 64; ++faces)
        for (int f = 0; f < 6; ++f)
            if (faces & (1u << f))
                for (int k : kFaceCorners[f]) table[faces] |= static_cast<std::uint8_t>(1u << k);
    return table;
}();

constexpr RowBits kInsideRow = {~0ull, (1ull << 36) - 1};  // bits 0..99

RowBits operator&(RowBits a, RowBits b) { return {a.lo & b.lo, a.hi & b.hi}; }
RowBits operator|(RowBits a, RowBits b) { return {a.lo | b.lo, a.hi | b.hi}; }
RowBits andNot(RowBits a, RowBits b) { return {a.lo & ~b.lo, a.hi & ~b.hi}; }
// Bit x set when bit x - 1 of m is: "the cell at x - 1 is filled".
RowBits fromLowerX(RowBits m) { return {m.lo << 1, (m.hi << 1) | (m.lo >> 63)}; }
// Bit x set when bit x + 1 of m is.
RowBits fromHigherX(RowBits m) { return {(m.lo >> 1) | (m.hi << 63), m.hi >> 1}; }

// Bits x..x + 2 of a row, x in 0..99.
unsigned threeBits(const RowBits& r, int x) {
    if (x < 64) return static_cast<unsigned>((r.lo >> x) | ((r.hi << 1) << (63 - x))) & 7u;
    return static_cast<unsigned>(r.hi >> (x - 64)) & 7u;
}

// The 3 x 3 x 3 block of cells around (x, y, z), filled with any material:
// bit i + 3 j + 9 k for cell (x - 1 + i, y - 1 + j, z - 1 + k).
std::uint32_t neighbourhood(const RowMasks& masks, int x, int y, int z) {
    std::uint32_t bits = 0;
    for (int k = 0; k < 3; ++k)
        for (int j = 0; j < 3; ++j)
            bits |= threeBits(masks.filled[maskRow(y - 1 + j, z - 1 + k)], x) << (3 * j + 9 * k);
    return bits;
}

// Corner code of a lattice point from the neighbourhood shifted so that its
// cell (dx, dy, dz) sits at bit dx + 3 dy + 9 dz: bit dx + 2 dy + 4 dz.
unsigned cornerCode(std::uint32_t shifted) {
    return (shifted & 0x3u) | ((shifted >> 1) & 0xcu) | ((shifted >> 5) & 0x30u) | ((shifted >> 6) & 0xc0u);
}

template <FacePass Pass, bool Smooth>
void emitCell(const FaceWalk& walk, const RowMasks& masks, int x, int y, int z, unsigned faces, QuadBatch& batch) {
    float corner[8][3];
    const std::uint32_t around = Smooth ? neighbourhood(masks, x, y, z) : 0;
    for (unsigned used = kCornersOfFaces[faces]; used; used &= used - 1) {
        const int k = std::countr_zero(used);
        const int ci = k & 1, cj = (k >> 1) & 1, ck = k >> 2;
        std::int32_t offset[3] = {0, 0, 0};  // cube corners stay on the lattice
        if constexpr (Smooth) {
            const std::int32_t* moved = walk.smoothingTable->offset[cornerCode(around >> (ci + 3 * cj + 9 * ck))];
            offset[0] = moved[0];
            offset[1] = moved[1];
            offset[2] = moved[2];
        }
        corner[k][0] = smoothedCoordinate(x + ci, offset[0]);
        corner[k][1] = smoothedCoordinate(y + cj, offset[1]);
        corner[k][2] = smoothedCoordinate(z + ck, offset[2]);
    }
    std::uint8_t rgb[3];
    if constexpr (Pass == FacePass::Display) {
        const std::uint8_t* entry = walk.colourTable->rgb[walk.cells[cellIndex(x, y, z)]];
        rgb[0] = entry[0];
        rgb[1] = entry[1];
        rgb[2] = entry[2];
    } else {
        rgb[0] = static_cast<std::uint8_t>(2 * x);
        rgb[1] = static_cast<std::uint8_t>(2 * y);
        rgb[2] = static_cast<std::uint8_t>(2 * z);
    }
    for (int f = 0; f < 6; ++f) {
        if (!(faces & (1u << f))) continue;
        const int quad = batch.count++;
        std::uint8_t* colours = batch.colours + quad * kColourBytesPerQuad;
        float* vertices = batch.vertices + quad * kFloatsPerQuad;
        for (int v = 0; v < 4; ++v) {
            // An empty cell's face is seen from the empty side: reverse the winding.
            const float* p = corner[kFaceCorners[f][Pass == FacePass::PickEmpty ? 3 - v : v]];
            for (int i = 0; i < 3; ++i) {
                colours[3 * v + i] = rgb[i];
                vertices[3 * v + i] = p[i];
            }
        }
        if constexpr (Pass == FacePass::Display) {
            float smoothed[3];
            const float* normal = kFaceNormals[f];
            if constexpr (Smooth) {
                smoothedNormal(vertices, vertices + 3, vertices + 6, vertices + 9, smoothed);
                normal = smoothed;
            }
            float* normals = batch.normals + quad * kFloatsPerQuad;
            for (int v = 0; v < 4; ++v)
                for (int i = 0; i < 3; ++i) normals[3 * v + i] = normal[i];
        }
    }
}

template <FacePass Pass, bool Smooth>
void walkPass(const FaceWalk& walk, const RowMasks& masks, QuadBatch& batch, const FlushBatch& flush) {
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y) {
            const int row = maskRow(y, z);
            const RowBits self = masks.displayed[row];
            if (Pass != FacePass::PickEmpty && !(self.lo | self.hi)) continue;
            // The displayed neighbour across each face, per cell of the row.
            const RowBits across[6] = {fromLowerX(self),
                                       fromHigherX(self),
                                       masks.displayed[row - 1],
                                       masks.displayed[row + 1],
                                       masks.displayed[row - kMaskSide],
                                       masks.displayed[row + kMaskSide]};
            RowBits faces[6];
            RowBits any = {0, 0};
            for (int f = 0; f < 6; ++f) {
                faces[f] = Pass == FacePass::PickEmpty ? andNot(kInsideRow, self) & across[f] : andNot(self, across[f]);
                any = any | faces[f];
            }
            for (int half = 0; half < 2; ++half) {
                for (std::uint64_t pending = half ? any.hi : any.lo; pending; pending &= pending - 1) {
                    const int bit = std::countr_zero(pending);
                    unsigned cellFaces = 0;
                    for (int f = 0; f < 6; ++f)
                        cellFaces |= static_cast<unsigned>(((half ? faces[f].hi : faces[f].lo) >> bit) & 1u) << f;
                    emitCell<Pass, Smooth>(walk, masks, 64 * half + bit, y, z, cellFaces, batch);
                    // A cell adds at most 6 quads, so this keeps the batch from overflowing.
                    if (batch.count > batch.quadCapacity - 6) flush(batch);
                }
            }
        }
    if (batch.count > 0) flush(batch);
}

template <FacePass Pass>
void walkPass(const FaceWalk& walk, const RowMasks& masks, QuadBatch& batch, const FlushBatch& flush) {
    if (walk.smooth) walkPass<Pass, true>(walk, masks, batch, flush);
    else walkPass<Pass, false>(walk, masks, batch, flush);
}

}  // namespace

void buildColourTable(const VoxelModel& model, ColourTable& table) {
    table.rgb[0][0] = table.rgb[0][1] = table.rgb[0][2] = 0;
    for (int code = kFirstCodeA; code <= kLastCode; ++code) {
        const Rgb& colour = paletteColour(model, static_cast<std::uint8_t>(code));
        table.rgb[code][0] = channelByte(colour.r);
        table.rgb[code][1] = channelByte(colour.g);
        table.rgb[code][2] = channelByte(colour.b);
    }
}

void walkFaces(const FaceWalk& walk, RowMasks& masks, QuadBatch& batch, const FlushBatch& flush) {
    buildRowMasks(walk.cells, walk.showA, walk.showB, walk.smooth, walk.variant, masks);
    batch.count = 0;
    switch (walk.pass) {
    case FacePass::Display: walkPass<FacePass::Display>(walk, masks, batch, flush); break;
    case FacePass::PickSolid: walkPass<FacePass::PickSolid>(walk, masks, batch, flush); break;
    case FacePass::PickEmpty: walkPass<FacePass::PickEmpty>(walk, masks, batch, flush); break;
    }
}

}  // namespace cubrik
