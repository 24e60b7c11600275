#include "render/camera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/matrix4.h"

namespace cubrik {
namespace {

constexpr double kNear = 213.0;
constexpr double kFar = 389.5;
constexpr double kEyeDistance = 300.0;  // from the eye to the pivot
constexpr double kZoomStepFactor = 1.25;
constexpr double kGridHalf = 50.0;

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

// rotation . v: a model direction in eye coordinates.
Vec3 turned(const double (&m)[16], const double (&v)[3]) {
    return {m[0] * v[0] + m[4] * v[1] + m[8] * v[2], m[1] * v[0] + m[5] * v[1] + m[9] * v[2],
            m[2] * v[0] + m[6] * v[1] + m[10] * v[2]};
}

// The pivot at `start` moved by (right, up) model units along the screen's
// axes, kept inside the grid so that some of it is always in view.
void movePivot(ViewCamera& camera, const double (&start)[3], const double (&rotation)[16], double right, double up) {
    const Vec3 screenRight = rowOf(rotation, 0), screenUp = rowOf(rotation, 1);
    const double moved[3] = {start[0] + right * screenRight.x + up * screenUp.x,
                             start[1] + right * screenRight.y + up * screenUp.y,
                             start[2] + right * screenRight.z + up * screenUp.z};
    for (int axis = 0; axis < 3; ++axis) camera.pivot[axis] = std::clamp(moved[axis], -kGridHalf, kGridHalf);
}

// Whether the eight corners of the box lie inside the view.
bool cornersInView(const ViewCamera& camera, const double (&low)[3], const double (&high)[3],
                   const double (&rotation)[16], int clientWidth, int clientHeight, bool zoomed) {
    double projection[16], m[16];
    viewProjection(clientWidth, clientHeight, zoomed, camera, rotation, projection);
    multiply(projection, rotation, m);
    for (int corner = 0; corner < 8; ++corner) {
        double p[3];
        for (int axis = 0; axis < 3; ++axis) p[axis] = corner & (1 << axis) ? high[axis] : low[axis];
        double clip[4];
        for (int row = 0; row < 4; ++row)
            clip[row] = m[row] * p[0] + m[row + 4] * p[1] + m[row + 8] * p[2] + m[row + 12];
        if (!(clip[3] > 0.0 && std::abs(clip[0]) <= clip[3] && std::abs(clip[1]) <= clip[3])) return false;
    }
    return true;
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

double zoomFactor(int zoomStep) {
    // Repeated products of 1.25 are exact, so every step in is the same number on every machine.
    double factor = 1.0;
    for (int i = 0; i < std::abs(zoomStep); ++i) factor *= kZoomStepFactor;
    return zoomStep < 0 ? 1.0 / factor : factor;
}

void viewProjection(int clientWidth, int clientHeight, bool zoomed, const ViewCamera& camera,
                    const double (&rotation)[16], double (&projection)[16]) {
    const int width = clientWidth - kViewLeft;
    // A view without area draws nothing; any finite matrix will do for it.
    const double aspect = width > 0 && clientHeight > 0 ? static_cast<double>(width) / clientHeight : 1.0;
    const double s = zoomed ? 32.0 : 50.0;
    // The grid centre lies pivotEye.z further from the eye than the pivot does.
    const Vec3 pivotEye = turned(rotation, camera.pivot);
    const double nearPlane = kNear + pivotEye.z, farPlane = kFar + pivotEye.z;
    std::fill(std::begin(projection), std::end(projection), 0.0);
    if (camera.orthographic) {
        // The frustum's half-height 300 units from the eye, where the pivot is.
        const double top = s * kEyeDistance / kNear / zoomFactor(camera.zoomStep);
        projection[0] = 1.0 / (top * aspect);  // 2 / (r - l) with l = -r
        projection[5] = 1.0 / top;
        projection[10] = -2.0 / (farPlane - nearPlane);
        projection[14] = -(farPlane + nearPlane) / (farPlane - nearPlane);
    } else {
        // Moving the near plane keeps the field of view; the zoom narrows it.
        const double scale = nearPlane / kNear / zoomFactor(camera.zoomStep);
        const double right = s * aspect * scale, top = s * scale;
        projection[0] = nearPlane / right;  // 2n / (r - l) with l = -r
        projection[5] = nearPlane / top;
        projection[10] = -(farPlane + nearPlane) / (farPlane - nearPlane);
        projection[11] = -1.0;
        projection[14] = -2.0 * farPlane * nearPlane / (farPlane - nearPlane);
    }
    // Then translate(0, 0, -300) . translate(-rotation . pivot): column 3 becomes
    // the frustum applied to (tx, ty, tz, 1). 0 - v keeps a zero positive.
    const double tx = 0.0 - pivotEye.x, ty = 0.0 - pivotEye.y, tz = -kEyeDistance - pivotEye.z;
    projection[12] = projection[0] * tx;
    projection[13] = projection[5] * ty;
    projection[14] += tz * projection[10];
    projection[15] = camera.orthographic ? 1.0 : -tz;
}

double pivotPlaneUnitsPerPixel(int clientHeight, bool zoomed, int zoomStep) {
    const double s = zoomed ? 32.0 : 50.0;
    return 2.0 * s * kEyeDistance / kNear / zoomFactor(zoomStep) / std::max(1, clientHeight);
}

bool zoomAbout(ViewCamera& camera, const double (&rotation)[16], int clientWidth, int clientHeight, bool zoomed,
               int x, int y, int delta) {
    const int step = std::clamp(camera.zoomStep + (delta > 0 ? 1 : -1), kMinZoomStep, kMaxZoomStep);
    if (delta == 0 || step == camera.zoomStep) return false;
    // The pixel's centre, from the view's centre, y up.
    const double dx = x + 0.5 - (kViewLeft + (clientWidth - kViewLeft) / 2.0);
    const double dy = clientHeight / 2.0 - y - 0.5;
    const double shrink = pivotPlaneUnitsPerPixel(clientHeight, zoomed, camera.zoomStep) -
                          pivotPlaneUnitsPerPixel(clientHeight, zoomed, step);
    const double start[3] = {camera.pivot[0], camera.pivot[1], camera.pivot[2]};
    movePivot(camera, start, rotation, dx * shrink, dy * shrink);
    camera.zoomStep = step;
    return true;
}

void panFrom(ViewCamera& camera, const double (&start)[3], const double (&rotation)[16], int clientHeight,
             bool zoomed, int dx, int dy) {
    const double unit = pivotPlaneUnitsPerPixel(clientHeight, zoomed, camera.zoomStep);
    movePivot(camera, start, rotation, -dx * unit, dy * unit);
}

ViewCamera frameBox(const double (&low)[3], const double (&high)[3], const double (&rotation)[16], int clientWidth,
                    int clientHeight, bool zoomed, bool orthographic) {
    ViewCamera camera;
    camera.orthographic = orthographic;
    for (int axis = 0; axis < 3; ++axis) camera.pivot[axis] = (low[axis] + high[axis]) / 2.0;
    for (camera.zoomStep = kMaxZoomStep; camera.zoomStep > kMinZoomStep; --camera.zoomStep)
        if (cornersInView(camera, low, high, rotation, clientWidth, clientHeight, zoomed)) break;
    return camera;
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
