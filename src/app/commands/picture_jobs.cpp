#include "app/commands/picture_jobs.h"

#include <cstdint>
#include <vector>

#include "formats/image/png_image.h"

namespace cubrik {
namespace {

// The PNG writer takes the image export's layout: blue, green, red, alpha, rows bottom to top.
std::vector<std::uint8_t> bgraBottomUp(const Picture& picture) {
    std::vector<std::uint8_t> out(picture.rgba.size());
    const std::size_t row = static_cast<std::size_t>(picture.width) * 4;
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* from = picture.rgba.data() + static_cast<std::size_t>(y) * row;
        std::uint8_t* to = out.data() + static_cast<std::size_t>(picture.height - 1 - y) * row;
        for (std::size_t x = 0; x < row; x += 4) {
            to[x] = from[x + 2];
            to[x + 1] = from[x + 1];
            to[x + 2] = from[x];
            to[x + 3] = from[x + 3];
        }
    }
    return out;
}

}  // namespace

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
    return writePng(path, picture.width, picture.height, bgraBottomUp(picture), reason) != 0;
}

void TurntableJob::run() {
    std::string reason;
    const auto progress = [this](int framesDone, int frames) { setProgress(static_cast<double>(framesDone) / frames); };
    if (exportTurntable(*model_, settings_, path_, progress, cancelFlag(), reason) == TurntableOutcome::Failed)
        fail(reason);
}

}  // namespace cubrik
