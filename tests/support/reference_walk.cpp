#include "support/reference_walk.h"

#include <vector>

#include "render/smooth_geometry.h"

namespace cubrik::testing {
namespace {

struct LiteralFace {
    int neighbour[3];
    float normal[3];
    int corner[4][3];  // lattice offsets from the cell, counter-clockwise from outside
};

const LiteralFace kLiteralFaces[6] = {
    {{-1, 0, 0}, {-1, 0, 0}, {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}}},
    {{1, 0, 0}, {1, 0, 0}, {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}},
    {{0, -1, 0}, {0, -1, 0}, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}},
    {{0, 1, 0}, {0, 1, 0}, {{0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}}},
    {{0, 0, -1}, {0, 0, -1}, {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}}},
    {{0, 0, 1}, {0, 0, 1}, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}},
};

// The code of a cell as the display rule sees it; 0 outside the grid.
int shownCode(const FaceWalk& walk, int x, int y, int z) {
    if (x < 0 || y < 0 || z < 0 || x > 99 || y > 99 || z > 99) return 0;
    const int code = walk.cells[x + 100 * y + 10000 * z];
    if (code == 0) return 0;
    const bool shown = code > 16 ? walk.showB : walk.showA;
    return shown ? code : 0;
}

void appendQuad(const FaceWalk& walk, const CornerCodeGrid& cornerCodes, int x, int y, int z, int face,
                bool reversed, const std::uint8_t* rgb, QuadBatch& batch) {
    const LiteralFace& f = kLiteralFaces[face];
    const int quad = batch.count++;
    float* vertices = batch.vertices + 12 * quad;
    for (int v = 0; v < 4; ++v) {
        const int* c = f.corner[reversed ? 3 - v : v];
        const int X = x + c[0], Y = y + c[1], Z = z + c[2];
        const int lattice[3] = {X, Y, Z};
        for (int i = 0; i < 3; ++i) {
            const int offset =
                walk.smooth ? walk.smoothingTable->offset[cornerCodes.codes[Z * 10404 + Y * 102 + X]][i] : 0;
            vertices[3 * v + i] = static_cast<float>(8 * lattice[i] + offset) * 0.125f - 50.0f;
        }
        for (int i = 0; i < 3; ++i) batch.colours[12 * quad + 3 * v + i] = rgb[i];
    }
    if (walk.pass != FacePass::Display) return;
    float normal[3] = {f.normal[0], f.normal[1], f.normal[2]};
    if (walk.smooth) smoothedNormal(vertices, vertices + 3, vertices + 6, vertices + 9, normal);
    for (int v = 0; v < 4; ++v)
        for (int i = 0; i < 3; ++i) batch.normals[12 * quad + 3 * v + i] = normal[i];
}

}  // namespace

void referenceWalkFaces(const FaceWalk& given, CornerCodeGrid& cornerCodes, QuadBatch& batch,
                        const FlushBatch& flush) {
    // Cells the cut-away hides are empty to everything but the colour table.
    std::vector<std::uint8_t> cut(given.cells, given.cells + 1000000);
    for (int i = 0; i < 1000000; ++i)
        if (!given.visible.holdsIndex(i)) cut[i] = 0;
    FaceWalk walk = given;
    walk.cells = cut.data();
    if (walk.smooth) refreshCornerCodes(walk.cells, cornerCodes);
    batch.count = 0;
    for (int z = 0; z < 100; ++z)
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const int code = shownCode(walk, x, y, z);
                int neighbour[6];
                for (int f = 0; f < 6; ++f) {
                    const int* d = kLiteralFaces[f].neighbour;
                    neighbour[f] = shownCode(walk, x + d[0], y + d[1], z + d[2]);
                }
                const std::uint8_t pickColour[3] = {static_cast<std::uint8_t>(2 * x),
                                                    static_cast<std::uint8_t>(2 * y),
                                                    static_cast<std::uint8_t>(2 * z)};
                for (int f = 0; f < 6; ++f) {
                    switch (walk.pass) {
                    case FacePass::Display:
                        if (code && !neighbour[f])
                            appendQuad(walk, cornerCodes, x, y, z, f, false, walk.colourTable->rgb[code], batch);
                        break;
                    case FacePass::PickSolid:
                        if (code && !neighbour[f]) appendQuad(walk, cornerCodes, x, y, z, f, false, pickColour, batch);
                        break;
                    case FacePass::PickEmpty:
                        if (!code && neighbour[f] && walk.visible.holds(x, y, z)) appendQuad(walk, cornerCodes, x, y, z, f, true, pickColour, batch);
                        break;
                    }
                }
                if (batch.count > batch.quadCapacity - 6) flush(batch);
            }
    if (batch.count > 0) flush(batch);
}

}  // namespace cubrik::testing
