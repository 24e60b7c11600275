#include "trace/light_paths.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "trace/grid_traversal.h"

namespace cubrik {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr int kAlwaysBounces = 3;    // Russian roulette only after this many bounces
constexpr int kMaxBounces = 12;
constexpr float kSunIrradiance = 3.0f;          // at normal incidence
constexpr float kSunRadius = 0.04f;             // radians: the disc that softens the shadows
constexpr float kSkyRadiance = 0.25f;           // white sky at the horizon ...
constexpr float kSkyZenithGain = 0.4f;          // ... and this much more overhead
constexpr LinearRgb kFloorAlbedo{0.55f, 0.55f, 0.55f};
constexpr float kSurfaceOffset = 1e-3f;         // secondary rays start this far off the surface

Vec operator*(const Vec& v, float s) { return {v.x * s, v.y * s, v.z * s}; }
Vec operator+(const Vec& a, const Vec& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
float dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec cross(const Vec& a, const Vec& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec normalised(const Vec& v) { return v * (1.0f / std::sqrt(dot(v, v))); }

// Two unit vectors at right angles to unit vector n.
void basisAround(const Vec& n, Vec& u, Vec& v) {
    u = normalised(std::abs(n.x) > 0.5f ? cross(n, {0, 1, 0}) : cross(n, {1, 0, 0}));
    v = cross(n, u);
}

LinearRgb linearOf(std::uint32_t bgr) {
    return {srgbToLinear((bgr & 0xff) / 255.0f), srgbToLinear(((bgr >> 8) & 0xff) / 255.0f),
            srgbToLinear(((bgr >> 16) & 0xff) / 255.0f)};
}

LinearRgb skyRadiance(const Lighting& light, const Vec& direction) {
    if (light.sky == TraceSky::Background) return light.background;
    const float s = kSkyRadiance * (1.0f + kSkyZenithGain * std::max(direction.y, 0.0f));
    return {s, s, s};
}

struct SurfaceHit {
    float t;
    Vec normal;
    Vec point;  // just off the surface, where the next rays start
    LinearRgb albedo;
};

bool nearestHit(const TraceScene& scene, const Lighting& light, const Vec& origin, const Vec& direction,
                SurfaceHit& hit) {
    const float o[3] = {origin.x, origin.y, origin.z}, d[3] = {direction.x, direction.y, direction.z};
    const float inverse[3] = {1.0f / d[0], 1.0f / d[1], 1.0f / d[2]};
    float tMax = INFINITY;
    bool onFloor = false;
    if (light.floor && direction.y < 0.0f && origin.y > light.floorY) {
        tMax = (light.floorY - origin.y) * inverse[1];
        onFloor = true;
    }
    GridHit cell;
    if (traceGrid(scene, o, d, inverse, tMax, cell)) {
        float p[3] = {o[0] + d[0] * cell.t, o[1] + d[1] * cell.t, o[2] + d[2] * cell.t};
        p[cell.axis] = cell.face + cell.sign * kSurfaceOffset;
        float n[3] = {0, 0, 0};
        n[cell.axis] = static_cast<float>(cell.sign);
        hit = {cell.t, {n[0], n[1], n[2]}, {p[0], p[1], p[2]}, scene.albedo[cell.code]};
        return true;
    }
    if (!onFloor) return false;
    const Vec p = origin + direction * tMax;
    hit = {tMax, {0, 1, 0}, {p.x, light.floorY + kSurfaceOffset, p.z}, kFloorAlbedo};
    return true;
}

bool occluded(const TraceScene& scene, const Vec& origin, const Vec& direction) {
    const float o[3] = {origin.x, origin.y, origin.z}, d[3] = {direction.x, direction.y, direction.z};
    const float inverse[3] = {1.0f / d[0], 1.0f / d[1], 1.0f / d[2]};
    GridHit cell;
    return traceGrid(scene, o, d, inverse, INFINITY, cell);
}

// A direction towards a point of the sun's disc.
Vec sampleSun(const Lighting& light, SampleStream& random) {
    const float r = kSunRadius * std::sqrt(random.next()), phi = 2.0f * kPi * random.next();
    return normalised(light.toSun + light.sunU * (r * std::cos(phi)) + light.sunV * (r * std::sin(phi)));
}

// A direction about `n`, more of them near it, as a diffuse surface scatters.
Vec sampleCosine(const Vec& n, SampleStream& random) {
    const float r = std::sqrt(random.next()), phi = 2.0f * kPi * random.next();
    Vec u, v;
    basisAround(n, u, v);
    return u * (r * std::cos(phi)) + v * (r * std::sin(phi)) + n * std::sqrt(std::max(0.0f, 1.0f - r * r));
}

// The light arriving along a primary ray that met `hit`; `rays` counts the rays it casts.
LinearRgb radiance(const TraceScene& scene, const Lighting& light, SurfaceHit hit, SampleStream& random,
                   std::uint64_t& rays) {
    LinearRgb sum{0, 0, 0}, weight{1, 1, 1};
    for (int bounce = 0;; ++bounce) {
        weight = {weight.r * hit.albedo.r, weight.g * hit.albedo.g, weight.b * hit.albedo.b};
        const Vec toSun = sampleSun(light, random);
        const float cosine = dot(hit.normal, toSun);
        if (cosine > 0.0f && (++rays, !occluded(scene, hit.point, toSun))) {
            const float s = cosine * kSunIrradiance / kPi;
            sum = {sum.r + weight.r * s, sum.g + weight.g * s, sum.b + weight.b * s};
        }
        if (bounce + 1 >= kMaxBounces) break;
        if (bounce + 1 >= kAlwaysBounces) {
            const float survive = std::clamp(std::max({weight.r, weight.g, weight.b}), 0.05f, 0.95f);
            if (random.next() >= survive) break;
            weight = {weight.r / survive, weight.g / survive, weight.b / survive};
        }
        const Vec direction = sampleCosine(hit.normal, random);
        const Vec origin = hit.point;
        ++rays;
        if (!nearestHit(scene, light, origin, direction, hit)) {
            const LinearRgb sky = skyRadiance(light, direction);
            sum = {sum.r + weight.r * sky.r, sum.g + weight.g * sky.g, sum.b + weight.b * sky.b};
            break;
        }
    }
    return sum;
}

}  // namespace

Lighting makeLighting(const TraceScene& scene, const TraceCamera& camera, const TraceSettings& settings) {
    Lighting light{};
    const double az = settings.sunAzimuth * std::numbers::pi / 180.0, el = settings.sunElevation * std::numbers::pi / 180.0;
    const double eye[3] = {std::sin(az) * std::cos(el), std::sin(el), std::cos(az) * std::cos(el)};
    // The rotation takes model directions to the viewer's; its transpose takes them back.
    const double* r = camera.rotation;
    double model[3];
    for (int i = 0; i < 3; ++i) model[i] = r[i * 4] * eye[0] + r[i * 4 + 1] * eye[1] + r[i * 4 + 2] * eye[2];
    light.toSun = normalised({static_cast<float>(model[0]), static_cast<float>(model[1]), static_cast<float>(model[2])});
    basisAround(light.toSun, light.sunU, light.sunV);
    light.background = linearOf(settings.backgroundColor);
    light.sky = settings.sky;
    light.floor = settings.floor && !scene.empty();
    light.floorY = static_cast<float>(scene.lowestY);
    return light;
}

bool lightAlong(const TraceScene& scene, const Lighting& lighting, const Vec& origin, const Vec& direction,
                SampleStream& random, std::uint64_t& rays, LinearRgb& light) {
    ++rays;
    SurfaceHit hit;
    if (!nearestHit(scene, lighting, origin, direction, hit)) return false;
    light = radiance(scene, lighting, hit, random, rays);
    return true;
}

}  // namespace cubrik
