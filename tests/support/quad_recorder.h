#pragma once
// Collects the quads and batch sizes a walk hands to its flush callback.

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "render/face_walk.h"
#include "render/quad_batch.h"
#include "support/reference_walk.h"

namespace cubrik::testing {

struct RecordedQuads {
    std::vector<std::uint8_t> colours;
    std::vector<float> normals;  // display pass only
    std::vector<float> vertices;
    std::vector<int> batchSizes;

    int count() const { return static_cast<int>(vertices.size() / kFloatsPerQuad); }
    const float* vertex(int quad, int corner) const { return &vertices[quad * kFloatsPerQuad + 3 * corner]; }
    const float* normal(int quad) const { return &normals[quad * kFloatsPerQuad]; }
    const std::uint8_t* colour(int quad) const { return &colours[quad * kColourBytesPerQuad]; }

    void take(const QuadBatch& batch, bool withNormals) {
        colours.insert(colours.end(), batch.colours, batch.colours + batch.count * kColourBytesPerQuad);
        vertices.insert(vertices.end(), batch.vertices, batch.vertices + batch.count * kFloatsPerQuad);
        if (withNormals) normals.insert(normals.end(), batch.normals, batch.normals + batch.count * kFloatsPerQuad);
        batchSizes.push_back(batch.count);
    }
};

// Bit-for-bit equality: a -0.0 where +0.0 belongs is a difference too.
inline bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0);
}

// The same quads in the same order, however they were split into batches.
inline bool sameGeometry(const RecordedQuads& a, const RecordedQuads& b) {
    return a.colours == b.colours && sameBits(a.vertices, b.vertices) && sameBits(a.normals, b.normals);
}

inline bool sameQuads(const RecordedQuads& a, const RecordedQuads& b) {
    return a.batchSizes == b.batchSizes && sameGeometry(a, b);
}

// Runs the real walk (or the literal reference) with batches of `capacity` quads.
inline RecordedQuads recordWalk(const FaceWalk& walk, int capacity, bool reference = false) {
    QuadArrays arrays;
    allocateQuadArrays(arrays, capacity, true);
    QuadBatch batch = batchAt(arrays, 0, capacity);
    RecordedQuads out;
    const bool withNormals = walk.pass == FacePass::Display;
    const FlushBatch keep = [&](QuadBatch& full) {
        out.take(full, withNormals);
        full.count = 0;
    };
    if (reference) {
        auto corners = std::make_unique<CornerCodeGrid>();
        referenceWalkFaces(walk, *corners, batch, keep);
    } else {
        auto masks = std::make_unique<RowMasks>();
        walkFaces(walk, *masks, batch, keep);
    }
    return out;
}

}  // namespace cubrik::testing
