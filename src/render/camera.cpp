#include "render/camera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/matrix4.h"

namespace cubrik {
namespace {

constexpr double kNear = 213.0;
constexpr double kFar = 389.5;
constexpr double kEyeDistance = 300.0;  // from the eye to the centre of the grid

struct Vec3 {
    double x, y, z;
};

Vec3 rowOf(const double (&m)[16], int row) { return {m[row], m[row + 4], m[row + 8]}; }

void setRow(double (&m)[16], int row, const Vec3& v) {
    m[row] = v.x;
    m[row + 4] = v.y;
    m[row + 8] = v.z;
}

Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 normalisedOrAsIs(const Vec3& v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0) return v;
    return {v.x / length, v.y / length, v.z / length};
}

// Both trackball axes are scaled by the window height, so 100 view units are
// the height of the view in either direction.
bool toViewUnits(int x, int y, int clientWidth, int clientHeight, double& u, double& v) {
    if (x > clientWidth || y < 0 || y > clientHeight || clientHeight <= 0) return false;
    u = (static_cast<double>(x - kViewLeft) / clientHeight - 0.5) * 100.0;
    v = (static_cast<double>(y) / clientHeight - 0.5) * 100.0;
    return true;
}

// Rows 0..2 of the preset rotations.
constexpr double kPresets[6][3][3] = {
    {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},    // front: the +z side faces the viewer
    {{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}},  // back
    {{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}},   // left: the -x side
    {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}},   // right
    {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}},   // top: the +y side, -z up
    {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}},   // bottom
};

}  // namespace

void viewProjection(int clientWidth, int clientHeight, bool zoomed, double (&projection)[16]) {
    const int width = clientWidth - kViewLeft;
    // A view without area draws nothing; any finite matrix will do for it.
    const double aspect = width > 0 && clientHeight > 0 ? static_cast<double>(width) / clientHeight : 1.0;
    const double s = zoomed ? 32.0 : 50.0;
    const double right = s * aspect, top = s;
    std::fill(std::begin(projection), std::end(projection), 0.0);
    projection[0] = kNear / right;  // 2n / (r - l) with l = -r
    projection[5] = kNear / top;
    projection[10] = -(kFar + kNear) / (kFar - kNear);
    projection[11] = -1.0;
    projection[14] = -2.0 * kFar * kNear / (kFar - kNear);
    // Then the translation by (0, 0, -300): column 3 becomes -300 column 2 + column 3.
    projection[14] += -kEyeDistance * projection[10];
    projection[15] = kEyeDistance;
}

void rotationMatrix(double degrees, double x, double y, double z, double (&out)[16]) {
    setIdentity(out);
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0) return;
    x /= length;
    y /= length;
    z /= length;
    const double radians = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(radians), s = std::sin(radians), t = 1.0 - c;
    setRow(out, 0, {x * x * t + c, x * y * t - z * s, x * z * t + y * s});
    setRow(out, 1, {y * x * t + z * s, y * y * t + c, y * z * t - x * s});
    setRow(out, 2, {x * z * t - y * s, y * z * t + x * s, z * z * t + c});
}

int beginRotation(VoxelModel& model, int x, int y, int clientWidth, int clientHeight, bool shiftDown) {
    double u = 0.0, v = 0.0;
    if (!toViewUnits(x, y, clientWidth, clientHeight, u, v)) return 0;
    model.dragStartX = u;
    model.dragStartY = v;
    std::copy(std::begin(model.rotation), std::end(model.rotation), model.dragStartRotation);
    model.rollOnly = shiftDown ? 1 : 0;
    return 1;
}

int rotateTo(VoxelModel& model, int x, int y, int clientWidth, int clientHeight) {
    double u = 0.0, v = 0.0;
    if (!toViewUnits(x, y, clientWidth, clientHeight, u, v)) return 0;
    const double dx = u - model.dragStartX, dy = v - model.dragStartY;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d == 0.0) {
        // Computed from the drag start every time, so coming back restores it exactly.
        std::copy(std::begin(model.dragStartRotation), std::end(model.dragStartRotation), model.rotation);
        return 1;
    }
    double turn[16];
    if (model.rollOnly) rotationMatrix(kDegreesPerViewUnit * dx, 0.0, 0.0, 1.0, turn);
    else rotationMatrix(kDegreesPerViewUnit * d, dy / d, dx / d, 0.0, turn);
    // The turn comes after the start orientation, so its axes stay fixed to the screen.
    multiply(turn, model.dragStartRotation, model.rotation);
    return 1;
}

void endRotation(VoxelModel& model) {
    const Vec3 r0 = normalisedOrAsIs(rowOf(model.rotation, 0));
    const Vec3 r1 = normalisedOrAsIs(cross(rowOf(model.rotation, 2), r0));
    const Vec3 r2 = normalisedOrAsIs(cross(r0, r1));
    setRow(model.rotation, 0, r0);
    setRow(model.rotation, 1, r1);
    setRow(model.rotation, 2, r2);
}

void snapView(VoxelModel& model) {
    setIdentity(model.projection);
    setIdentity(model.dragStartRotation);
    const double* m = model.rotation;
    // Row 0: the column of largest magnitude; the lower column wins a tie.
    int c0 = 0;
    for (int c = 1; c < 3; ++c)
        if (std::abs(m[c * 4]) > std::abs(m[c0 * 4])) c0 = c;
    // Row 1: the larger of the two other columns; a tie goes to the column after c0.
    const int first = (c0 + 1) % 3, second = (c0 + 2) % 3;
    const int c1 = std::abs(m[second * 4 + 1]) > std::abs(m[first * 4 + 1]) ? second : first;
    double r0[3] = {0, 0, 0}, r1[3] = {0, 0, 0};
    r0[c0] = m[c0 * 4] > 0.0 ? 1.0 : -1.0;
    r1[c1] = m[c1 * 4 + 1] > 0.0 ? 1.0 : -1.0;
    const Vec3 row0{r0[0], r0[1], r0[2]}, row1{r1[0], r1[1], r1[2]};
    setIdentity(model.rotation);
    setRow(model.rotation, 0, row0);
    setRow(model.rotation, 1, row1);
    setRow(model.rotation, 2, cross(row0, row1));  // a proper rotation
}

void presetView(VoxelModel& model, int n) {
    if (n < 0 || n > 5) n = kFrontView;
    setIdentity(model.projection);
    setIdentity(model.dragStartRotation);
    setIdentity(model.rotation);
    for (int row = 0; row < 3; ++row)
        setRow(model.rotation, row, {kPresets[n][row][0], kPresets[n][row][1], kPresets[n][row][2]});
}

}  // namespace cubrik
