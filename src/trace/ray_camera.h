#pragma once
// Primary rays through the view's pixels: the GL view's projection and
// rotation undone, so each ray runs through exactly the points its pixel
// shows. Rays are in grid units (the grid centre at 50, 50, 50).

#include "trace/path_tracer.h"

namespace cubrik {

// Both ends of a pixel's ray, on the near and the far plane, move in step
// with the pixel (the planes are flat in any projection), so each is a point
// plus multiples of two steps: one per pixel right, one per pixel down.
struct RayCamera {
    int width, height;
    float nearPoint[3], nearRight[3], nearDown[3];
    float farPoint[3], farRight[3], farDown[3];
    // A perspective camera's rays start at the eye, so that nothing between it
    // and the near plane (the floor) is cut off; a parallel one's at the near plane.
    bool fromEye;
    float eye[3];
};

RayCamera makeRayCamera(const TraceCamera& camera);

// The ray through point (x, y) of the picture, in pixels from its top left
// corner (a pixel's centre is at + 0.5); `direction` has unit length.
void primaryRay(const RayCamera& camera, float x, float y, float (&origin)[3], float (&direction)[3]);

}  // namespace cubrik
