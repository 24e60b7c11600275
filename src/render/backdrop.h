#pragma once
// What the window's view draws behind the model and nothing else ever draws:
// the reference picture and the floor grid. Never picked, exported or in an
// image.

#include <cstdint>

#include "render/view_state.h"

namespace cubrik {

// Fits the picture, its aspect kept and centred, to the face of the grid box
// farthest from the viewer under `rotation`, upright and unmirrored as the
// viewer sees it then. Sets `corners`.
void placeOnFarFace(ReferencePicture& picture, const double (&rotation)[16]);

// The picture's texture, made again when another picture comes.
struct ReferenceTexture {
    unsigned name = 0;
    std::uint32_t serial = 0;
};

// --- OpenGL: a current context needed, the view's matrices loaded.

// The picture at `opacity` (0..1) over what is drawn, without writing depth,
// so that everything drawn afterwards covers it. Seen from behind it is culled.
void drawReferencePicture(ReferenceTexture& texture, const ReferencePicture& picture, float opacity);

// Faint lines every 10 cells across the grid box's y = 0 face and the box's
// twelve edges, without writing depth.
void drawFloorGrid();

void releaseReferenceTexture(ReferenceTexture& texture);

}  // namespace cubrik
