#pragma once
// The selection box and what the Edit and Model menus do with it: select
// mode (key B), cut, copy, paste, delete, select all and none, a box typed
// in a dialog (Select box…), flips, turns,
// centring and moves by one cell (also the arrow keys and Page Up and Down).
// Every change of cells is one undo step; the mirror planes do not apply.

#include "app/state/app.h"

namespace cubrik {

// Key B: the left button draws selection boxes until a tool is chosen.
void enterSelectMode(App& app);
void leaveSelectMode(App& app);

// A left press, the moves of the drag and its release in the view while in
// select mode. The drag shows the box its release would select.
void beginBoxSelection(App& app, int x, int y);
void dragBoxSelection(App& app, int x, int y);
void endBoxSelection(App& app, int x, int y);

// The cells the press and the pointer pick while a box is dragged, marked in the view.
std::array<std::optional<std::array<int, 3>>, 2> pickedCorners(const App& app);

// The box to draw and describe: the one being dragged, else the selection.
std::optional<CellBox> shownSelection(const App& app);

// Runs an Edit or Model menu command of the box (command::kCut ...
// kSelectNone, kFlipX ... kMoveMinusZ); false for any other command.
bool runBoxCommand(App& app, int command);

// The arrow keys and Page Up and Down: a move by one cell along the model
// axis nearest the screen's right, up or the viewer. False for other keys.
bool moveByKey(App& app, int key);

}  // namespace cubrik
