#pragma once
// Quads gathered into client-side vertex arrays and drawn a batch at a time.
// The walk that finds the faces fills a QuadBatch and hands it, when nearly
// full, to a flush callback: the renderer's callback draws it with OpenGL,
// tests and benchmarks look at the quads or drop them.

#include <cstdint>
#include <functional>
#include <memory>

namespace cubrik {

// Per quad: 4 vertices of R, G, B bytes, of normal x, y, z and of position
// x, y, z; the colour and the normal are the same on all four.
inline constexpr int kColourBytesPerQuad = 12;
inline constexpr int kFloatsPerQuad = 12;

// A window of `quadCapacity` quads into arrays owned elsewhere (QuadArrays).
// The pick passes leave `normals` alone.
struct QuadBatch {
    std::uint8_t* colours = nullptr;
    float* normals = nullptr;
    float* vertices = nullptr;
    int count = 0;
    int quadCapacity = 0;
};

// Consumes the quads of a batch and leaves it empty (count 0), possibly
// pointing at fresh storage.
using FlushBatch = std::function<void(QuadBatch&)>;

// Storage for `capacity` quads. new[] aligns to 16 bytes, as the vertex arrays want.
struct QuadArrays {
    std::unique_ptr<std::uint8_t[]> colours;
    std::unique_ptr<float[]> normals;  // absent for the pick passes
    std::unique_ptr<float[]> vertices;
    int capacity = 0;
};
static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ >= 16);

// Returns 1 when every array was allocated, else 0 with `arrays` empty.
int allocateQuadArrays(QuadArrays& arrays, int capacity, bool withNormals);

// An empty batch of `quadCapacity` quads starting at quad `first` of `arrays`.
QuadBatch batchAt(const QuadArrays& arrays, int first, int quadCapacity);

// Quads per draw call for a driver's GL_MAX_ELEMENTS_VERTICES: a quarter of
// it, at least 32,768; a value above 524,288 is taken as 131,072.
int quadCapacityFor(int maxElementsVertices);

}  // namespace cubrik
