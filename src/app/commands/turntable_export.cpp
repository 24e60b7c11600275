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

// Both materials shown, as --render shows them.
EditState bothMaterialsShown() {
    EditState edit;
    edit.currentMaterial = Material::A;
    edit.alsoShownMaterial = Material::B;
    return edit;
}

// Draws the frame of the model turned by `degrees` as width x height RGB,
// rows top to bottom. False with `reason`, or false once `cancel` is set.
class FrameSource {
public:
    virtual ~FrameSource() = default;
    virtual bool draw(double degrees, std::uint8_t* rgb, std::string& reason) = 0;
};

// The OpenGL view of --render, in a client area that leaves each frame its
// size beside the tool panel.
class GlFrames final : public FrameSource {
public:
    GlFrames(const VoxelModel& model, const TurntableSettings& settings) : model_(model), settings_(settings) {}

    bool open(std::string& reason) {
        if (!resetModel(store_)) {
            reason = "out of memory";
            return false;
        }
        *store_.model = model_;
        return openTurntableView(turntable_, reason);
    }

    bool draw(double degrees, std::uint8_t* rgb, std::string& reason) override {
        ViewInputs view{store_, edit_};
        view.smoothDisplay = !settings_.flat;
        view.zoomed = settings_.zoomed;
        view.camera.orthographic = settings_.orthographic;
        view.clientWidth = settings_.width + kViewLeft;
        view.clientHeight = settings_.height;
        view.backgroundColor = settings_.backgroundColor;
        view.cut = settings_.cut;
        view.occlusion = settings_.occlusion;
        view.cellEdges = settings_.cellEdges;
        return drawTurntableFrame(turntable_, view, degrees, rgb, reason);
    }

private:
    const VoxelModel& model_;
    const TurntableSettings& settings_;
    ModelStore store_;  // a copy the frames may turn
    const EditState edit_ = bothMaterialsShown();
    TurntableView turntable_;
};

// The path tracer's picture of the same camera, from one snapshot of the cells.
class TracedFrames final : public FrameSource {
public:
    TracedFrames(const VoxelModel& model, const TurntableSettings& settings, const std::atomic<bool>& cancel)
        : scene_(snapshotScene(model, bothMaterialsShown(), settings.cut)), cancel_(cancel) {
        camera_.camera.orthographic = settings.orthographic;
        camera_.zoomed = settings.zoomed;
        camera_.width = settings.width;
        camera_.height = settings.height;
        trace_.samples = settings.samples;
        trace_.seed = settings.seed;
        trace_.sunAzimuth = settings.sunAzimuth;
        trace_.sunElevation = settings.sunElevation;
        trace_.floor = settings.floor;
        trace_.backgroundColor = settings.backgroundColor;
    }

    bool draw(double degrees, std::uint8_t* rgb, std::string&) override {
        rotationMatrix(degrees, 0.0, 1.0, 0.0, camera_.rotation);  // the front view turned
        if (!renderPathTraced(scene_, camera_, trace_, cancel_, {}, picture_)) return false;
        const std::size_t pixels = static_cast<std::size_t>(picture_.width) * picture_.height;
        for (std::size_t i = 0; i < pixels; ++i)
            for (int channel = 0; channel < 3; ++channel) rgb[3 * i + channel] = picture_.rgba[4 * i + channel];
        return true;
    }

private:
    const TraceScene scene_;
    const std::atomic<bool>& cancel_;
    TraceCamera camera_;
    TraceSettings trace_;
    TraceImage picture_;
};

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
    if (settings.pathTraced && (settings.samples < kMinTraceSamples || settings.samples > kMaxTraceSamples))
        return "a path-traced frame takes " + std::to_string(kMinTraceSamples) + " to " +
               std::to_string(kMaxTraceSamples) + " samples, not " + std::to_string(settings.samples);
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
    std::unique_ptr<FrameSource> frames;
    if (settings.pathTraced) {
        frames = std::make_unique<TracedFrames>(model, settings, cancel);
    } else {
        auto gl = std::make_unique<GlFrames>(model, settings);
        if (!gl->open(reason)) return TurntableOutcome::Failed;
        frames = std::move(gl);
    }

    const std::unique_ptr<AnimationEncoder> encoder = makeAnimationEncoder(*format);
    if (reason = encoder->begin(outputPath, settings.width, settings.height, kTurntableFramesPerSecond);
        !reason.empty())
        return TurntableOutcome::Failed;
    // Each frame goes to the encoder as soon as it is drawn; a cancel drops
    // the encoding and with it the temporary file.
    const auto stop = [&encoder, &cancel] {
        encoder->abandon();
        return cancel.load() ? TurntableOutcome::Cancelled : TurntableOutcome::Failed;
    };
    std::vector<std::uint8_t> rgb(3 * static_cast<std::size_t>(settings.width) * settings.height);
    for (int frame = 0; frame < settings.frames; ++frame) {
        if (cancel.load() || !frames->draw(360.0 * frame / settings.frames, rgb.data(), reason)) return stop();
        if (reason = encoder->addFrame(rgb.data()); !reason.empty()) return TurntableOutcome::Failed;
        if (progress) progress(frame + 1, settings.frames);
    }
    if (cancel.load()) return stop();
    if (reason = encoder->finish(); !reason.empty()) return TurntableOutcome::Failed;
    return TurntableOutcome::Written;
}

}  // namespace cubrik
