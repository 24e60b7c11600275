#pragma once
// Turns the cells of one material into a surface of square faces: one quad per
// exposed cell face, vertices shared only between cells joined through faces
// inside the 2 x 2 x 2 block around them, so cells touching at an edge or a
// corner stay separate. In smooth mode every vertex sits where the smooth
// display draws it, and face normals follow the moved corners.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "model/material.h"
#include "model/smoothing.h"
#include "model/voxel_model.h"

namespace cubrik {

// Lattice points (X, Y, Z), each 0..100. Cells are walked layer by layer in z,
// and a layer's faces touch only the lattice planes Z = z and z + 1, so the
// working buffers keep just two planes, indexed X + 101 Y + 10201 (Z mod 2).
inline constexpr int kLatticeSide = kGridSize + 1;
inline constexpr int kLatticePlane = kLatticeSide * kLatticeSide;
inline constexpr int kLatticeWindow = 2 * kLatticePlane;

// The output arrays grow by this many vertices or faces at a time.
inline constexpr std::size_t kMeshBlock = 10201;

// The mesh of one material, refilled by every extraction. The arrays are
// allocated in whole blocks; the lengths say how much of them is used.
struct QuadMesh {
    std::vector<float> positions;            // 3 per vertex, lattice units
    std::vector<std::int32_t> quads;         // 4 vertex indices per face, counter-clockwise seen from outside
    std::vector<float> faceNormals;          // 3 per face
    std::vector<std::uint8_t> faceColours;   // colour index 1..16 per face (the cell's code 1..32 for extractCodedMesh)
    std::size_t positionsLength = 0;         // floats used in `positions`
    std::size_t quadsLength = 0;             // ints used in `quads`
    std::size_t faceNormalsLength = 0;
    std::size_t faceColoursLength = 0;
    std::int32_t facesPerColour[kLastCode + 1] = {};  // entry 0 stays 0
};

inline int vertexCount(const QuadMesh& mesh) { return static_cast<int>(mesh.positionsLength / 3); }
inline int faceCount(const QuadMesh& mesh) { return static_cast<int>(mesh.quadsLength / 4); }

// What an extraction reads. The writers refresh `cornerCodes` from the cells
// before a smooth export; extraction itself only reads it.
struct MeshSource {
    const VoxelModel& model;
    CornerCodeGrid& cornerCodes;
    const SmoothingTable& smoothingTable;
    bool smooth;
    double cellMillimetres = 1.0;  // the edge of a cell, for the formats measured in millimetres
};

// The working buffers of extraction, allocated once and reused, and its output.
struct MeshExtractor {
    // Per neighbourhood code and corner number: the cell's face-connected
    // component 0..3 within the 2 x 2 x 2 block, or 9 when it is not solid.
    std::uint8_t componentTable[256][8];
    // Four per lattice point of the two planes, one per component: the vertex index, or -1.
    std::unique_ptr<std::int32_t[]> vertexMaps;
    // Per lattice point of the two planes: the neighbourhood code, or 0 while not computed.
    std::unique_ptr<std::uint8_t[]> neighbourhoodCache;
    QuadMesh mesh;
    // Growing the mesh arrays past this many bytes in all fails as exhausted
    // memory does; it lets that path be exercised without exhausting memory.
    std::size_t growthLimitBytes = std::numeric_limits<std::size_t>::max();
};

// Builds the component table and allocates every buffer. Returns 1, or 0 when
// memory is short.
int initMeshExtraction(MeshExtractor& extractor);

// Refills `extractor.mesh` with the surface of `material`, smoothed when `source.smooth`. Returns 1. Throws
// std::bad_alloc when a mesh array cannot grow; the writers catch it and
// abandon their file. The next extraction starts afresh.
int extractQuadMesh(MeshExtractor& extractor, const MeshSource& source, Material material);

// The same for every filled cell whatever its material: the model as one
// solid, without the walls between the materials, for formats that carry no
// colours. Each face keeps its cell's colour number 1..16.
int extractSolidMesh(MeshExtractor& extractor, const MeshSource& source);

// The surface of the cells of `code` alone, or with 0 of every filled cell as
// one solid; each face keeps its cell's code 1..32, so the faces between two
// colours belong to both colours' parts. For the formats that print colours.
int extractCodedMesh(MeshExtractor& extractor, const MeshSource& source, std::uint8_t code);

}  // namespace cubrik
