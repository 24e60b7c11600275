#pragma once
// The fixed camera, perspective or parallel, and the orientation of the model
// in front of it: projection, trackball, snap and preset views. Pure arithmetic on the
// model record, so the view logic is testable without OpenGL.

#include "model/voxel_model.h"

namespace cubrik {

// The 3-D view starts right of the tool panel, which covers columns 0..63.
inline constexpr int kViewLeft = 64;

// Degrees the model turns per view unit of trackball drag.
inline constexpr double kDegreesPerViewUnit = 3.4;

// Preset views in menu order.
enum PresetView { kFrontView = 0, kBackView, kLeftView, kRightView, kTopView, kBottomView };

// The zoom factor is 1.25 to the power of the zoom step.
inline constexpr int kMinZoomStep = -3;
inline constexpr int kMaxZoomStep = 12;

// What the camera looks at and how closely: not the document's, so neither
// undo nor a saved file carries it. The defaults show the grid as it always
// was.
struct ViewCamera {
    double pivot[3] = {0.0, 0.0, 0.0};  // model units, the grid centre at the origin; the view's centre
    int zoomStep = 0;
    // A parallel projection at the perspective view's scale in the pivot's
    // plane: the cells of a row line up, and size no longer depends on depth.
    bool orthographic = false;
};

// 1.25^step, exactly 1 at step 0.
double zoomFactor(int zoomStep);

// The projection of a client area of `clientWidth` x `clientHeight`: the
// perspective frustum of the (W - 64) x H view, its sides divided by the zoom
// factor, then the pivot moved 300 units in front of the eye. Column-major.
// An orthographic camera has that frustum's cross-section through the pivot
// as its box, between the same near and far planes.
//
// The pivot's shift, translate(-pivot) after the rotation, is folded in as
// translate(-rotation . pivot) before it, so that projection . rotation (what
// the tools read from the model record) carries it. The near and far planes
// follow the grid centre's depth, so the whole grid stays between them
// wherever the pivot is; with the pivot at the grid centre the matrix is the
// fixed camera's, bit for bit.
void viewProjection(int clientWidth, int clientHeight, bool zoomed, const ViewCamera& camera,
                    const double (&rotation)[16], double (&projection)[16]);

// Model units per pixel in the plane through the pivot that faces the viewer.
double pivotPlaneUnitsPerPixel(int clientHeight, bool zoomed, int zoomStep);

// One zoom step in (delta > 0) or out about client pixel (x, y): the pivot
// moves within its plane so that the point of the plane under the pixel stays
// there. Returns false when the zoom is at its limit.
bool zoomAbout(ViewCamera& camera, const double (&rotation)[16], int clientWidth, int clientHeight, bool zoomed,
               int x, int y, int delta);

// The pivot of a pan that began at `start` and has moved the cursor by (dx,
// dy) client pixels (y down): the points of the pivot plane follow the cursor.
void panFrom(ViewCamera& camera, const double (&start)[3], const double (&rotation)[16], int clientHeight,
             bool zoomed, int dx, int dy);

// The camera, of the projection `orthographic` says, that centres the box
// from `low` to `high` (model units) at the largest zoom step that shows its
// eight corners inside the view.
ViewCamera frameBox(const double (&low)[3], const double (&high)[3], const double (&rotation)[16], int clientWidth,
                    int clientHeight, bool zoomed, bool orthographic);

// Right-handed rotation by `degrees` about the axis (x, y, z), as glRotated
// builds it. Column-major.
void rotationMatrix(double degrees, double x, double y, double z, double (&out)[16]);

// Starts a trackball drag at client pixel (x, y). Returns 1, or 0 with nothing
// changed when the point lies right of, above or below the client area.
int beginRotation(VoxelModel& model, int x, int y, int clientWidth, int clientHeight, bool shiftDown);

// Turns the model by the whole displacement since the drag began. Returns 1,
// or 0 with nothing changed when the point is outside the accepted range.
int rotateTo(VoxelModel& model, int x, int y, int clientWidth, int clientHeight);

// Ends a drag: re-orthonormalises the rotation so rounding does not build up.
void endRotation(VoxelModel& model);

// Replaces the rotation by the nearest axis-aligned orientation.
void snapView(VoxelModel& model);

// Replaces the rotation by preset `n` (0..5); any other n gives the front view.
void presetView(VoxelModel& model, int n);

}  // namespace cubrik
