#pragma once
// Brush size steps of the keys C and V and of the mouse wheel. The steps grow
// with the size, so the ladders up (1..7, 9, 11, 13, 16, 19, 22, 25) and down
// (25, 22, 19, 16, 13, 10, 8, 6..1) differ between 6 and 13.

#include <cstdint>

namespace cubrik {

// One step down for delta < 0 (not below 1), one step up for delta > 0
// (from sizes below 24). Returns 1.
int stepBrushSize(std::int32_t& brushSize, int delta);

}  // namespace cubrik
