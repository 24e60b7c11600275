#include "trace/path_tracer.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <numbers>
#include <thread>

#include "trace/grid_traversal.h"
#include "trace/ray_camera.h"

namespace cubrik {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr int kTileSize = 16;
constexpr int kMaxPassSamples = 32;  // later passes double up to this many samples
constexpr int kAlwaysBounces = 3;    // Russian roulette only after this many bounces
constexpr int kMaxBounces = 12;
constexpr float kSunIrradiance = 3.0f;          // at normal incidence
constexpr float kSunRadius = 0.04f;             // radians: the disc that softens the shadows
constexpr float kSkyRadiance = 0.25f;           // white sky at the horizon ...
constexpr float kSkyZenithGain = 0.4f;          // ... and this much more overhead
constexpr LinearRgb kFloorAlbedo{0.55f, 0.55f, 0.55f};
constexpr float kSurfaceOffset = 1e-3f;         // secondary rays start this far off the surface

// Each pixel's samples draw from their own stream, seeded by (seed, pixel,
// sample), so the order in which threads take tiles cannot matter.
struct Random {
    std::uint64_t state;

    static std::uint64_t mix(std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    Random(std::uint64_t seed, std::uint64_t pixel, std::uint64_t sample)
        : state(mix(mix(seed + 0x9e3779b97f4a7c15ull) ^ (pixel * 0x100000001b3ull + sample))) {}
    float next() {
        state += 0x9e3779b97f4a7c15ull;
        return static_cast<float>(mix(state) >> 40) * (1.0f / 16777216.0f);  // [0, 1)
    }
};

struct Vec {
    float x, y, z;
};

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

// What the tracer needs beyond the scene, worked out once per render.
struct Lighting {
    Vec toSun, sunU, sunV;   // grid frame
    LinearRgb background;    // linear
    TraceSky sky;
    bool floor;
    float floorY;
};

LinearRgb linearOf(std::uint32_t bgr) {
    return {srgbToLinear((bgr & 0xff) / 255.0f), srgbToLinear(((bgr >> 8) & 0xff) / 255.0f),
            srgbToLinear(((bgr >> 16) & 0xff) / 255.0f)};
}

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
Vec sampleSun(const Lighting& light, Random& random) {
    const float r = kSunRadius * std::sqrt(random.next()), phi = 2.0f * kPi * random.next();
    return normalised(light.toSun + light.sunU * (r * std::cos(phi)) + light.sunV * (r * std::sin(phi)));
}

// A direction about `n`, more of them near it, as a diffuse surface scatters.
Vec sampleCosine(const Vec& n, Random& random) {
    const float r = std::sqrt(random.next()), phi = 2.0f * kPi * random.next();
    Vec u, v;
    basisAround(n, u, v);
    return u * (r * std::cos(phi)) + v * (r * std::sin(phi)) + n * std::sqrt(std::max(0.0f, 1.0f - r * r));
}

// The light arriving along a primary ray that met `first`.
LinearRgb radiance(const TraceScene& scene, const Lighting& light, SurfaceHit hit, Random& random) {
    LinearRgb sum{0, 0, 0}, weight{1, 1, 1};
    for (int bounce = 0;; ++bounce) {
        weight = {weight.r * hit.albedo.r, weight.g * hit.albedo.g, weight.b * hit.albedo.b};
        const Vec toSun = sampleSun(light, random);
        const float cosine = dot(hit.normal, toSun);
        if (cosine > 0.0f && !occluded(scene, hit.point, toSun)) {
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
        if (!nearestHit(scene, light, origin, direction, hit)) {
            const LinearRgb sky = skyRadiance(light, direction);
            sum = {sum.r + weight.r * sky.r, sum.g + weight.g * sky.g, sum.b + weight.b * sky.b};
            break;
        }
    }
    return sum;
}

// Linear light to a byte: a soft shoulder instead of a hard clip for the
// brightest faces, then sRGB.
std::uint8_t toByte(float linear) {
    constexpr float kKnee = 0.8f;
    if (linear > kKnee) linear = kKnee + (1.0f - kKnee) * (1.0f - std::exp(-(linear - kKnee) / (1.0f - kKnee)));
    return static_cast<std::uint8_t>(std::lround(linearToSrgb(linear) * 255.0f));
}

struct Accumulator {
    std::vector<LinearRgb> sum;       // per pixel
    std::vector<std::uint32_t> hits;  // primary samples that met a surface
};

struct Job {
    const TraceScene& scene;
    const Lighting& light;
    const RayCamera& rays;
    const TraceSettings& settings;
    const std::atomic<bool>& cancel;
    Accumulator& accumulator;
};

void traceTile(const Job& job, int tile, int firstSample, int sampleCount) {
    const int tilesAcross = (job.rays.width + kTileSize - 1) / kTileSize;
    const int x0 = tile % tilesAcross * kTileSize, y0 = tile / tilesAcross * kTileSize;
    const int x1 = std::min(x0 + kTileSize, job.rays.width), y1 = std::min(y0 + kTileSize, job.rays.height);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const std::size_t pixel = static_cast<std::size_t>(y) * job.rays.width + x;
            LinearRgb& sum = job.accumulator.sum[pixel];
            for (int sample = firstSample; sample < firstSample + sampleCount; ++sample) {
                Random random(job.settings.seed, pixel, static_cast<std::uint64_t>(sample));
                float o[3], d[3];
                primaryRay(job.rays, x + random.next(), y + random.next(), o, d);
                SurfaceHit hit;
                LinearRgb value = job.light.background;
                if (nearestHit(job.scene, job.light, {o[0], o[1], o[2]}, {d[0], d[1], d[2]}, hit)) {
                    value = radiance(job.scene, job.light, hit, random);
                    ++job.accumulator.hits[pixel];
                }
                sum = {sum.r + value.r, sum.g + value.g, sum.b + value.b};
            }
        }
}

void makePicture(const Accumulator& accumulator, const TraceSettings& settings, int samples, TraceImage& picture) {
    const std::uint32_t bg = settings.backgroundColor;
    const float scale = 1.0f / static_cast<float>(samples);
    for (std::size_t pixel = 0; pixel < accumulator.sum.size(); ++pixel) {
        std::uint8_t* out = &picture.rgba[4 * pixel];
        const LinearRgb& sum = accumulator.sum[pixel];
        if (accumulator.hits[pixel] == 0) {
            // Exactly the background's bytes, not a round trip through linear light.
            out[0] = bg & 0xff;
            out[1] = (bg >> 8) & 0xff;
            out[2] = (bg >> 16) & 0xff;
        } else {
            out[0] = toByte(sum.r * scale);
            out[1] = toByte(sum.g * scale);
            out[2] = toByte(sum.b * scale);
        }
        out[3] = 255;
    }
}

void lowerThisThreadsPriority() {
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
}

// One pass of `sampleCount` samples for every pixel, tiles shared out among
// the workers; the calling thread reports progress while they run. Returns
// false when cancelled before every tile was done.
bool runPass(const Job& job, int threadCount, int firstSample, int sampleCount, const TraceCallbacks& callbacks,
             double doneBefore, double passShare) {
    const int tiles = ((job.rays.width + kTileSize - 1) / kTileSize) * ((job.rays.height + kTileSize - 1) / kTileSize);
    std::atomic<int> nextTile{0}, doneTiles{0};
    std::mutex mutex;
    std::condition_variable finished;
    int runningWorkers = threadCount;
    auto work = [&] {
        if (job.settings.lowPriority) lowerThisThreadsPriority();
        for (int tile; !job.cancel.load(std::memory_order_relaxed) && (tile = nextTile++) < tiles;) {
            traceTile(job, tile, firstSample, sampleCount);
            ++doneTiles;
        }
        std::lock_guard lock(mutex);
        if (--runningWorkers == 0) finished.notify_all();
    };
    std::vector<std::jthread> workers;
    workers.reserve(threadCount);
    for (int i = 0; i < threadCount; ++i) workers.emplace_back(work);
    {
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, std::chrono::milliseconds(100), [&] { return runningWorkers == 0; }))
            if (callbacks.progress) {
                lock.unlock();
                callbacks.progress(doneBefore + passShare * doneTiles.load() / tiles);
                lock.lock();
            }
    }
    workers.clear();
    return doneTiles.load() == tiles;
}

}  // namespace

bool renderPathTraced(const TraceScene& scene, const TraceCamera& camera, const TraceSettings& settings,
                      const std::atomic<bool>& cancel, const TraceCallbacks& callbacks, TraceImage& picture) {
    const RayCamera rays = makeRayCamera(camera);
    const Lighting light = makeLighting(scene, camera, settings);
    const std::size_t pixels = static_cast<std::size_t>(std::max(0, camera.width)) * std::max(0, camera.height);
    Accumulator accumulator{std::vector<LinearRgb>(pixels, LinearRgb{0, 0, 0}), std::vector<std::uint32_t>(pixels, 0)};
    TraceImage progressive{camera.width, camera.height, std::vector<std::uint8_t>(4 * pixels)};
    const int samples = std::clamp(settings.samples, kMinTraceSamples, kMaxTraceSamples);
    const int threads = settings.threads > 0 ? settings.threads : std::max(1u, std::thread::hardware_concurrency());
    const Job job{scene, light, rays, settings, cancel, accumulator};
    int done = 0;
    for (int passSamples = 1; done < samples; passSamples = std::min(2 * passSamples, kMaxPassSamples)) {
        const int count = std::min(passSamples, samples - done);
        if (!runPass(job, threads, done, count, callbacks, static_cast<double>(done) / samples,
                     static_cast<double>(count) / samples))
            return false;
        done += count;
        makePicture(accumulator, settings, done, progressive);
        picture = progressive;
        if (callbacks.passDone) callbacks.passDone(picture, done);
    }
    if (callbacks.progress) callbacks.progress(1.0);
    return true;
}

}  // namespace cubrik
