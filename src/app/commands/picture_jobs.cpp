#include "app/commands/picture_jobs.h"

#include <cstdint>
#include <vector>

#include "formats/image/png_image.h"

namespace cubrik {

void TracedPicture::run() {
    TraceCallbacks callbacks;
    callbacks.passDone = [this](const TraceImage& image, int samplesDone) {
        const std::lock_guard lock(pictureMutex_);
        picture_ = {image.width, image.height, image.rgba};
        samplesDone_ = samplesDone;
    };
    callbacks.progress = [this](double fraction) { setProgress(fraction); };
    TraceImage image;
    if (renderPathTraced(scene_, camera_, settings_, cancelFlag(), callbacks, image)) {
        const std::lock_guard lock(pictureMutex_);
        picture_ = {image.width, image.height, std::move(image.rgba)};
        samplesDone_ = settings_.samples;
        setProgress(1.0);
    }
}

Picture TracedPicture::latest() const {
    const std::lock_guard lock(pictureMutex_);
    return picture_;
}

int TracedPicture::samplesDone() const {
    const std::lock_guard lock(pictureMutex_);
    return samplesDone_;
}

bool TracedPicture::save(const std::string& path, std::string& reason) const {
    const Picture picture = latest();
    return writePng(path, picture.width, picture.height, otherPixelLayout(picture.width, picture.height, picture.rgba), reason) != 0;
}

void TurntableJob::run() {
    std::string reason;
    const auto progress = [this](int framesDone, int frames) { setProgress(static_cast<double>(framesDone) / frames); };
    if (exportTurntable(*model_, settings_, path_, progress, cancelFlag(), reason) == TurntableOutcome::Failed)
        fail(reason);
}

}  // namespace cubrik
