#pragma once
// What the optional looks of the display pass add to its batches: the cube
// faces' cell edges (a texture and its coordinates) and, with occlusion, the
// triangles that split each quad along the diagonal its corners start on.

#include <cstdint>
#include <vector>

namespace cubrik {

struct DisplayLooks {
    unsigned edgeTexture = 0;                   // made on first use
    std::vector<float> edgeCoordinates;         // (0,0) (1,0) (1,1) (0,1) for each quad of a batch
    std::vector<std::uint32_t> triangleIndices; // 0 1 2 0 2 3 for each quad of a batch
};

// Fills the per-quad arrays for batches of up to `quads` quads. Returns 1, or
// 0 when memory is exhausted (the looks are then left out).
int prepareEdgeCoordinates(DisplayLooks& looks, int quads);
int prepareTriangleIndices(DisplayLooks& looks, int quads);

// --- OpenGL: a current context needed.

// Binds the edge texture, making it first if needed, and sets it to modulate the lit colour.
void bindCellEdgeTexture(DisplayLooks& looks);

void releaseDisplayLooks(DisplayLooks& looks);

}  // namespace cubrik
