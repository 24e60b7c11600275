#include "app/brush_size.h"

namespace cubrik {

int stepBrushSize(std::int32_t& brushSize, int delta) {
    const int direction = delta < 0 ? -1 : 1;
    if ((delta < 0 && brushSize > 1) || (delta > 0 && brushSize < 24)) {
        // Each test sees the value the one before left.
        if (brushSize > 12) brushSize += direction;
        if (brushSize > 6) brushSize += direction;
        brushSize += direction;
    }
    return 1;
}

}  // namespace cubrik
