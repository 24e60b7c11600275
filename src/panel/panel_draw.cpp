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

// How the panel's shapes reach the framebuffer. With one device pixel per
// client pixel, coordinates are pixel centres and GL's own rules give each
// shape its pixels. On a finer framebuffer each client pixel is a block of
// device pixels, and the shapes are placed to cover the same blocks: lines as
// wide as a client pixel with their corners filled, open lines from the start
// of their first pixel to the start of their end pixel (which a line leaves
// out), rectangles from pixel corners.
struct Pen {
    explicit Pen(const PanelScene& scene) : fine(scene.device.scaled()), width(scene.device.lineWidth()) {}
    bool fine;
    float width;  // a client pixel, in device pixels
};

void setColour(const Rgb8& c) { glColor3ub(c.r, c.g, c.b); }
void setColour(const Rgb& c) { glColor3f(c.r, c.g, c.b); }

Rgb8 halfway(const Rgb8& a, const Rgb8& b) {
    return {static_cast<std::uint8_t>((a.r + b.r) / 2), static_cast<std::uint8_t>((a.g + b.g) / 2),
            static_cast<std::uint8_t>((a.b + b.b) / 2)};
}

// The pixels from (left, top) to (right - 1, bottom - 1).
void fillRect(const Pen& pen, double left, double top, double right, double bottom) {
    if (pen.fine) {
        left -= 0.5, top -= 0.5, right -= 0.5, bottom -= 0.5;
    }
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

// A closed outline; wide lines leave its corners open, so square points fill them.
void loop(const Pen& pen, const std::vector<Point>& points) {
    shape(GL_LINE_LOOP, points);
    if (pen.fine) shape(GL_POINTS, points);
}

// A closed outline two pixels wide, whose sides cover their own pixels and
// those left of or above them.
void doubleLoop(const Pen& pen, std::vector<Point> points) {
    glLineWidth(2 * pen.width);
    glPointSize(2 * pen.width);
    if (pen.fine)
        for (Point& p : points) p.x -= 0.5, p.y -= 0.5;
    loop(pen, points);
    glLineWidth(pen.width);
    glPointSize(pen.width);
}

// A horizontal or vertical line; the pixel at (x1, y1) is left out.
void line(const Pen& pen, double x0, double y0, double x1, double y1) {
    if (pen.fine) {
        const double dx = (x1 > x0) - (x1 < x0), dy = (y1 > y0) - (y1 < y0);
        x0 -= dx / 2, y0 -= dy / 2, x1 -= dx / 2, y1 -= dy / 2;
    }
    shape(GL_LINES, {{x0, y0}, {x1, y1}});
}

// The sharper atlas where there are pixels for it.
unsigned int iconTexture(const PanelScene& scene) {
    return scene.device.scaled() && scene.texture.doubleName ? scene.texture.doubleName : scene.texture.name;
}

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
    const Pen pen(scene);
    const PanelColours& c = scene.colours;
    const int state = buttonState(scene.edit, scene.drag, item);
    const Rgb8 stateColours[5] = {c.face, c.light, halfway(c.light, c.face), c.selection, halfway(c.face, c.selection)};
    const PanelRect r = panelItemRect(item, scene.compact);
    setColour(stateColours[state]);
    fillRect(pen, r.left, r.top, r.right, r.bottom);
    if (iconTexture(scene)) {
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
    loop(pen, {{double(r.left), double(r.top)}, {r.right - 1.0, double(r.top)},
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
    const Pen pen(scene);
    const PanelColours& c = scene.colours;
    const std::vector<Point> inner = swatchOutline(r, r.right - 1.0, current);
    setColour(colour);
    shape(GL_TRIANGLE_FAN, inner);  // the notched outline is star-shaped about its first corner
    setColour(c.face);
    loop(pen, inner);
    loop(pen, swatchOutline(r, r.right, current));
    const double end = current ? r.right - 2 : r.right - 1;
    setColour(c.shadow);
    line(pen, r.left + 1, r.top + 1, end, r.top + 1);
    setColour(c.light);
    line(pen, r.left + 1, r.bottom - 2, end, r.bottom - 2);
}

void drawLockedSlot(const PanelScene& scene, const PanelRect& r, const Rgb& colour) {
    const Pen pen(scene);
    const PanelColours& c = scene.colours;
    const std::vector<Point> field = swatchOutline(r, r.right - 1.0, false);
    setColour(c.selection);
    shape(GL_TRIANGLE_FAN, field);
    setColour(c.face);
    loop(pen, field);
    const int dx = (r.right - r.left) / 4, dy = (r.bottom - r.top) / 4;
    const std::vector<Point> swatch{{double(r.left + dx), double(r.bottom - 1 - dy)},
                                    {double(r.right - 1 - dx), double(r.bottom - 1 - dy)},
                                    {double(r.right - 1 - dx), double(r.top + dy)},
                                    {double(r.left + dx), double(r.top + dy)}};
    setColour(colour);
    shape(GL_TRIANGLE_FAN, swatch);
    setColour(c.face);
    doubleLoop(pen, swatch);
    loop(pen, swatchOutline(r, r.right, false));
    setColour(c.shadow);
    line(pen, r.left + 1, r.top + 1, r.right - 1, r.top + 1);
    setColour(c.light);
    line(pen, r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 2);
}

const Rgb* currentPalette(const PanelScene& scene) { return paletteOf(scene.model, scene.edit.currentMaterial); }

// Half a slot centred on the pointer, drawn as nested outlines.
void drawDragGhost(const PanelScene& scene) {
    const Pen pen(scene);
    const double w = scene.compact ? 29 : 58;
    const double x0 = scene.cursorX - w / 2, y0 = scene.cursorY - 14.5;
    const double left = x0 + w / 4, top = y0 + 7.25, right = x0 + 3 * w / 4, bottom = y0 + 21.75;
    const Rgb& colour = currentPalette(scene)[scene.drag.draggedSlot - kFirstSlot];
    const Rgb black{0, 0, 0}, white{1, 1, 1};
    const Rgb* rings[7] = {&black, &white, &colour, &colour, &colour, &white, &black};
    for (int i = 0; i < 7; ++i) {
        setColour(*rings[i]);
        loop(pen, {{left + i, top + i}, {right - i, top + i}, {right - i, bottom - i}, {left + i, bottom - i}});
    }
}

// The texture of an atlas drawn at `scale`, or 0 when the file is damaged.
unsigned int uploadAtlas(std::span<const std::uint8_t> targa, int scale) {
    std::vector<std::uint8_t> texels;
    if (!decodeAtlasTarga(targa, texels, scale)) return 0;
    GLuint name = 0;
    glGenTextures(1, &name);
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kAtlasWidth * scale, kAtlasHeight * scale, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 texels.data());
    const GLclampf priority = 1.0f;
    glPrioritizeTextures(1, &name, &priority);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return name;
}

}  // namespace

void loadPanelTexture(PanelTexture& texture, std::span<const std::uint8_t> atlas,
                      std::span<const std::uint8_t> doubleAtlas) {
    texture.name = uploadAtlas(atlas, 1);
    texture.doubleName = uploadAtlas(doubleAtlas, 2);
}

void releasePanelTexture(PanelTexture& texture) {
    for (unsigned int* name : {&texture.name, &texture.doubleName}) {
        if (*name) glDeleteTextures(1, name);
        *name = 0;
    }
}

void drawPanel(const PanelScene& scene) {
    const int w = scene.clientWidth, h = scene.clientHeight;
    const Pen pen(scene);
    if (pen.fine) setDeviceViewport(scene.device, 0);
    else glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-0.5, w - 0.5, h - 0.5, -0.5, -1.0, 1.0);
    if (pen.fine) scaleProjectionToDevice(scene.device, w, h, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLineWidth(pen.width);
    glPointSize(pen.width);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);  // y runs down here, which turns every winding round
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const unsigned int atlas = iconTexture(scene);
    glBindTexture(GL_TEXTURE_2D, atlas);
    if (atlas && atlas == scene.texture.doubleName) {
        // Texel for texel at a ratio of 2; at others, blended texels keep the strokes even.
        const GLint filter = scene.device.scale == 2.0 ? GL_NEAREST : GL_LINEAR;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    }

    setColour(scene.colours.face);
    line(pen, 0, 0, 0, h);
    fillRect(pen, 0, 0, 60, panelItemRect(kFirstSlot, scene.compact).top);
    fillRect(pen, 0, panelItemRect(kLastSlot, scene.compact).bottom, 60, h);
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
    glLineWidth(1.0f);
    glPointSize(1.0f);
}

}  // namespace cubrik
