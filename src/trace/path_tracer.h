#pragma once
// The path-traced picture of the view: rays from the view's own camera walk
// the cell grid (no triangle mesh), the cells are diffuse cubes in their
// palette colours, lit by a sky and a sun with soft shadows, with light that
// bounces. Pure CPU: no OpenGL, no Qt.
//
// The work is spread in tiles over every core. Each pixel's random numbers
// come from (seed, pixel, sample) alone, so a seed gives the same picture byte
// for byte whatever the number of threads. Samples arrive in passes, each
// handing over the picture so far, so that a window can show it refine; a
// render can be cancelled between tiles.

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "render/camera.h"
#include "trace/trace_scene.h"

namespace cubrik {

inline constexpr int kMinTraceSamples = 1;
inline constexpr int kMaxTraceSamples = 65536;
inline constexpr int kDefaultTraceSamples = 256;

// The camera of the view whose picture is made: the same numbers the GL view
// takes, so the picture lines up with it pixel for pixel.
struct TraceCamera {
    double rotation[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};  // VoxelModel::rotation
    ViewCamera camera{};  // pivot, zoom step, orthographic
    bool zoomed = false;
    int width = 736;      // the picture, which is the view area: client width - kViewLeft
    int height = 600;     // ... by client height
};

// Where the light that is not the sun's comes from.
enum class TraceSky {
    White,       // a soft white sky, brighter overhead
    Background,  // the background colour, evenly from every direction
};

struct TraceSettings {
    int samples = kDefaultTraceSamples;  // per pixel, kMinTraceSamples..kMaxTraceSamples
    std::uint64_t seed = 1;
    // The sun's direction in the viewer's frame, in degrees: azimuth 0 is
    // behind the viewer, positive to the right; elevation 0 is level with the
    // view's centre, 90 straight up the screen.
    double sunAzimuth = 35.0;
    double sunElevation = 45.0;
    bool floor = false;  // a light grey floor under the lowest cells, catching their shadow
    TraceSky sky = TraceSky::White;
    std::uint32_t backgroundColor = 0xff8080;  // 0x00BBGGRR; what rays that meet nothing show, exactly
    int threads = 0;                           // worker threads; 0: one per core
    bool lowPriority = false;                  // workers yield to the rest of the program (a window's)
};

// The picture so far: 8-bit sRGB red, green, blue, alpha (always 255), rows
// top to bottom.
struct TraceImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
};

struct TraceCallbacks {
    // After each pass, on the calling thread: the picture with `samplesDone`
    // samples per pixel so far.
    std::function<void(const TraceImage& picture, int samplesDone)> passDone;
    // Every tenth of a second or so, on the calling thread: 0..1 of the work done.
    std::function<void(double fraction)> progress;
};

// Renders `scene` as `camera` sees it. Blocks the calling thread, whose
// callbacks it calls, while the workers trace. Returns true with `picture`
// holding the finished render, or false once `cancel` is seen true (then
// `picture` holds the last finished pass, if any).
bool renderPathTraced(const TraceScene& scene, const TraceCamera& camera, const TraceSettings& settings,
                      const std::atomic<bool>& cancel, const TraceCallbacks& callbacks, TraceImage& picture);

}  // namespace cubrik
