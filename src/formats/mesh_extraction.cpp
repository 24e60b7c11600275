#include "formats/mesh_extraction.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace cubrik {
namespace {

constexpr std::uint8_t kNotSolid = 9;
constexpr int kComponents = 4;
constexpr std::int32_t kNoOffset[3] = {0, 0, 0};

// One of the six faces of a cell, in the order they are tested.
struct FaceSpec {
    int across[3];     // step to the neighbour across the face
    int corner[4][3];  // offsets of q0..q3, counter-clockwise seen from outside
    float normal[3];   // the flat normal
};

constexpr FaceSpec kFaces[6] = {
    {{-1, 0, 0}, {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}}, {-1, 0, 0}},
    {{1, 0, 0}, {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}, {1, 0, 0}},
    {{0, -1, 0}, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, {0, -1, 0}},
    {{0, 1, 0}, {{0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}}, {0, 1, 0}},
    {{0, 0, -1}, {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}}, {0, 0, -1}},
    {{0, 0, 1}, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, {0, 0, 1}},
};

// Components are numbered in increasing order of their smallest corner
// number; corners whose numbers differ in one bit share a face.
void buildComponentTable(std::uint8_t (&table)[256][8]) {
    for (int code = 0; code < 256; ++code) {
        std::uint8_t* label = table[code];
        std::fill(label, label + 8, kNotSolid);
        std::uint8_t next = 0;
        for (int seed = 0; seed < 8; ++seed) {
            if (!(code >> seed & 1) || label[seed] != kNotSolid) continue;
            int pending[8];
            int top = 0;
            label[seed] = next;
            pending[top++] = seed;
            while (top > 0) {
                const int corner = pending[--top];
                for (int bit = 1; bit < 8; bit <<= 1) {
                    const int other = corner ^ bit;
                    if ((code >> other & 1) && label[other] == kNotSolid) {
                        label[other] = next;
                        pending[top++] = other;
                    }
                }
            }
            ++next;
        }
    }
}

std::size_t meshBytes(const QuadMesh& mesh) {
    return mesh.positions.size() * sizeof(float) + mesh.quads.size() * sizeof(std::int32_t) +
           mesh.faceNormals.size() * sizeof(float) + mesh.faceColours.size();
}

// Back to one zero-filled block, giving the memory of a large earlier mesh back.
template <class T>
void resetArray(std::vector<T>& array, std::size_t& length, std::size_t block) {
    array.clear();
    array.shrink_to_fit();
    array.resize(block);
    length = 0;
}

// Appends `items`; once the array is full it gets one more zero-filled block.
// std::vector keeps the reallocations geometric underneath, so a mesh of
// millions of faces is not copied once per block.
template <class T, std::size_t N>
void append(MeshExtractor& extractor, std::vector<T>& array, std::size_t& length, const T (&items)[N]) {
    std::copy(items, items + N, array.data() + length);
    length += N;
    if (length < array.size()) return;
    const std::size_t block = kMeshBlock * N;
    if (meshBytes(extractor.mesh) + block * sizeof(T) > extractor.growthLimitBytes) throw std::bad_alloc();
    array.resize(array.size() + block);
}

struct Extraction {
    MeshExtractor& extractor;
    const MeshSource& source;
    std::uint8_t colourOf[256];  // what a face of a solid code records (not 0), 0 for any other code
};

bool isSolid(const Extraction& run, int x, int y, int z) {
    if (x < 0 || y < 0 || z < 0 || x >= kGridSize || y >= kGridSize || z >= kGridSize) return false;
    return run.colourOf[run.source.model.cells[cellIndex(x, y, z)]] != 0;
}

std::uint8_t neighbourhoodCode(const Extraction& run, int X, int Y, int Z) {
    unsigned code = 0;
    for (int n = 0; n < 8; ++n)
        if (isSolid(run, X - 1 + (n & 1), Y - 1 + (n >> 1 & 1), Z - 1 + (n >> 2))) code |= 1u << n;
    return static_cast<std::uint8_t>(code);
}

// The vertex of the component that the cell with `cornerNumber` belongs to at
// lattice point (X, Y, Z); a new one when that component has none there yet.
std::int32_t vertexAt(Extraction& run, int X, int Y, int Z, int cornerNumber) {
    MeshExtractor& ex = run.extractor;
    const int lattice = X + kLatticeSide * Y + kLatticePlane * (Z & 1);
    std::uint8_t& code = ex.neighbourhoodCache[lattice];
    if (code == 0) code = neighbourhoodCode(run, X, Y, Z);
    int component = ex.componentTable[code][cornerNumber];
    if (component >= kComponents) component = 0;
    std::int32_t& vertex = ex.vertexMaps[lattice * kComponents + component];
    if (vertex >= 0) return vertex;
    vertex = vertexCount(ex.mesh);
    const int point[3] = {X, Y, Z};
    float position[3];
    const std::int32_t* offset =
        run.source.smooth ? run.source.smoothingTable.offset[run.source.cornerCodes.codes[cornerIndex(X, Y, Z)]]
                          : kNoOffset;
    for (int axis = 0; axis < 3; ++axis)
        position[axis] = static_cast<float>(8 * point[axis] + offset[axis]) / 8.0f;  // offsets in eighths
    append(ex, ex.mesh.positions, ex.mesh.positionsLength, position);
    return vertex;
}

// (p2 - p0) x (p3 - p1), normalised, in single precision; (0, 0, 0) for a
// face whose corners have collapsed.
void appendSmoothNormal(MeshExtractor& ex, const std::int32_t (&q)[4]) {
    const float* p[4];
    for (int i = 0; i < 4; ++i) p[i] = ex.mesh.positions.data() + 3 * static_cast<std::size_t>(q[i]);
    const float a[3] = {p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]};
    const float b[3] = {p[3][0] - p[1][0], p[3][1] - p[1][1], p[3][2] - p[1][2]};
    float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (float& c : n) c = length == 0.0f ? 0.0f : c / length;
    append(ex, ex.mesh.faceNormals, ex.mesh.faceNormalsLength, n);
}

void emitFace(Extraction& run, int x, int y, int z, std::uint8_t colour, const FaceSpec& face) {
    MeshExtractor& ex = run.extractor;
    QuadMesh& mesh = ex.mesh;
    if (!run.source.smooth) append(ex, mesh.faceNormals, mesh.faceNormalsLength, face.normal);
    const std::uint8_t colours[1] = {colour};
    append(ex, mesh.faceColours, mesh.faceColoursLength, colours);
    ++mesh.facesPerColour[colour];
    // Resolved from q3 down to q0: this order numbers the new vertices.
    std::int32_t q[4];
    for (int i = 3; i >= 0; --i) {
        const int* o = face.corner[i];
        q[i] = vertexAt(run, x + o[0], y + o[1], z + o[2], 7 - (o[0] + 2 * o[1] + 4 * o[2]));
    }
    append(ex, mesh.quads, mesh.quadsLength, q);
    if (run.source.smooth) appendSmoothNormal(ex, q);
}

void resetExtraction(MeshExtractor& ex) {
    QuadMesh& mesh = ex.mesh;
    resetArray(mesh.positions, mesh.positionsLength, 3 * kMeshBlock);
    resetArray(mesh.quads, mesh.quadsLength, 4 * kMeshBlock);
    resetArray(mesh.faceNormals, mesh.faceNormalsLength, 3 * kMeshBlock);
    resetArray(mesh.faceColours, mesh.faceColoursLength, kMeshBlock);
    std::fill(std::begin(mesh.facesPerColour), std::end(mesh.facesPerColour), 0);
    std::fill_n(ex.vertexMaps.get(), kComponents * kLatticeWindow, -1);
    std::memset(ex.neighbourhoodCache.get(), 0, kLatticeWindow);
}

// Lattice plane Z takes the place of plane Z - 2, which no layer needs any more.
void clearLatticePlane(MeshExtractor& ex, int Z) {
    const int first = kLatticePlane * (Z & 1);
    std::fill_n(ex.vertexMaps.get() + kComponents * first, kComponents * kLatticePlane, -1);
    std::memset(ex.neighbourhoodCache.get() + first, 0, kLatticePlane);
}

// One quad per face of a cell that `run.colourOf` counts as solid where no
// such cell lies across it, cell by cell: all faces of a cell are consecutive.
void extractSurface(Extraction& run) {
    resetExtraction(run.extractor);
    const std::uint8_t* cells = run.source.model.cells;
    for (int z = 0; z < kGridSize; ++z) {
        if (z > 0) clearLatticePlane(run.extractor, z + 1);
        for (int y = 0; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x) {
                const std::uint8_t colour = run.colourOf[cells[cellIndex(x, y, z)]];
                if (colour == 0) continue;
                for (const FaceSpec& face : kFaces)
                    if (!isSolid(run, x + face.across[0], y + face.across[1], z + face.across[2]))
                        emitFace(run, x, y, z, colour, face);
            }
    }
}

}  // namespace

int initMeshExtraction(MeshExtractor& extractor) {
    buildComponentTable(extractor.componentTable);
    extractor.vertexMaps.reset(new (std::nothrow) std::int32_t[kComponents * kLatticeWindow]);
    extractor.neighbourhoodCache.reset(new (std::nothrow) std::uint8_t[kLatticeWindow]);
    if (!extractor.vertexMaps || !extractor.neighbourhoodCache) return 0;
    try {
        resetExtraction(extractor);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

int extractQuadMesh(MeshExtractor& extractor, const MeshSource& source, Material material) {
    Extraction run{extractor, source, {}};
    const int firstCode = firstCodeOf(material);
    for (int c = 0; c < kPaletteSize; ++c) run.colourOf[firstCode + c] = static_cast<std::uint8_t>(c + 1);
    extractSurface(run);
    return 1;
}

int extractSolidMesh(MeshExtractor& extractor, const MeshSource& source) {
    Extraction run{extractor, source, {}};
    for (const Material material : kMaterials)
        for (int c = 0; c < kPaletteSize; ++c)
            run.colourOf[firstCodeOf(material) + c] = static_cast<std::uint8_t>(c + 1);
    extractSurface(run);
    return 1;
}

int extractCodedMesh(MeshExtractor& extractor, const MeshSource& source, std::uint8_t code) {
    Extraction run{extractor, source, {}};
    for (int c = kFirstCodeA; c <= kLastCode; ++c)
        if (code == kEmpty || c == code) run.colourOf[c] = static_cast<std::uint8_t>(c);
    extractSurface(run);
    return 1;
}

}  // namespace cubrik
