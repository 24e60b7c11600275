#pragma once
// Cell mode (key N): one cell at a time. A left click adds a cell of the
// current colour across the face under the pointer (over the background, on
// the centre plane, as Build starts), with Shift empties the cell clicked; a
// drag goes on along the plane of that first face, a cell for each new cell
// under the pointer. The mirror planes apply; a drag is one undo step. A tool
// (key or button), B and Esc leave the mode, as they leave select mode.

#include "app/state/app.h"

namespace cubrik {

void enterCellMode(App& app);
void leaveCellMode(App& app);

// A left press in the view in cell mode, the moves of its drag and its release.
void beginCellDrag(App& app, int x, int y);
void continueCellDrag(App& app, int x, int y);
void endCellDrag(App& app);

}  // namespace cubrik
