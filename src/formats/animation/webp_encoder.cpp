// Animated WebP through libwebp's animation encoder, lossy at high quality:
// it works out per frame what changed, so the still background costs little.

#include <webp/encode.h>
#include <webp/mux.h>

#include <cmath>

#include "formats/animation/animation_encoders.h"

namespace cubrik {
namespace {

constexpr float kQuality = 90.0f;

class WebPEncoder final : public AnimationEncoder {
public:
    ~WebPEncoder() override { release(); }

    std::string begin(const std::string& path, int width, int height, int framesPerSecond) override {
        release();
        if (width < 1 || height < 1 || width > WEBP_MAX_DIMENSION || height > WEBP_MAX_DIMENSION)
            return "a WebP is 1 to " + std::to_string(WEBP_MAX_DIMENSION) + " pixels each way, not " +
                   std::to_string(width) + " x " + std::to_string(height);
        WebPAnimEncoderOptions options;
        if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config_))
            return "WebP: the library does not match its headers";
        options.anim_params.loop_count = 0;  // for ever
        config_.quality = kQuality;
        if (std::string error = openAnimationFile(file_, path); !error.empty()) return error;
        encoder_ = WebPAnimEncoderNew(width, height, &options);
        if (encoder_ == nullptr) {
            abandon();
            return "out of memory for the WebP encoder";
        }
        width_ = width;
        height_ = height;
        framesPerSecond_ = framesPerSecond;
        nextFrame_ = 0;
        return {};
    }

    std::string addFrame(const std::uint8_t* rgb) override {
        WebPPicture picture;
        if (!WebPPictureInit(&picture)) return "WebP: the library does not match its headers";
        picture.use_argb = 1;
        picture.width = width_;
        picture.height = height_;
        const bool added = WebPPictureImportRGB(&picture, rgb, 3 * width_) &&
                           WebPAnimEncoderAdd(encoder_, &picture, millisecondsOf(nextFrame_++), &config_);
        WebPPictureFree(&picture);
        if (added) return {};
        std::string error = std::string("WebP: ") + WebPAnimEncoderGetError(encoder_);
        abandon();
        return error;
    }

    std::string finish() override {
        WebPData data;
        WebPDataInit(&data);
        const bool assembled = WebPAnimEncoderAdd(encoder_, nullptr, millisecondsOf(nextFrame_), nullptr) &&
                               WebPAnimEncoderAssemble(encoder_, &data);
        std::string error = assembled ? std::string() : std::string("WebP: ") + WebPAnimEncoderGetError(encoder_);
        if (assembled)
            error = commitAnimationFile(file_, {reinterpret_cast<const char*>(data.bytes), data.size});
        WebPDataClear(&data);
        if (!error.empty()) abandon();
        release();
        return error;
    }

    void abandon() override {
        release();
        if (file_) file_->abandon();
        file_.reset();
    }

private:
    int millisecondsOf(int frame) const { return static_cast<int>(std::lround(1000.0 * frame / framesPerSecond_)); }

    void release() {
        if (encoder_ != nullptr) WebPAnimEncoderDelete(encoder_);
        encoder_ = nullptr;
    }

    int width_ = 0, height_ = 0, framesPerSecond_ = 30, nextFrame_ = 0;
    WebPConfig config_{};
    WebPAnimEncoder* encoder_ = nullptr;
    std::unique_ptr<AtomicFileWriter> file_;
};

}  // namespace

std::unique_ptr<AnimationEncoder> makeWebPEncoder() { return std::make_unique<WebPEncoder>(); }

}  // namespace cubrik
