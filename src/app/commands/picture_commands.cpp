#include "app/commands/picture_commands.h"

#include <algorithm>
#include <memory>

#include "app/commands/document_commands.h"
#include "app/commands/picture_jobs.h"
#include "formats/animation/animation_encoder.h"
#include "io/path_names.h"
#include "render/camera.h"

namespace cubrik {
namespace {

int clampSide(int side) { return std::clamp(side, 1, kMaxPictureSide); }
int clampSamples(int samples) { return std::clamp(samples, kMinTraceSamples, kMaxTraceSamples); }

}  // namespace

void renderPicture(App& app) {
    endGestures(app);
    const PictureTexts& text = pictureTexts(app.language);
    const TraceSettings defaults;
    const PictureOptions initial{std::max(app.window.clientWidth - kViewLeft, 1), std::max(app.window.clientHeight, 1),
                                 defaults.samples, defaults.sunAzimuth, defaults.sunElevation, defaults.floor};
    const std::optional<PictureOptions> chosen = app.platform.askPictureOptions(text, initial);
    if (!chosen) return;

    TraceCamera camera;
    std::copy(std::begin(app.model().rotation), std::end(app.model().rotation), camera.rotation);
    camera.camera = app.view.camera;
    camera.zoomed = app.toggles.zoomed != 0;
    camera.width = clampSide(chosen->width);
    camera.height = clampSide(chosen->height);
    TraceSettings settings;
    settings.samples = clampSamples(chosen->samples);
    settings.sunAzimuth = chosen->sunAzimuth;
    settings.sunElevation = chosen->sunElevation;
    settings.floor = chosen->floor;
    settings.backgroundColor = static_cast<std::uint32_t>(app.settings.backgroundColor);
    settings.lowPriority = true;
    auto job = std::make_shared<TracedPicture>(snapshotScene(app.model(), app.edit, app.view.cut), camera, settings);

    const UiStrings& strings = app.strings();
    const FileDialogRequest save{text.saveTitle, {strings.imageFilters.front()}, app.document.lastFolder,
                                 app.document.title, "png"};
    app.platform.showPictureWindow(std::move(job), fillIn(text.windowTitle, app.document.title), text, save);
}

void exportTurntableOfView(App& app) {
    const PictureTexts& text = pictureTexts(app.language);
    const std::optional<std::string> path = askForFile(
        app, true, {text.turntableTitle, text.turntableFilters, app.document.lastFolder, app.document.title, "gif"});
    if (!path) return;
    if (!animationFormatOf(*path)) {
        reportFailure(app, fillIn(text.unknownTurntableType, *path), "");
        return;
    }
    app.document.lastFolder = folderOf(*path);
    const TurntableSettings defaults;
    const std::optional<TurntableOptions> chosen = app.platform.askTurntableOptions(
        text, {defaults.frames, defaults.width, defaults.height, defaults.pathTraced, defaults.samples});
    if (!chosen) return;

    TurntableSettings settings;
    settings.frames = std::clamp(chosen->frames, 1, kMaxTurntableFrames);
    settings.width = clampSide(chosen->width);
    settings.height = clampSide(chosen->height);
    settings.backgroundColor = static_cast<std::uint32_t>(app.settings.backgroundColor);
    settings.flat = app.toggles.smoothDisplay == 0;
    settings.zoomed = app.toggles.zoomed != 0;
    settings.orthographic = app.view.camera.orthographic;
    settings.occlusion = app.view.occlusion;
    settings.cellEdges = app.view.cellEdges;
    settings.cut = app.view.cut;
    settings.pathTraced = chosen->pathTraced;
    settings.samples = clampSamples(chosen->samples);
    auto job = std::make_shared<TurntableJob>(std::make_unique<const VoxelModel>(app.model()), settings, *path);
    app.platform.runWithProgress(std::move(job), text.writingTurntable, text,
                                 fillIn(app.strings().cannotExport, *path));
}

}  // namespace cubrik
