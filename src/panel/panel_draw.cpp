#include "panel/panel_draw.h"

#include <epoxy/gl.h>

#include <vector>

#include "formats/image/targa.h"
#include "panel/panel_layout.h"

namespace cubrik {
namespace {

struct Point {
    double x, y;
};

void setColour(const Rgb8& c) { glColor3ub(c.r, c.g, c.b); }
void setColour(const Rgb& c) { glColor3f(c.r, c.g, c.b); }

Rgb8 halfway(const Rgb8& a, const Rgb8& b) {
    return {static_cast<std::uint8_t>((a.r + b.r) / 2), static_cast<std::uint8_t>((a.g + b.g) / 2),
            static_cast<std::uint8_t>((a.b + b.b) / 2)};
}

void fillRect(double left, double top, double right, double bottom) {
    glBegin(GL_QUADS);
    glVertex2d(left, top);
    glVertex2d(left, bottom);
    glVertex2d(right, bottom);
    glVertex2d(right, top);
    glEnd();
}

void shape(GLenum mode, const std::vector<Point>& points) {
    glBegin(mode);
    for (const Point& p : points) glVertex2d(p.x, p.y);
    glEnd();
}

void line(double x0, double y0, double x1, double y1) { shape(GL_LINES, {{x0, y0}, {x1, y1}}); }

// 0 normal, 1 chosen, 2 hovered, 3 hidden material, 4 hidden and hovered.
int buttonState(const EditState& edit, const PanelDragState& drag, int item) {
    const bool hovered = item == drag.hoverItem;
    if (isToolButton(item)) return toolOfButton(item) == edit.currentTool ? 1 : hovered ? 2 : 0;
    const Material material = materialOfButton(item);
    if (material == edit.alsoShownMaterial) return hovered ? 2 : 0;
    if (material == edit.currentMaterial) return 1;
    return hovered ? 4 : 3;
}

void drawButton(const PanelScene& scene, int item) {
    const PanelColours& c = scene.colours;
    const int state = buttonState(scene.edit, scene.drag, item);
    const Rgb8 stateColours[5] = {c.face, c.light, halfway(c.light, c.face), c.selection, halfway(c.face, c.selection)};
    const PanelRect r = panelItemRect(item, scene.compact);
    setColour(stateColours[state]);
    fillRect(r.left, r.top, r.right, r.bottom);
    if (scene.texture.name) {
        const PanelRect icon = atlasIconRect(item);
        glEnable(GL_TEXTURE_2D);
        glColor3f(1, 1, 1);
        glBegin(GL_QUADS);
        glTexCoord2d(icon.left / 64.0, icon.top / 256.0);
        glVertex2d(r.left, r.top);
        glTexCoord2d(icon.left / 64.0, icon.bottom / 256.0);
        glVertex2d(r.left, r.bottom - 1);
        glTexCoord2d(icon.right / 64.0, icon.bottom / 256.0);
        glVertex2d(r.right - 1, r.bottom - 1);
        glTexCoord2d(icon.right / 64.0, icon.top / 256.0);
        glVertex2d(r.right - 1, r.top);
        glEnd();
        glDisable(GL_TEXTURE_2D);
    }
    setColour(state == 1 ? c.dark : c.face);
    shape(GL_LINE_LOOP, {{double(r.left), double(r.top)}, {r.right - 1.0, double(r.top)},
                         {r.right - 1.0, r.bottom - 1.0}, {double(r.left), r.bottom - 1.0}});
}

// The outline of a swatch whose right edge is at x = right, with the V notch
// of the current colour when `notched`.
std::vector<Point> swatchOutline(const PanelRect& r, double right, bool notched) {
    std::vector<Point> points{{double(r.left), r.bottom - 1.0}, {right, r.bottom - 1.0}};
    if (notched) points.push_back({right - (r.bottom - r.top - 1) / 2, double((r.top + r.bottom - 1) / 2)});
    points.push_back({right, double(r.top)});
    points.push_back({double(r.left), double(r.top)});
    return points;
}

void drawPlainSlot(const PanelScene& scene, const PanelRect& r, const Rgb& colour, bool current) {
    const PanelColours& c = scene.colours;
    const std::vector<Point> inner = swatchOutline(r, r.right - 1.0, current);
    setColour(colour);
    shape(GL_TRIANGLE_FAN, inner);  // the notched outline is star-shaped about its first corner
    setColour(c.face);
    shape(GL_LINE_LOOP, inner);
    shape(GL_LINE_LOOP, swatchOutline(r, r.right, current));
    const double end = current ? r.right - 2 : r.right - 1;
    setColour(c.shadow);
    line(r.left + 1, r.top + 1, end, r.top + 1);
    setColour(c.light);
    line(r.left + 1, r.bottom - 2, end, r.bottom - 2);
}

void drawLockedSlot(const PanelScene& scene, const PanelRect& r, const Rgb& colour) {
    const PanelColours& c = scene.colours;
    const std::vector<Point> field = swatchOutline(r, r.right - 1.0, false);
    setColour(c.selection);
    shape(GL_TRIANGLE_FAN, field);
    setColour(c.face);
    shape(GL_LINE_LOOP, field);
    const int dx = (r.right - r.left) / 4, dy = (r.bottom - r.top) / 4;
    const std::vector<Point> swatch{{double(r.left + dx), double(r.bottom - 1 - dy)},
                                    {double(r.right - 1 - dx), double(r.bottom - 1 - dy)},
                                    {double(r.right - 1 - dx), double(r.top + dy)},
                                    {double(r.left + dx), double(r.top + dy)}};
    setColour(colour);
    shape(GL_TRIANGLE_FAN, swatch);
    setColour(c.face);
    glLineWidth(2);
    shape(GL_LINE_LOOP, swatch);
    glLineWidth(1);
    shape(GL_LINE_LOOP, swatchOutline(r, r.right, false));
    setColour(c.shadow);
    line(r.left + 1, r.top + 1, r.right - 1, r.top + 1);
    setColour(c.light);
    line(r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 2);
}

const Rgb* currentPalette(const PanelScene& scene) { return paletteOf(scene.model, scene.edit.currentMaterial); }

// Half a slot centred on the pointer, drawn as nested outlines.
void drawDragGhost(const PanelScene& scene) {
    const double w = scene.compact ? 29 : 58;
    const double x0 = scene.cursorX - w / 2, y0 = scene.cursorY - 14.5;
    const double left = x0 + w / 4, top = y0 + 7.25, right = x0 + 3 * w / 4, bottom = y0 + 21.75;
    const Rgb& colour = currentPalette(scene)[scene.drag.draggedSlot - kFirstSlot];
    const Rgb black{0, 0, 0}, white{1, 1, 1};
    const Rgb* rings[7] = {&black, &white, &colour, &colour, &colour, &white, &black};
    for (int i = 0; i < 7; ++i) {
        setColour(*rings[i]);
        shape(GL_LINE_LOOP, {{left + i, top + i}, {right - i, top + i}, {right - i, bottom - i}, {left + i, bottom - i}});
    }
}

}  // namespace

void loadPanelTexture(PanelTexture& texture, const std::uint8_t* targa, std::size_t size) {
    std::vector<std::uint8_t> texels;
    if (!decodeAtlasTarga({targa, size}, texels)) return;
    GLuint name = 0;
    glGenTextures(1, &name);
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 256, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
    const GLclampf priority = 1.0f;
    glPrioritizeTextures(1, &name, &priority);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    texture.name = name;
}

void releasePanelTexture(PanelTexture& texture) {
    if (texture.name) glDeleteTextures(1, &texture.name);
    texture.name = 0;
}

void drawPanel(const PanelScene& scene) {
    const int w = scene.clientWidth, h = scene.clientHeight;
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-0.5, w - 0.5, h - 0.5, -0.5, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);  // y runs down here, which turns every winding round
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, scene.texture.name);

    setColour(scene.colours.face);
    line(0, 0, 0, h);
    fillRect(0, 0, 60, panelItemRect(kFirstSlot, scene.compact).top);
    fillRect(0, panelItemRect(kLastSlot, scene.compact).bottom, 60, h);
    for (int item = 0; item <= kMaterialBButton; ++item) drawButton(scene, item);

    const std::uint8_t* locks = locksOf(scene.model, scene.edit.currentMaterial);
    for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
        const PanelRect r = panelItemRect(slot, scene.compact);
        const Rgb& colour = currentPalette(scene)[slot - kFirstSlot];
        if (locks[slot - kFirstSlot]) drawLockedSlot(scene, r, colour);
        else drawPlainSlot(scene, r, colour, slot == scene.edit.currentSlot);
    }
    if (scene.drag.draggedSlot != kNoItem && scene.cursorKnown) drawDragGhost(scene);

    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
}

}  // namespace cubrik
