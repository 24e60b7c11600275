#pragma once
// File > Render picture… and File > Export turntable…: each asks its
// settings, copies what the view shows, and hands the work to the desktop to
// run in the background. Neither changes the model or its undo history.

#include "app/state/app.h"

namespace cubrik {

// The largest side a picture or a turntable frame may have.
inline constexpr int kMaxPictureSide = 8192;

void renderPicture(App& app);
void exportTurntableOfView(App& app);

}  // namespace cubrik
