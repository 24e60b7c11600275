#pragma once
// A turntable: the model turning one full circle about the vertical axis
// through the grid's centre, written as a GIF, MP4 or WebP animation. Frame 0
// is the front view, frame k the model turned by 360 k / frames degrees. The
// command line runs it on its own thread; the window runs it on a worker
// thread, from a copy of the model, with a progress bar and Cancel.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "model/cut_away.h"
#include "model/voxel_model.h"
#include "render/view_inputs.h"
#include "trace/path_tracer.h"

namespace cubrik {

inline constexpr int kDefaultTurntableFrames = 36;
inline constexpr int kMaxTurntableFrames = 3600;
inline constexpr int kTurntableFramesPerSecond = 30;

struct TurntableSettings {
    int frames = kDefaultTurntableFrames;  // 1..kMaxTurntableFrames
    int width = 400;   // each frame's pixels (the view's, without the tool panel)
    int height = 400;  // MP4 wants both even
    std::uint32_t backgroundColor = kDefaultBackgroundColor;  // 0x00BBGGRR
    // The OpenGL view's looks, as --render and View take them:
    bool flat = false;          // cubes instead of the smoothed surface
    bool zoomed = false;
    bool orthographic = false;
    bool occlusion = false;
    bool cellEdges = false;
    CutAway cut{};
    // Path-traced frames instead of the OpenGL view's, lit as --render
    // --path-traced lights its picture (the sun keeps its place beside the
    // viewer, so the model turns under a fixed light). Of the looks above only
    // the background, the zoom, the projection and the cut-away apply.
    bool pathTraced = false;
    int samples = kDefaultTraceSamples;  // per pixel
    std::uint64_t seed = TraceSettings{}.seed;
    double sunAzimuth = TraceSettings{}.sunAzimuth;
    double sunElevation = TraceSettings{}.sunElevation;
    bool floor = false;
};

// What is wrong with `settings` (frames, size or samples out of range), or
// an empty string.
std::string turntableSettingsProblem(const TurntableSettings& settings);

enum class TurntableOutcome { Written, Cancelled, Failed };

// Called after each frame is encoded, with the frames done so far (1..frames)
// and the total, on the thread that runs the turntable.
using TurntableProgress = std::function<void(int framesDone, int frames)>;

// Renders the turntable of `model` (only read, never changed; the caller keeps
// it alive and unchanged for the call, e.g. a copy taken when the export
// began) with `settings` and writes it to `outputPath`, whose extension
// chooses the format. Makes its own headless OpenGL context (or path traces)
// on the calling thread, uploads the model once and draws every frame from
// it. `cancel` is read between frames (and within a path-traced frame): once
// set, the encoding is dropped and Cancelled returned, with no file left.
// Failed comes with `reason` (turntableSettingsProblem's among others); the
// target is then untouched too.
TurntableOutcome exportTurntable(const VoxelModel& model, const TurntableSettings& settings,
                                 const std::string& outputPath, const TurntableProgress& progress,
                                 const std::atomic<bool>& cancel, std::string& reason);

}  // namespace cubrik
