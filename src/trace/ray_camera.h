#pragma once
// Primary rays through the view's pixels: the GL view's projection and
// rotation undone, so each ray runs through exactly the points its pixel
// shows. Rays are in grid units (the grid centre at 50, 50, 50).

#include "trace/path_tracer.h"

namespace cubrik {

struct RayCamera {
    double clipToGrid[16];  // the inverse of projection . rotation, shifted into grid units
    // A perspective camera's rays start at the eye, so that nothing between it
    // and the near plane (the floor) is cut off; a parallel one's at the near plane.
    bool fromEye;
    double eye[3];
    int width, height;
};

RayCamera makeRayCamera(const TraceCamera& camera);

// The ray through point (x, y) of the picture, in pixels from its top left
// corner (a pixel's centre is at + 0.5); `direction` has unit length.
void primaryRay(const RayCamera& camera, double x, double y, float (&origin)[3], float (&direction)[3]);

}  // namespace cubrik
