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

void outline(float radius, bool square, int brushSize, int px, int py) {
    glBegin(GL_LINE_LOOP);
    if (square) {
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

float brushRadiusFor(int clientHeight, bool zoomed, int brushSize, double zoomFactor) {
    const float r = static_cast<float>(clientHeight) / (zoomed ? kZoomedVisibleHeight : kVisibleHeight) *
                    static_cast<float>(brushSize) * static_cast<float>(zoomFactor);
    return r < 1.1f ? 1.1f : r;
}

void drawBrushCursor(float radius, bool square, int brushSize, int px, int py) {
    glColor3f(0.5f, 0.5f, 0.5f);
    outline(radius - 1, square, brushSize, px, py);
    glColor3f(1, 1, 1);
    outline(radius, square, brushSize, px, py);
}

}  // namespace cubrik
