// The vector Punch variant: every cell projected on the fly in single
// precision, two cells at a time, with nothing stored between calls.
#include "edit/punch_brush.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "edit/punch_lattice.h"

namespace cubrik {
namespace {

// The cells a call removes: the projected centre lies in the box, bounds
// included, and x0 - h <= wx - trunc((wy - y0) * slope) <= x0 + h, the band
// about the line a stroke step moves along.
struct PunchSweep {
    int minX, maxX, minY, maxY;
    int x0, y0;
    float slope;
    int halfWidth;
};

// A stamp lets the box alone decide.
constexpr int kNoBand = INT_MAX / 2;

// Lanes (x, x, y, y) of one clip-space vector, for the cell pairs below.
__m128 pairedXY(const Vector4& v) {
    return _mm_setr_ps(static_cast<float>(v[0]), static_cast<float>(v[0]), static_cast<float>(v[1]),
                       static_cast<float>(v[1]));
}

__m128 pairedW(const Vector4& v) { return _mm_set1_ps(static_cast<float>(v[3])); }

void sweepCells(BrushContext& brush, const PunchSweep& sweep) {
    setBrushRemap(brush, 0);
    const VoxelModel& model = brush.model;
    const CellLattice lattice = cellLattice(model);
    const __m128 originXY = pairedXY(lattice.origin), originW = pairedW(lattice.origin);
    const __m128 stepJXY = pairedXY(lattice.stepJ), stepJW = pairedW(lattice.stepJ);
    const __m128 stepKXY = pairedXY(lattice.stepK), stepKW = pairedW(lattice.stepK);
    // Lanes hold cells i and i + 1; each pair advances by two steps along i.
    const __m128 secondXY = _mm_setr_ps(0.0f, 1.0f, 0.0f, 1.0f);
    const __m128 stepIXY = _mm_mul_ps(pairedXY(lattice.stepI), secondXY);
    const __m128 stepIW = _mm_mul_ps(pairedW(lattice.stepI), secondXY);
    const __m128 pairStepXY = _mm_add_ps(pairedXY(lattice.stepI), pairedXY(lattice.stepI));
    const __m128 pairStepW = _mm_add_ps(pairedW(lattice.stepI), pairedW(lattice.stepI));

    // vw (ndc + 1) / 2 as (vw / 2)(ndc + 1): halving is exact, so the result is the same.
    const __m128 one = _mm_set1_ps(1.0f);
    const float halfViewWidth = 0.5f * static_cast<float>(model.viewport[2]);
    const float halfViewHeight = 0.5f * static_cast<float>(model.viewport[3]);
    const __m128 halfViewSize = _mm_setr_ps(halfViewWidth, halfViewWidth, halfViewHeight, halfViewHeight);
    const __m128 viewOrigin = _mm_setr_ps(static_cast<float>(model.viewport[0]), static_cast<float>(model.viewport[0]),
                                          static_cast<float>(model.viewport[1]), static_cast<float>(model.viewport[1]));
    const __m128i boxLow = _mm_setr_epi32(sweep.minX, sweep.minX, sweep.minY, sweep.minY);
    const __m128i boxHigh = _mm_setr_epi32(sweep.maxX, sweep.maxX, sweep.maxY, sweep.maxY);
    // The band applies to the x lanes only; the y lanes always pass it.
    const int bandLeft = sweep.x0 - sweep.halfWidth, bandRight = sweep.x0 + sweep.halfWidth;
    const __m128i bandLow = _mm_setr_epi32(bandLeft, bandLeft, INT_MIN, INT_MIN);
    const __m128i bandHigh = _mm_setr_epi32(bandRight, bandRight, INT_MAX, INT_MAX);
    const __m128i bandRow = _mm_set1_epi32(sweep.y0);
    const __m128 slope = _mm_set1_ps(sweep.slope);

    const RemapCells remap(brush);
    std::uint8_t* cell = brush.model.cells;
    for (int k = 0; k < kGridSize; ++k)
        for (int j = 0; j < kGridSize; ++j) {
            const __m128 j4 = _mm_set1_ps(static_cast<float>(j)), k4 = _mm_set1_ps(static_cast<float>(k));
            const __m128 rowXY = _mm_add_ps(_mm_add_ps(originXY, _mm_mul_ps(j4, stepJXY)), _mm_mul_ps(k4, stepKXY));
            const __m128 rowW = _mm_add_ps(_mm_add_ps(originW, _mm_mul_ps(j4, stepJW)), _mm_mul_ps(k4, stepKW));
            __m128 clipXY = _mm_add_ps(rowXY, stepIXY), clipW = _mm_add_ps(rowW, stepIW);
            for (int i = 0; i < kGridSize; i += 2, cell += 2) {
                const __m128 ndc = _mm_div_ps(clipXY, clipW);
                const __m128 window = _mm_add_ps(viewOrigin, _mm_mul_ps(halfViewSize, _mm_add_ps(ndc, one)));
                const __m128i pixel = _mm_cvttps_epi32(window);  // wx(i), wx(i+1), wy(i), wy(i+1)
                const __m128i outsideBox = _mm_or_si128(_mm_cmplt_epi32(pixel, boxLow), _mm_cmpgt_epi32(pixel, boxHigh));
                const int outBox = _mm_movemask_ps(_mm_castsi128_ps(outsideBox));
                // Most pairs miss the box; only the others need the band.
                if ((outBox & 0b0101) != 0b0101 || (outBox & 0b1010) != 0b1010) {
                    const __m128i rise = _mm_sub_epi32(_mm_shuffle_epi32(pixel, _MM_SHUFFLE(3, 2, 3, 2)), bandRow);
                    const __m128i offset = _mm_cvttps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(rise), slope));
                    const __m128i along = _mm_sub_epi32(pixel, offset);
                    const __m128i outsideBand = _mm_or_si128(_mm_cmplt_epi32(along, bandLow), _mm_cmpgt_epi32(along, bandHigh));
                    const int out = outBox | _mm_movemask_ps(_mm_castsi128_ps(outsideBand));
                    const int index = static_cast<int>(cell - brush.model.cells);
                    if ((out & 0b0101) == 0) remap(index);
                    if ((out & 0b1010) == 0) remap(index + 1);
                }
                clipXY = _mm_add_ps(clipXY, pairStepXY);
                clipW = _mm_add_ps(clipW, pairStepW);
            }
        }
}

}  // namespace

int punchPrepareSse2(BrushContext& /*brush*/) { return 1; }

int punchStampSse2(BrushContext& brush, int x, int y) {
    const int a = punchHalfSize(brush.model), row = frameBufferRow(brush, y);
    sweepCells(brush, {x - a, x + a, row - a, row + a, x, row, 0.0f, kNoBand});
    return 1;
}

int punchStrokeKernelSse2(BrushContext& brush, int x0, int y0, int x1, int y1, int /*count*/) {
    const int a = punchHalfSize(brush.model);
    const int row0 = frameBufferRow(brush, y0), row1 = frameBufferRow(brush, y1);
    PunchSweep sweep{std::min(x0, x1) - a, std::max(x0, x1) + a, std::min(row0, row1) - a, std::max(row0, row1) + a,
                     x0, row0, 0.0f, 10000};
    if (row0 != row1) {
        const float dx = static_cast<float>(x1 - x0), dy = static_cast<float>(row1 - row0);
        const float radius = brush.model.brushRadiusPx;
        const float spread = std::fabs(dx * radius / dy);
        sweep.slope = dx / dy;
        if (spread <= 10000.0f) sweep.halfWidth = static_cast<int>(spread + radius);
    }
    sweepCells(brush, sweep);
    return 1;
}

}  // namespace cubrik
#endif
