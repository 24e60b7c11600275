#include "render/face_walk.h"

#include <array>
#include <bit>
#include <cstring>

#include "model/material.h"
#include "render/smooth_normals.h"

namespace cubrik {
namespace {

// Faces in drawing order -x, +x, -y, +y, -z, +z. Corner k = ci + 2 cj + 4 ck
// of cell (x, y, z) is lattice point (x + ci, y + cj, z + ck); each face lists
// its corners counter-clockwise seen from outside the cell.
constexpr int kFaceCorners[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4},
                                    {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
constexpr float kFaceNormals[6][3] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};

using QuadFloats = std::array<float, kFloatsPerQuad>;

// For each face corner, the cells beside it in the layer in front of the
// face: two side neighbours and the diagonal one, as bits dx + 3 dy + 9 dz of
// the 3 x 3 x 3 block round the cell (offsets -1..1 stored as 0..2).
struct CornerNeighbours {
    int side1, side2, diagonal;
};
constexpr std::array<std::array<CornerNeighbours, 4>, 6> kOcclusionNeighbours = [] {
    std::array<std::array<CornerNeighbours, 4>, 6> table{};
    for (int f = 0; f < 6; ++f) {
        const int axis = f / 2, t1 = (axis + 1) % 3, t2 = (axis + 2) % 3;
        for (int v = 0; v < 4; ++v) {
            const int k = kFaceCorners[f][v];
            // The cell in front of the face, moved towards the corner along t1, t2 or both.
            auto bit = [&](bool alongT1, bool alongT2) {
                int at[3] = {1, 1, 1};
                at[axis] = f % 2 ? 2 : 0;
                if (alongT1) at[t1] = (k >> t1) & 1 ? 2 : 0;
                if (alongT2) at[t2] = (k >> t2) & 1 ? 2 : 0;
                return at[0] + 3 * at[1] + 9 * at[2];
            };
            table[f][v] = {bit(true, false), bit(false, true), bit(true, true)};
        }
    }
    return table;
}();

// The usual voxel occlusion: a corner between two filled sides is fully
// occluded whatever the diagonal cell holds.
int cornerOcclusion(std::uint32_t block, const CornerNeighbours& n) {
    const int side1 = (block >> n.side1) & 1, side2 = (block >> n.side2) & 1;
    if (side1 && side2) return 3;
    return side1 + side2 + static_cast<int>((block >> n.diagonal) & 1);
}

// A smoothed vertex is as crowded as the filled cells among the eight round
// it: four lie under a flat surface, seven in an inner corner.
constexpr std::array<std::uint8_t, 256> kCrowdingLevel = [] {
    std::array<std::uint8_t, 256> table{};
    for (unsigned code = 0; code < 256; ++code) {
        const int filled = std::popcount(code);
        table[code] = static_cast<std::uint8_t>(filled <= 4 ? 0 : filled - 4 > 3 ? 3 : filled - 4);
    }
    return table;
}();

// The cube normal of each face on all four vertices.
constexpr std::array<QuadFloats, 6> kFaceNormalQuads = [] {
    std::array<QuadFloats, 6> table{};
    for (int f = 0; f < 6; ++f)
        for (int i = 0; i < kFloatsPerQuad; ++i) table[f][i] = kFaceNormals[f][i % 3];
    return table;
}();

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

// The filled rows around a row of cells: around[j][k] is row (y - 1 + j, z - 1 + k).
using RowsAround = RowBits[3][3];

// Corner codes of the 8 corners of cell x of the middle row, straight from
// the row masks: the code of corner (ci, cj, ck) takes two bits, cells
// x - 1 + ci and x + ci, from each of the rows (cj + dy, ck + dz). Both
// two-bit windows of each row are placed in separate bytes, so one round of
// shifts gives the codes for ci = 0 (low byte) and ci = 1 (next byte) at once.
void cornerCodes(const RowsAround& around, int x, unsigned (&codes)[8]) {
    unsigned windows[3][3];
    for (int j = 0; j < 3; ++j)
        for (int k = 0; k < 3; ++k) {
            const unsigned run = threeBits(around[j][k], x);  // cells x - 1, x, x + 1
            windows[j][k] = (run & 3u) | ((run >> 1) << 8);
        }
    for (int ck = 0; ck < 2; ++ck)
        for (int cj = 0; cj < 2; ++cj) {
            const unsigned both = windows[cj][ck] | windows[cj + 1][ck] << 2 | windows[cj][ck + 1] << 4 |
                                  windows[cj + 1][ck + 1] << 6;
            codes[2 * cj + 4 * ck] = both & 0xffu;
            codes[1 + 2 * cj + 4 * ck] = both >> 8;
        }
}


// The cell's colour at each occlusion level.
using ShadedColours = std::uint8_t[4][3];

// A displayed face with each corner's colour darkened by its occlusion. The
// quad is drawn as triangles 0-1-2 and 0-2-3, so its corners start where the
// darker diagonal does: the shading then stays symmetric about it.
// `levels` gives the smoothed surface's level by corner; the cubes' come from `block`.
template <bool Smooth>
void emitOccludedFace(int f, const float (&corner)[8][3], const int (&levels)[8], std::uint32_t block,
                      const ShadedColours& shaded, std::uint8_t* colourQuad, float* vertices) {
    int level[4];
    for (int v = 0; v < 4; ++v)
        level[v] = Smooth ? levels[kFaceCorners[f][v]] : cornerOcclusion(block, kOcclusionNeighbours[f][v]);
    const int first = level[1] + level[3] > level[0] + level[2] ? 1 : 0;
    for (int i = 0; i < 4; ++i) {
        const int v = (first + i) & 3;
        std::memcpy(colourQuad + 3 * i, shaded[level[v]], 3);
        std::memcpy(vertices + 3 * i, corner[kFaceCorners[f][v]], sizeof corner[0]);
    }
}

// A corner of lattice point X with offset o (eighths) lies at (8 X + o) / 8 - 50.
// Summed here as (cell - 50 + corner delta) + o / 8: every term and sum is a
// multiple of 1/8 below 64, exact in single precision, so the result is the
// same bit for bit however it is summed.
template <FacePass Pass, bool Smooth>
void emitCell(const FaceRowWalker& context, const RowsAround& around, const RowsAround* shown, int x, int y, int z,
              unsigned faces, QuadBatch& batch) {
    // All eight corners at once: cheaper than per face, as most cells show
    // several faces, and free of branches.
    unsigned codes[8] = {};
    if constexpr (Smooth) cornerCodes(around, x, codes);
    const float cellCorner[3] = {static_cast<float>(x - 50), static_cast<float>(y - 50), static_cast<float>(z - 50)};
    float corner[8][3];
    for (int k = 0; k < 8; ++k) {
        const float* moved = context.moved[codes[k]];  // entry 0 is (0, 0, 0)
        corner[k][0] = (cellCorner[0] + static_cast<float>(k & 1)) + moved[0];
        corner[k][1] = (cellCorner[1] + static_cast<float>((k >> 1) & 1)) + moved[1];
        corner[k][2] = (cellCorner[2] + static_cast<float>(k >> 2)) + moved[2];
    }
    std::uint8_t rgb[3];
    if constexpr (Pass == FacePass::Display) {
        const std::uint8_t* entry = context.walk.colourTable->rgb[context.walk.cells[cellIndex(x, y, z)]];
        rgb[0] = entry[0];
        rgb[1] = entry[1];
        rgb[2] = entry[2];
    } else {
        rgb[0] = static_cast<std::uint8_t>(2 * x);
        rgb[1] = static_cast<std::uint8_t>(2 * y);
        rgb[2] = static_cast<std::uint8_t>(2 * z);
    }
    std::uint8_t colours[kColourBytesPerQuad];
    for (int v = 0; v < 4; ++v) std::memcpy(colours + 3 * v, rgb, 3);
    std::uint32_t block = 0;  // the displayed cells round this one, for occlusion
    int levels[8] = {};
    ShadedColours shaded;
    if (shown) {
        for (int level = 0; level < 4; ++level)
            for (int c = 0; c < 3; ++c)
                shaded[level][c] = static_cast<std::uint8_t>((rgb[c] * kOcclusionShade[level]) >> 8);
        if constexpr (Smooth)
            for (int k = 0; k < 8; ++k) levels[k] = kCrowdingLevel[codes[k]];
        else
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 3; ++k) block |= threeBits((*shown)[j][k], x) << (3 * j + 9 * k);
    }

    // Local copies: the byte stores below could alias the batch's fields.
    std::uint8_t* colourOut = batch.colours + batch.count * kColourBytesPerQuad;
    float* vertexOut = batch.vertices + batch.count * kFloatsPerQuad;
    float* normalOut = batch.normals + batch.count * kFloatsPerQuad;
    int added = 0;
    for (int f = 0; f < 6; ++f) {
        if (!(faces & (1u << f))) continue;
        std::uint8_t* colourQuad = colourOut + added * kColourBytesPerQuad;
        float* vertices = vertexOut + added * kFloatsPerQuad;
        if (Pass == FacePass::Display && shown) {
            emitOccludedFace<Smooth>(f, corner, levels, block, shaded, colourQuad, vertices);
        } else {
            std::memcpy(colourQuad, colours, kColourBytesPerQuad);
            for (int v = 0; v < 4; ++v) {
                // An empty cell's face is seen from the empty side: reverse the winding.
                const int k = kFaceCorners[f][Pass == FacePass::PickEmpty ? 3 - v : v];
                std::memcpy(vertices + 3 * v, corner[k], sizeof corner[k]);
            }
        }
        // Smoothed normals follow for the whole batch, before it is handed over.
        if constexpr (Pass == FacePass::Display && !Smooth)
            std::memcpy(normalOut + added * kFloatsPerQuad, kFaceNormalQuads[f].data(), sizeof(QuadFloats));
        ++added;
    }
    batch.count += added;
}

template <FacePass Pass, bool Smooth>
void handOver(const FaceWalk& walk, QuadBatch& batch, const FlushBatch& flush) {
    if constexpr (Pass == FacePass::Display && Smooth) fillSmoothNormals(batch, walk.variant);
    flush(batch);
}

// The faces of row (y, z). With `flush`, the batch is handed over whenever it
// fills; without, it must have room for the row.
template <FacePass Pass, bool Smooth>
void walkRow(const FaceRowWalker& context, int y, int z, QuadBatch& batch, const FlushBatch* flush) {
    const FaceWalk& walk = context.walk;
    const RowMasks& masks = *context.masks;
    const int row = maskRow(y, z);
    const RowBits self = masks.displayed[row];
    if (Pass != FacePass::PickEmpty && !(self.lo | self.hi)) return;
    // The displayed neighbour across each face, per cell of the row.
    const RowBits across[6] = {fromLowerX(self),
                               fromHigherX(self),
                               masks.displayed[row - 1],
                               masks.displayed[row + 1],
                               masks.displayed[row - kMaskSide],
                               masks.displayed[row + kMaskSide]};
    RowsAround around = {};
    if constexpr (Smooth)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) around[j][k] = masks.filled[maskRow(y - 1 + j, z - 1 + k)];
    // The displayed cells round the row, bit x + 1 for cell x as in `filled`.
    RowsAround shownAround = {};
    const bool occlusion = Pass == FacePass::Display && walk.occlusion;
    if (occlusion && !Smooth)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) shownAround[j][k] = fromLowerX(masks.displayed[maskRow(y - 1 + j, z - 1 + k)]);
    RowBits faces[6];
    RowBits any = {0, 0};
    // Only the empty cells in view are picked: a tool must not fill a hidden one.
    const RowBits inView = Pass == FacePass::PickEmpty ? visibleRow(walk.visible, y, z) : RowBits{0, 0};
    for (int f = 0; f < 6; ++f) {
        faces[f] = Pass == FacePass::PickEmpty ? andNot(inView, self) & across[f] : andNot(self, across[f]);
        any = any | faces[f];
    }
    for (int half = 0; half < 2; ++half) {
        for (std::uint64_t pending = half ? any.hi : any.lo; pending; pending &= pending - 1) {
            const int bit = std::countr_zero(pending);
            unsigned cellFaces = 0;
            for (int f = 0; f < 6; ++f)
                cellFaces |= static_cast<unsigned>(((half ? faces[f].hi : faces[f].lo) >> bit) & 1u) << f;
            emitCell<Pass, Smooth>(context, around, occlusion ? &shownAround : nullptr, 64 * half + bit, y, z,
                                   cellFaces, batch);
            // A cell adds at most 6 quads, so this keeps the batch from overflowing.
            if (flush && batch.count > batch.quadCapacity - 6) handOver<Pass, Smooth>(walk, batch, *flush);
        }
    }
}

template <FacePass Pass, bool Smooth>
void walkPass(const FaceWalk& walk, const RowMasks& masks, QuadBatch& batch, const FlushBatch& flush) {
    FaceRowWalker context;
    prepareRowWalker(context, walk, masks);
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y) walkRow<Pass, Smooth>(context, y, z, batch, &flush);
    if (batch.count > 0) handOver<Pass, Smooth>(walk, batch, flush);
}

template <FacePass Pass, bool Smooth>
int walkRows(const FaceRowWalker& walker, int first, int end, QuadBatch& batch, std::int32_t* rowFirst,
             std::uint16_t* rowCount) {
    const int start = batch.count;
    int row = first;
    for (; row < end && batch.count + kMaxRowQuads <= batch.quadCapacity; ++row) {
        rowFirst[row] = batch.count;
        walkRow<Pass, Smooth>(walker, row % kGridSize, row / kGridSize, batch, nullptr);
        rowCount[row] = static_cast<std::uint16_t>(batch.count - rowFirst[row]);
    }
    if constexpr (Pass == FacePass::Display && Smooth) {
        QuadBatch added = batch;  // normals are per quad, so any run of quads can have its own
        added.colours += start * kColourBytesPerQuad;
        added.normals += start * kFloatsPerQuad;
        added.vertices += start * kFloatsPerQuad;
        added.count = batch.count - start;
        fillSmoothNormals(added, walker.walk.variant);
    }
    return row;
}

template <FacePass Pass>
void walkPass(const FaceWalk& walk, const RowMasks& masks, QuadBatch& batch, const FlushBatch& flush) {
    if (walk.smooth) walkPass<Pass, true>(walk, masks, batch, flush);
    else walkPass<Pass, false>(walk, masks, batch, flush);
}

}  // namespace

void buildColourTable(const VoxelModel& model, ColourTable& table) {
    table.rgb[0][0] = table.rgb[0][1] = table.rgb[0][2] = 0;
    for (int code = kFirstCodeA; code < 256; ++code) {
        const Rgb& colour = paletteColour(model, static_cast<std::uint8_t>(code));
        table.rgb[code][0] = channelByte(colour.r);
        table.rgb[code][1] = channelByte(colour.g);
        table.rgb[code][2] = channelByte(colour.b);
    }
}

void buildWalkMasks(const FaceWalk& walk, RowMasks& masks) {
    buildRowMasks(walk.cells, walk.showA, walk.showB, walk.smooth, walk.visible, walk.variant, masks);
}

void walkFaces(const FaceWalk& walk, RowMasks& masks, QuadBatch& batch, const FlushBatch& flush) {
    buildWalkMasks(walk, masks);
    walkBuiltFaces(walk, masks, batch, flush);
}

void prepareRowWalker(FaceRowWalker& walker, const FaceWalk& walk, const RowMasks& masks) {
    walker.walk = walk;
    walker.masks = &masks;
    for (int code = 0; code < 256; ++code)
        for (int i = 0; i < 3; ++i)  // cubes: every offset stays (0, 0, 0)
            walker.moved[code][i] =
                walk.smooth ? static_cast<float>(walk.smoothingTable->offset[code][i]) * 0.125f : 0.0f;
}

int walkFaceRows(const FaceRowWalker& walker, int first, int end, QuadBatch& batch, std::int32_t* rowFirst,
                 std::uint16_t* rowCount) {
    const bool smooth = walker.walk.smooth;
    switch (walker.walk.pass) {
    case FacePass::Display:
        return smooth ? walkRows<FacePass::Display, true>(walker, first, end, batch, rowFirst, rowCount)
                      : walkRows<FacePass::Display, false>(walker, first, end, batch, rowFirst, rowCount);
    case FacePass::PickSolid:
        return smooth ? walkRows<FacePass::PickSolid, true>(walker, first, end, batch, rowFirst, rowCount)
                      : walkRows<FacePass::PickSolid, false>(walker, first, end, batch, rowFirst, rowCount);
    case FacePass::PickEmpty:
        return smooth ? walkRows<FacePass::PickEmpty, true>(walker, first, end, batch, rowFirst, rowCount)
                      : walkRows<FacePass::PickEmpty, false>(walker, first, end, batch, rowFirst, rowCount);
    }
    return first;
}

void walkBuiltFaces(const FaceWalk& walk, const RowMasks& masks, QuadBatch& batch, const FlushBatch& flush) {
    batch.count = 0;
    switch (walk.pass) {
    case FacePass::Display: walkPass<FacePass::Display>(walk, masks, batch, flush); break;
    case FacePass::PickSolid: walkPass<FacePass::PickSolid>(walk, masks, batch, flush); break;
    case FacePass::PickEmpty: walkPass<FacePass::PickEmpty>(walk, masks, batch, flush); break;
    }
}

}  // namespace cubrik
