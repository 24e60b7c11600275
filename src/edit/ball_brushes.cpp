#include "edit/ball_brushes.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "edit/centre_plane.h"

namespace cubrik {
namespace {

void setBallRemap(BrushContext& brush, int target) {
    if (target == 0)
        setBrushRemap(brush, 0);
    else
        setFillEmptyRemap(brush, target);
}

// Build falls back to the centre plane so the user can build in empty space;
// Carve has nothing to dig into there.
int ballCentre(const BrushContext& brush, int x, int y, int target) {
    const int picked = pickCell(brush.buffers.currentPick, x, y);
    if (picked >= 0 || target == 0) return picked;
    return unprojectToCentrePlane(brush.model, brush.clientHeight, x, y);
}

struct CellCoords {
    int x, y, z;
};

CellCoords coordsOf(int cell) { return {cell % kGridSize, cell / kGridSize % kGridSize, cell / (kGridSize * kGridSize)}; }

void applyBall(const BrushContext& brush, const RemapCells& remap, int centre) {
    const CellCoords c = coordsOf(centre);
    const int e = brush.model.brushSize;
    for (int z = std::max(c.z - e, 0); z <= std::min(c.z + e, kGridSize - 1); ++z)
        for (int y = std::max(c.y - e, 0); y <= std::min(c.y + e, kGridSize - 1); ++y) {
            const RemapRow row(remap, y, z);
            for (int x = std::max(c.x - e, 0); x <= std::min(c.x + e, kGridSize - 1); ++x) {
                const int dx = x - c.x, dy = y - c.y, dz = z - c.z;
                if (dx * dx + dy * dy + dz * dz < e * e) row(x);
            }
        }
}

}  // namespace

int ballStart(BrushContext& brush, int x, int y, int target) {
    setBallRemap(brush, target);
    const int centre = ballCentre(brush, x, y, target);
    if (centre < 0) return 0;
    applyBall(brush, RemapCells(brush), centre);
    return 1;
}

int ballStrokeKernelScalar(BrushContext& brush, int x0, int y0, int x1, int y1, int target, int count) {
    if (count <= 0) return 1;
    setBallRemap(brush, target);
    const RemapCells remap(brush);
    for (int k = 1; k <= count; ++k) {
        const int centre = ballCentre(brush, strokeSample(x0, x1, k, count), strokeSample(y0, y1, k, count), target);
        if (centre >= 0) applyBall(brush, remap, centre);
    }
    return 1;
}

#if defined(__SSE2__)
int ballStrokeKernelSse2(BrushContext& brush, int x0, int y0, int x1, int y1, int target, int /*count*/) {
    constexpr int kSamples = 12;
    // Lanes without a centre sit far outside every ball; squared distances
    // stay exact in single precision for the small integers involved.
    constexpr float kNowhere = 10000.0f;
    setBallRemap(brush, target);
    alignas(16) float centreX[kSamples], centreY[kSamples], centreZ[kSamples];
    std::fill_n(centreX, kSamples, kNowhere);
    std::fill_n(centreY, kSamples, kNowhere);
    std::fill_n(centreZ, kSamples, kNowhere);
    CellCoords low{kGridSize, kGridSize, kGridSize}, high{-1, -1, -1};
    int kept = 0;
    for (int k = 1; k <= kSamples; ++k) {
        const int centre = ballCentre(brush, strokeSample(x0, x1, k, kSamples), strokeSample(y0, y1, k, kSamples), target);
        if (centre < 0) continue;
        const CellCoords c = coordsOf(centre);
        centreX[kept] = static_cast<float>(c.x);
        centreY[kept] = static_cast<float>(c.y);
        centreZ[kept] = static_cast<float>(c.z);
        low = {std::min(low.x, c.x), std::min(low.y, c.y), std::min(low.z, c.z)};
        high = {std::max(high.x, c.x), std::max(high.y, c.y), std::max(high.z, c.z)};
        ++kept;
    }
    if (kept == 0) return 0;

    const int e = brush.model.brushSize;
    const int groups = (kept + 3) / 4;
    const __m128 radiusSquared = _mm_set1_ps(static_cast<float>(e * e));
    const RemapCells remap(brush);
    for (int z = std::max(low.z - e, 0); z <= std::min(high.z + e, kGridSize - 1); ++z)
        for (int y = std::max(low.y - e, 0); y <= std::min(high.y + e, kGridSize - 1); ++y) {
            __m128 rowDistance[3];
            __m128 rowReaches = _mm_setzero_ps();
            for (int g = 0; g < groups; ++g) {
                const __m128 dy = _mm_sub_ps(_mm_set1_ps(static_cast<float>(y)), _mm_load_ps(centreY + 4 * g));
                const __m128 dz = _mm_sub_ps(_mm_set1_ps(static_cast<float>(z)), _mm_load_ps(centreZ + 4 * g));
                rowDistance[g] = _mm_add_ps(_mm_mul_ps(dy, dy), _mm_mul_ps(dz, dz));
                rowReaches = _mm_or_ps(rowReaches, _mm_cmplt_ps(rowDistance[g], radiusSquared));
            }
            // No ball meets this row: x can only add to the distance.
            if (_mm_movemask_ps(rowReaches) == 0) continue;
            const RemapRow row(remap, y, z);
            for (int x = std::max(low.x - e, 0); x <= std::min(high.x + e, kGridSize - 1); ++x) {
                const __m128 cellX = _mm_set1_ps(static_cast<float>(x));
                __m128 inside = _mm_setzero_ps();
                for (int g = 0; g < groups; ++g) {
                    const __m128 dx = _mm_sub_ps(cellX, _mm_load_ps(centreX + 4 * g));
                    inside = _mm_or_ps(inside, _mm_cmplt_ps(_mm_add_ps(_mm_mul_ps(dx, dx), rowDistance[g]), radiusSquared));
                }
                if (_mm_movemask_ps(inside) != 0) row(x);
            }
        }
    return 1;
}
#endif

}  // namespace cubrik
