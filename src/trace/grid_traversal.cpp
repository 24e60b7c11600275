#include "trace/grid_traversal.h"

#include <algorithm>
#include <cmath>

namespace cubrik {
namespace {

constexpr float kInfinity = INFINITY;

int smallestAxis(const float (&t)[3]) {
    return t[0] < t[1] ? (t[0] < t[2] ? 0 : 2) : (t[1] < t[2] ? 1 : 2);
}

// Clips the ray to the box; `entryAxis` is the axis of the face it comes in
// through, or -1 when it starts inside.
bool clipToBox(const float (&origin)[3], const float (&inverse)[3], const float (&low)[3], const float (&high)[3],
               float& tNear, float& tFar, int& entryAxis) {
    entryAxis = -1;
    for (int axis = 0; axis < 3; ++axis) {
        if (std::isinf(inverse[axis])) {
            if (origin[axis] < low[axis] || origin[axis] > high[axis]) return false;
            continue;
        }
        float t0 = (low[axis] - origin[axis]) * inverse[axis];
        float t1 = (high[axis] - origin[axis]) * inverse[axis];
        if (t0 > t1) std::swap(t0, t1);
        if (t0 > tNear) {
            tNear = t0;
            entryAxis = axis;
        }
        tFar = std::min(tFar, t1);
    }
    return tNear <= tFar;
}

struct Walk {
    int cell[3];
    int step[3];
    float tNext[3];
    float tDelta[3];
};

// Starts a DDA walk over cells of `size` units at distance tStart, the cell
// clamped into lowCell..highCell.
Walk startWalk(const float (&origin)[3], const float (&direction)[3], const float (&inverse)[3], float tStart,
               int size, const int (&lowCell)[3], const int (&highCell)[3]) {
    Walk walk;
    for (int axis = 0; axis < 3; ++axis) {
        const float p = origin[axis] + direction[axis] * tStart;
        walk.cell[axis] = std::clamp(static_cast<int>(std::floor(p / size)), lowCell[axis], highCell[axis]);
        walk.step[axis] = direction[axis] < 0.0f ? -1 : 1;
        if (std::isinf(inverse[axis])) {
            walk.tNext[axis] = kInfinity;
            walk.tDelta[axis] = kInfinity;
        } else {
            const int boundary = (walk.cell[axis] + (walk.step[axis] > 0 ? 1 : 0)) * size;
            walk.tNext[axis] = (static_cast<float>(boundary) - origin[axis]) * inverse[axis];
            walk.tDelta[axis] = static_cast<float>(size) * std::abs(inverse[axis]);
        }
    }
    return walk;
}

}  // namespace

bool traceGrid(const TraceScene& scene, const float (&origin)[3], const float (&direction)[3],
               const float (&inverse)[3], float tMax, GridHit& hit) {
    if (scene.empty()) return false;
    float tNear = 0.0f, tFar = tMax;
    int axis = -1;
    if (!clipToBox(origin, inverse, scene.boxLow, scene.boxHigh, tNear, tFar, axis)) return false;
    constexpr int kFirstBrick[3] = {0, 0, 0}, kLastBrick[3] = {kBrickCount - 1, kBrickCount - 1, kBrickCount - 1};
    Walk bricks = startWalk(origin, direction, inverse, tNear, kBrickSize, kFirstBrick, kLastBrick);
    float tEnter = tNear;
    for (;;) {
        const int* b = bricks.cell;
        const int nextBrickAxis = smallestAxis(bricks.tNext);
        const float tLeave = std::min(bricks.tNext[nextBrickAxis], tFar);
        if (scene.bricks[(b[2] * kBrickCount + b[1]) * kBrickCount + b[0]]) {
            const int low[3] = {b[0] * kBrickSize, b[1] * kBrickSize, b[2] * kBrickSize};
            const int high[3] = {low[0] + kBrickSize - 1, low[1] + kBrickSize - 1, low[2] + kBrickSize - 1};
            Walk cells = startWalk(origin, direction, inverse, tEnter, 1, low, high);
            float tCell = tEnter;
            int cellAxis = axis;
            for (;;) {
                const int* c = cells.cell;
                const std::uint8_t code = scene.cells[c[0] + kGridSize * c[1] + kGridSize * kGridSize * c[2]];
                if (code != kEmpty && cellAxis >= 0) {
                    hit.t = tCell;
                    hit.axis = cellAxis;
                    hit.sign = -cells.step[cellAxis];
                    hit.face = static_cast<float>(c[cellAxis] + (cells.step[cellAxis] > 0 ? 0 : 1));
                    hit.code = code;
                    return true;
                }
                cellAxis = smallestAxis(cells.tNext);
                tCell = cells.tNext[cellAxis];
                if (tCell > tLeave) break;
                cells.cell[cellAxis] += cells.step[cellAxis];
                if (cells.cell[cellAxis] < low[cellAxis] || cells.cell[cellAxis] > high[cellAxis]) break;
                cells.tNext[cellAxis] += cells.tDelta[cellAxis];
            }
        }
        axis = nextBrickAxis;
        tEnter = bricks.tNext[axis];
        if (tEnter > tFar) return false;
        bricks.cell[axis] += bricks.step[axis];
        if (bricks.cell[axis] < 0 || bricks.cell[axis] >= kBrickCount) return false;
        bricks.tNext[axis] += bricks.tDelta[axis];
    }
}

}  // namespace cubrik
