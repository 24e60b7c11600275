#pragma once
// The Edit menu's shapes in the selection box (Fill, Fill an ellipsoid, Fill
// a cylinder along the axis nearest the viewing direction, Paint, Hollow,
// Empty an ellipsoid and Empty a cylinder)
// and Fill connected (key P), the bucket fill from the visible cell under the
// pointer through the whole model. Each change is one undo step and the
// status bar says what was done or why nothing was. The mirror planes apply
// to Fill connected only, as the other box commands ignore them.

#include "app/state/app.h"

namespace cubrik {

// Runs command::kFill ... kFillConnected, kEmptyEllipsoid and kEmptyCylinder; false for any other command.
bool runShapeCommand(App& app, int command);

}  // namespace cubrik
