#pragma once
// The fixed perspective camera and the orientation of the model in front of
// it: projection, trackball, snap and preset views. Pure arithmetic on the
// model record, so the view logic is testable without OpenGL.

#include "model/voxel_model.h"

namespace cubrik {

// The 3-D view starts right of the tool panel, which covers columns 0..63.
inline constexpr int kViewLeft = 64;

// Degrees the model turns per view unit of trackball drag.
inline constexpr double kDegreesPerViewUnit = 3.4;

// Preset views in menu order.
enum PresetView { kFrontView = 0, kBackView, kLeftView, kRightView, kTopView, kBottomView };

// The projection of a client area of `clientWidth` x `clientHeight`: the
// perspective frustum of the (W - 64) x H view, then the grid moved 300 units
// in front of the eye. Column-major.
void viewProjection(int clientWidth, int clientHeight, bool zoomed, double (&projection)[16]);

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
