#pragma once
// File > Export selection…: the selected cells alone, written as Save as
// writes the model, moved so that the box starts at the grid's origin.

#include "app/state/app.h"

namespace cubrik {

// Asks for a file and writes the selection there; the document, its name
// and its saved state stay as they were. With no selection it only says so.
void exportSelection(App& app);

}  // namespace cubrik
