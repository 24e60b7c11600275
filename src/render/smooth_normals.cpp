#include "render/smooth_normals.h"

#include "render/smooth_geometry.h"

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace cubrik {
namespace {

void fillScalar(const float* vertices, float* normals, int first, int end) {
    for (int quad = first; quad < end; ++quad) {
        const float* v = vertices + quad * kFloatsPerQuad;
        float normal[3];
        smoothedNormal(v, v + 3, v + 6, v + 9, normal);
        float* out = normals + quad * kFloatsPerQuad;
        for (int i = 0; i < kFloatsPerQuad; ++i) out[i] = normal[i % 3];
    }
}

#if defined(__SSE2__)
// Returns the number of quads done, a multiple of four.
int fillSse2(const float* vertices, float* normals, int count) {
    int quad = 0;
    for (; quad + 4 <= count; quad += 4) {
        __m128 a[4], b[4];
        for (int i = 0; i < 4; ++i) {
            const float* v = vertices + (quad + i) * kFloatsPerQuad;
            a[i] = _mm_sub_ps(_mm_loadu_ps(v + 6), _mm_loadu_ps(v));      // p2 - p0 in lanes 0..2
            b[i] = _mm_sub_ps(_mm_loadu_ps(v + 8), _mm_loadu_ps(v + 2));  // p3 - p1 in lanes 1..3
        }
        _MM_TRANSPOSE4_PS(a[0], a[1], a[2], a[3]);  // a[0] = ax of the four quads, a[1] = ay, a[2] = az
        _MM_TRANSPOSE4_PS(b[0], b[1], b[2], b[3]);  // b[1] = bx, b[2] = by, b[3] = bz
        const __m128 nx = _mm_sub_ps(_mm_mul_ps(a[1], b[3]), _mm_mul_ps(a[2], b[2]));
        const __m128 ny = _mm_sub_ps(_mm_mul_ps(a[2], b[1]), _mm_mul_ps(a[0], b[3]));
        const __m128 nz = _mm_sub_ps(_mm_mul_ps(a[0], b[2]), _mm_mul_ps(a[1], b[1]));
        const __m128 length = _mm_sqrt_ps(
            _mm_add_ps(_mm_add_ps(_mm_mul_ps(nx, nx), _mm_mul_ps(ny, ny)), _mm_mul_ps(nz, nz)));
        __m128 n[4] = {_mm_div_ps(nx, length), _mm_div_ps(ny, length), _mm_div_ps(nz, length), _mm_setzero_ps()};
        _MM_TRANSPOSE4_PS(n[0], n[1], n[2], n[3]);  // n[i] = (x, y, z, 0) of quad + i
        for (int i = 0; i < 4; ++i) {
            float* out = normals + (quad + i) * kFloatsPerQuad;
            _mm_storeu_ps(out, _mm_shuffle_ps(n[i], n[i], _MM_SHUFFLE(0, 2, 1, 0)));      // x y z x
            _mm_storeu_ps(out + 4, _mm_shuffle_ps(n[i], n[i], _MM_SHUFFLE(1, 0, 2, 1)));  // y z x y
            _mm_storeu_ps(out + 8, _mm_shuffle_ps(n[i], n[i], _MM_SHUFFLE(2, 1, 0, 2)));  // z x y z
        }
    }
    return quad;
}
#endif

}  // namespace

void fillSmoothNormals(QuadBatch& batch, KernelVariant variant) {
    int done = 0;
#if defined(__SSE2__)
    if (variant == KernelVariant::Sse2) done = fillSse2(batch.vertices, batch.normals, batch.count);
#endif
    (void)variant;
    fillScalar(batch.vertices, batch.normals, done, batch.count);
}

}  // namespace cubrik
