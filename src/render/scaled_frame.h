#pragma once
// Frames on a high-density screen: the application draws at one pixel per
// logical pixel into an offscreen target, which is then stretched onto the
// window's framebuffer, so the panel, its hit test and the brush outline keep
// their sizes together at any device pixel ratio.

#include "render/offscreen_target.h"

namespace cubrik {

// Copies the whole of `source` onto framebuffer `destination`, stretched to
// width x height; `smooth` filters (for ratios that are not whole numbers).
// The framebuffer bindings are restored afterwards.
void presentScaled(const OffscreenTarget& source, unsigned int destination, int width, int height, bool smooth);

}  // namespace cubrik
