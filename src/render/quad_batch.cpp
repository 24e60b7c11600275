#include "render/quad_batch.h"

#include <cstddef>
#include <new>

namespace cubrik {

int allocateQuadArrays(QuadArrays& arrays, int capacity, bool withNormals) {
    arrays = QuadArrays{};
    const std::size_t quads = static_cast<std::size_t>(capacity);
    arrays.colours.reset(new (std::nothrow) std::uint8_t[quads * kColourBytesPerQuad]);
    arrays.vertices.reset(new (std::nothrow) float[quads * kFloatsPerQuad]);
    if (withNormals) arrays.normals.reset(new (std::nothrow) float[quads * kFloatsPerQuad]);
    if (!arrays.colours || !arrays.vertices || (withNormals && !arrays.normals)) {
        arrays = QuadArrays{};
        return 0;
    }
    arrays.capacity = capacity;
    return 1;
}

QuadBatch batchAt(const QuadArrays& arrays, int first, int quadCapacity) {
    const std::size_t at = static_cast<std::size_t>(first);
    QuadBatch batch;
    batch.colours = arrays.colours.get() + at * kColourBytesPerQuad;
    batch.normals = arrays.normals ? arrays.normals.get() + at * kFloatsPerQuad : nullptr;
    batch.vertices = arrays.vertices.get() + at * kFloatsPerQuad;
    batch.quadCapacity = quadCapacity;
    return batch;
}

int quadCapacityFor(int maxElementsVertices) {
    const int quads = maxElementsVertices / 4;
    if (quads < 32768) return 32768;
    // A larger report is not taken at its word: a moderate batch is used instead.
    if (quads > 524288) return 131072;
    return quads;
}

}  // namespace cubrik
