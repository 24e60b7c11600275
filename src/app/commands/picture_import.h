#pragma once
// File > Import picture as cells…: a picture made into cells in place of the
// model, as Open replaces it.

#include "app/state/app.h"

namespace cubrik {

// Asks about unsaved changes, for a picture and for its thickness in cells,
// then puts its cells, in the current palettes' colours, in place of the
// model as one undo step. A picture that cannot be read changes nothing.
void importPictureAsCells(App& app);

}  // namespace cubrik
