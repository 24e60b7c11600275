#include "render/backdrop.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>

namespace cubrik {
namespace {

constexpr double kFace = 50.0;  // the grid box's faces

double entry(const double (&rotation)[16], int row, int column) { return rotation[row + 4 * column]; }

// The model axis, other than `skip` and `skip2`, that lies most along screen row `row`.
int axisMostAlong(const double (&rotation)[16], int row, int skip, int skip2 = -1) {
    int best = -1;
    for (int axis = 0; axis < 3; ++axis)
        if (axis != skip && axis != skip2 &&
            (best < 0 || std::abs(entry(rotation, row, axis)) > std::abs(entry(rotation, row, best))))
            best = axis;
    return best;
}

// Both blended and left out of the depth buffer, so the model covers them.
struct BehindTheModel {
    BehindTheModel() {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
    }
    ~BehindTheModel() {
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
    }
    BehindTheModel(const BehindTheModel&) = delete;
    BehindTheModel& operator=(const BehindTheModel&) = delete;
};

}  // namespace

void placeOnFarFace(ReferencePicture& picture, const double (&rotation)[16]) {
    // Screen row 2 points at the viewer: the axis most along it, on the side away from the viewer.
    const int depth = axisMostAlong(rotation, 2, -1);
    const int right = axisMostAlong(rotation, 0, depth);
    const int up = 3 - depth - right;
    const double side = entry(rotation, 2, depth) > 0 ? -kFace : kFace;
    const double rightSign = entry(rotation, 0, right) < 0 ? -1.0 : 1.0;
    const double upSign = entry(rotation, 1, up) < 0 ? -1.0 : 1.0;
    const double aspect = static_cast<double>(picture.width) / std::max(1, picture.height);
    const double halfWidth = aspect >= 1.0 ? kFace : kFace * aspect;
    const double halfHeight = aspect >= 1.0 ? kFace / aspect : kFace;
    constexpr double kAlong[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int corner = 0; corner < 4; ++corner) {
        double* point = picture.corners[corner];
        point[depth] = side;
        point[right] = rightSign * kAlong[corner][0] * halfWidth;
        point[up] = upSign * kAlong[corner][1] * halfHeight;
    }
}

void drawReferencePicture(ReferenceTexture& texture, const ReferencePicture& picture, float opacity) {
    if (texture.name == 0) glGenTextures(1, &texture.name);
    glBindTexture(GL_TEXTURE_2D, texture.name);
    if (texture.serial != picture.serial) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);  // a large picture seen small
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, picture.width, picture.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     picture.rgba.data());
        texture.serial = picture.serial;
    }
    const BehindTheModel blend;
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, opacity);
    // The first row of the pixels is the picture's top.
    constexpr float kTexture[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    glBegin(GL_QUADS);
    for (int corner = 0; corner < 4; ++corner) {
        glTexCoord2fv(kTexture[corner]);
        glVertex3dv(picture.corners[corner]);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void drawFloorGrid() {
    const BehindTheModel blend;
    glColor4f(0.9f, 0.9f, 0.9f, 0.35f);
    glBegin(GL_LINES);
    for (int line = 0; line <= 10; ++line) {
        const double at = -kFace + 10.0 * line;
        glVertex3d(at, -kFace, -kFace);
        glVertex3d(at, -kFace, kFace);
        glVertex3d(-kFace, -kFace, at);
        glVertex3d(kFace, -kFace, at);
    }
    // The box's other edges: the four of the top face and the four upright ones.
    const double sides[2] = {-kFace, kFace};
    for (double a : sides) {
        glVertex3d(a, kFace, -kFace);
        glVertex3d(a, kFace, kFace);
        glVertex3d(-kFace, kFace, a);
        glVertex3d(kFace, kFace, a);
        for (double b : sides) {
            glVertex3d(a, -kFace, b);
            glVertex3d(a, kFace, b);
        }
    }
    glEnd();
}

void releaseReferenceTexture(ReferenceTexture& texture) {
    if (texture.name != 0) glDeleteTextures(1, &texture.name);
    texture = {};
}

}  // namespace cubrik
