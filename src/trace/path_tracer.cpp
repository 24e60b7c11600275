#include "trace/path_tracer.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "trace/light_paths.h"
#include "trace/ray_camera.h"

namespace cubrik {
namespace {

constexpr int kTileSize = 16;
constexpr int kMaxPassSamples = 32;  // later passes double up to this many samples

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
    const RayCamera& camera;
    const TraceSettings& settings;
    const std::atomic<bool>& cancel;
    Accumulator& accumulator;
    std::atomic<std::uint64_t>& rays;
};

void traceTile(const Job& job, int tile, int firstSample, int sampleCount) {
    const int tilesAcross = (job.camera.width + kTileSize - 1) / kTileSize;
    const int x0 = tile % tilesAcross * kTileSize, y0 = tile / tilesAcross * kTileSize;
    const int x1 = std::min(x0 + kTileSize, job.camera.width), y1 = std::min(y0 + kTileSize, job.camera.height);
    std::uint64_t rays = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const std::size_t pixel = static_cast<std::size_t>(y) * job.camera.width + x;
            LinearRgb& sum = job.accumulator.sum[pixel];
            for (int sample = firstSample; sample < firstSample + sampleCount; ++sample) {
                SampleStream random(job.settings.seed, pixel, static_cast<std::uint64_t>(sample));
                float o[3], d[3];
                primaryRay(job.camera, x + random.next(), y + random.next(), o, d);
                LinearRgb value = job.light.background;
                if (lightAlong(job.scene, job.light, {o[0], o[1], o[2]}, {d[0], d[1], d[2]}, random, rays, value))
                    ++job.accumulator.hits[pixel];
                sum = {sum.r + value.r, sum.g + value.g, sum.b + value.b};
            }
        }
    job.rays += rays;
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
    const int tiles = ((job.camera.width + kTileSize - 1) / kTileSize) * ((job.camera.height + kTileSize - 1) / kTileSize);
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
                      const std::atomic<bool>& cancel, const TraceCallbacks& callbacks, TraceImage& picture,
                      TraceStats* stats) {
    const RayCamera rays = makeRayCamera(camera);
    const Lighting light = makeLighting(scene, camera, settings);
    const std::size_t pixels = static_cast<std::size_t>(std::max(0, camera.width)) * std::max(0, camera.height);
    Accumulator accumulator{std::vector<LinearRgb>(pixels, LinearRgb{0, 0, 0}), std::vector<std::uint32_t>(pixels, 0)};
    TraceImage progressive{camera.width, camera.height, std::vector<std::uint8_t>(4 * pixels)};
    const int samples = std::clamp(settings.samples, kMinTraceSamples, kMaxTraceSamples);
    const int threads = settings.threads > 0 ? settings.threads : std::max(1u, std::thread::hardware_concurrency());
    std::atomic<std::uint64_t> raysCast{0};
    const Job job{scene, light, rays, settings, cancel, accumulator, raysCast};
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
    if (stats) stats->rays = raysCast.load();
    return true;
}

}  // namespace cubrik
