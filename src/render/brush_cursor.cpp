#include "render/brush_cursor.h"

#include <epoxy/gl.h>

#include <cmath>
#include <numbers>

namespace cubrik {
namespace {

// Height of the view at the grid centre's depth, in cells: the frustum's
// half-height at the near plane (50, zoomed 32) scaled from 213 to 300.
constexpr float kVisibleHeight = 140.84508f;
constexpr float kZoomedVisibleHeight = 90.14085f;

void outline(float radius, int tool, int brushSize, int px, int py) {
    glBegin(GL_LINE_LOOP);
    if (tool == kPunchTool) {
        glVertex2f(px - radius, py - radius);
        glVertex2f(px - radius, py + radius);
        glVertex2f(px + radius, py + radius);
        glVertex2f(px + radius, py - radius);
    } else {
        const int n = 8 * brushSize;
        for (int k = n - 1; k >= 0; --k) {
            const double angle = k * 2 * std::numbers::pi / n;
            glVertex2d(px + radius * std::cos(angle), py + radius * std::sin(angle));
        }
    }
    glEnd();
}

}  // namespace

float brushRadiusFor(int clientHeight, bool zoomed, int brushSize) {
    const float r = static_cast<float>(clientHeight) / (zoomed ? kZoomedVisibleHeight : kVisibleHeight) *
                    static_cast<float>(brushSize);
    return r < 1.1f ? 1.1f : r;
}

void drawBrushCursor(float radius, int tool, int brushSize, int px, int py) {
    glColor3f(0.5f, 0.5f, 0.5f);
    outline(radius - 1, tool, brushSize, px, py);
    glColor3f(1, 1, 1);
    outline(radius, tool, brushSize, px, py);
}

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
