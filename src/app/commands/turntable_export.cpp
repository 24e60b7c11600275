#include "app/commands/turntable_export.h"

#include <memory>
#include <vector>

#include "app/state/message.h"
#include "formats/animation/animation_encoder.h"
#include "model/edit_state.h"
#include "render/camera.h"
#include "render/turntable_view.h"

namespace cubrik {
namespace {

constexpr int kMaxSamples = 65536;

// The view of --render for a client area that leaves each frame its size
// beside the tool panel.
ViewInputs turntableViewInputs(ModelStore& store, const EditState& edit, const TurntableSettings& settings) {
    ViewInputs view{store, edit};
    view.smoothDisplay = !settings.flat;
    view.zoomed = settings.zoomed;
    view.camera.orthographic = settings.orthographic;
    view.clientWidth = settings.width + kViewLeft;
    view.clientHeight = settings.height;
    view.backgroundColor = settings.backgroundColor;
    view.cut = settings.cut;
    view.occlusion = settings.occlusion;
    view.cellEdges = settings.cellEdges;
    return view;
}

}  // namespace

std::string turntableSettingsProblem(const TurntableSettings& settings) {
    if (settings.frames < 1 || settings.frames > kMaxTurntableFrames)
        return "a turntable has 1 to " + std::to_string(kMaxTurntableFrames) + " frames, not " +
               std::to_string(settings.frames);
    const int widest = kMaxClientSize - kViewLeft;
    if (settings.width < 1 || settings.height < 1 || settings.width > widest || settings.height > kMaxClientSize)
        return "a turntable's frames are 1 to " + std::to_string(widest) + " pixels wide and 1 to " +
               std::to_string(kMaxClientSize) + " high, not " + std::to_string(settings.width) + " x " +
               std::to_string(settings.height);
    if (settings.pathTraced && (settings.samples < 1 || settings.samples > kMaxSamples))
        return "a path-traced frame takes 1 to " + std::to_string(kMaxSamples) + " samples, not " +
               std::to_string(settings.samples);
    return {};
}

TurntableOutcome exportTurntable(const VoxelModel& model, const TurntableSettings& settings,
                                 const std::string& outputPath, const TurntableProgress& progress,
                                 const std::atomic<bool>& cancel, std::string& reason) {
    const std::optional<AnimationFormat> format = animationFormatOf(outputPath);
    if (!format) {
        reason = outputPath + ": unknown animation type (use " + kAnimationFormatList + ")";
        return TurntableOutcome::Failed;
    }
    if (reason = turntableSettingsProblem(settings); !reason.empty()) return TurntableOutcome::Failed;
    if (settings.pathTraced) {
        reason = "path-traced turntables are not available in this build";
        return TurntableOutcome::Failed;
    }
    ModelStore store;
    if (!resetModel(store)) {
        reason = "out of memory";
        return TurntableOutcome::Failed;
    }
    *store.model = model;
    EditState edit;
    edit.currentMaterial = Material::A;
    edit.alsoShownMaterial = Material::B;
    const ViewInputs view = turntableViewInputs(store, edit, settings);

    TurntableView turntable;
    if (!openTurntableView(turntable, reason)) return TurntableOutcome::Failed;
    const std::unique_ptr<AnimationEncoder> encoder = makeAnimationEncoder(*format);
    if (reason = encoder->begin(outputPath, settings.width, settings.height, kTurntableFramesPerSecond);
        !reason.empty())
        return TurntableOutcome::Failed;
    std::vector<std::uint8_t> rgb(3 * static_cast<std::size_t>(settings.width) * settings.height);
    for (int frame = 0; frame < settings.frames; ++frame) {
        if (cancel.load(std::memory_order_relaxed)) {
            encoder->abandon();
            return TurntableOutcome::Cancelled;
        }
        const double degrees = 360.0 * frame / settings.frames;
        if (!drawTurntableFrame(turntable, view, degrees, rgb.data(), reason)) {
            encoder->abandon();
            return TurntableOutcome::Failed;
        }
        if (reason = encoder->addFrame(rgb.data()); !reason.empty()) return TurntableOutcome::Failed;
        if (progress) progress(frame + 1, settings.frames);
    }
    if (cancel.load(std::memory_order_relaxed)) {
        encoder->abandon();
        return TurntableOutcome::Cancelled;
    }
    if (reason = encoder->finish(); !reason.empty()) return TurntableOutcome::Failed;
    return TurntableOutcome::Written;
}

}  // namespace cubrik
