// GIF: every frame kept until the end, so that one palette can be made from
// the colours of all of them (a palette per frame would flicker as the model
// turns), then each frame remapped to it with dithering.

#include <gif_lib.h>
#include <libimagequant.h>

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "formats/animation/animation_encoders.h"

namespace cubrik {
namespace {

// Of libimagequant's 1 (slowest) to 10: on the penguin's turntable speed 3
// gives frames within 0.2 % RMS of these for twice the time.
constexpr int kQuantizerSpeed = 8;

struct LiqAttr {
    liq_attr* attr = liq_attr_create();
    ~LiqAttr() { if (attr) liq_attr_destroy(attr); }
};
struct LiqHistogram {
    liq_histogram* histogram;
    ~LiqHistogram() { if (histogram) liq_histogram_destroy(histogram); }
};
struct LiqImage {
    liq_image* image;
    ~LiqImage() { if (image) liq_image_destroy(image); }
};
struct LiqResult {
    liq_result* result = nullptr;
    ~LiqResult() { if (result) liq_result_destroy(result); }
};

// giflib's writer; nothing may be thrown through its C frames, so a failed
// append is a short write, which giflib reports as a write error.
int appendToString(GifFileType* gif, const GifByteType* bytes, int count) {
    try {
        static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), count);
        return count;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

class GifEncoder final : public AnimationEncoder {
public:
    std::string begin(const std::string& path, int width, int height, int framesPerSecond) override {
        if (width < 1 || height < 1 || width > 65535 || height > 65535)
            return "a GIF is 1 to 65535 pixels each way, not " + std::to_string(width) + " x " + std::to_string(height);
        width_ = width;
        height_ = height;
        framesPerSecond_ = framesPerSecond;
        frames_.clear();
        return openAnimationFile(file_, path);
    }

    std::string addFrame(const std::uint8_t* rgb) override {
        const std::size_t pixels = static_cast<std::size_t>(width_) * height_;
        try {
            frames_.emplace_back(4 * pixels);
        } catch (const std::bad_alloc&) {
            abandon();
            return "out of memory for the GIF's frames (it keeps them all for one palette)";
        }
        std::vector<std::uint8_t>& rgba = frames_.back();
        for (std::size_t i = 0; i < pixels; ++i) {
            std::memcpy(&rgba[4 * i], rgb + 3 * i, 3);
            rgba[4 * i + 3] = 255;
        }
        return {};
    }

    std::string finish() override {
        std::string bytes, error;
        try {
            error = encode(bytes);
        } catch (const std::bad_alloc&) {
            error = "out of memory for the GIF";
        }
        frames_.clear();
        if (!error.empty()) {
            abandon();
            return error;
        }
        return commitAnimationFile(file_, bytes);
    }

    void abandon() override {
        frames_.clear();
        if (file_) file_->abandon();
        file_.reset();
    }

private:
    liq_image* imageOf(const LiqAttr& liq, std::vector<std::uint8_t>& rgba) const {
        return liq_image_create_rgba(liq.attr, rgba.data(), width_, height_, 0.0);
    }

    // The palette of every frame's colours, and each frame's indices to it.
    std::string quantize(liq_palette& palette, std::vector<std::vector<GifByteType>>& indices) {
        if (frames_.empty()) return "a GIF needs a frame";
        LiqAttr liq;
        if (liq.attr == nullptr) return "out of memory for the GIF's palette";
        liq_set_speed(liq.attr, kQuantizerSpeed);
        LiqHistogram histogram{liq_histogram_create(liq.attr)};
        if (histogram.histogram == nullptr) return "out of memory for the GIF's palette";
        // The backdrop, a flat colour round the model in every frame, keeps
        // its exact colour: nudged by the palette's search it would shift
        // over the whole picture.
        const std::uint8_t* corner = frames_.front().data();
        liq_histogram_add_fixed_color(histogram.histogram, liq_color{corner[0], corner[1], corner[2], 255}, 0.0);
        for (std::vector<std::uint8_t>& rgba : frames_) {
            LiqImage image{imageOf(liq, rgba)};
            if (image.image == nullptr || liq_histogram_add_image(histogram.histogram, liq.attr, image.image) != LIQ_OK)
                return "out of memory for the GIF's palette";
        }
        LiqResult result;
        if (liq_histogram_quantize(histogram.histogram, liq.attr, &result.result) != LIQ_OK)
            return "the GIF's palette could not be made";
        liq_set_dithering_level(result.result, 1.0f);
        indices.resize(frames_.size());
        for (std::size_t f = 0; f < frames_.size(); ++f) {
            LiqImage image{imageOf(liq, frames_[f])};
            indices[f].resize(static_cast<std::size_t>(width_) * height_);
            if (image.image == nullptr ||
                liq_write_remapped_image(result.result, image.image, indices[f].data(), indices[f].size()) != LIQ_OK)
                return "out of memory for the GIF's frames";
            frames_[f] = {};
        }
        // Read after remapping: remapping may refine the colours a little.
        palette = *liq_get_palette(result.result);
        return {};
    }

    std::string encode(std::string& bytes) {
        liq_palette palette{};
        std::vector<std::vector<GifByteType>> indices;
        if (std::string error = quantize(palette, indices); !error.empty()) return error;

        GifColorType colours[256] = {};
        for (unsigned i = 0; i < palette.count; ++i)
            colours[i] = {palette.entries[i].r, palette.entries[i].g, palette.entries[i].b};
        int status = 0;
        GifFileType* gif = EGifOpen(&bytes, appendToString, &status);
        if (gif == nullptr) return std::string("GIF: ") + GifErrorString(status);
        EGifSetGifVersion(gif, true);
        ColorMapObject* map = GifMakeMapObject(256, colours);
        bool ok = map != nullptr && EGifPutScreenDesc(gif, width_, height_, 8, 0, map) == GIF_OK;
        // Loop for ever.
        static const GifByteType kLoop[] = {1, 0, 0};
        ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
             EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
             EGifPutExtensionBlock(gif, 3, kLoop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
        for (std::size_t f = 0; ok && f < indices.size(); ++f) {
            // Delays are in hundredths of a second: rounded from the frame's
            // start time, so that they average out to the frame rate.
            const auto at = [&](std::size_t k) { return std::lround(100.0 * k / framesPerSecond_); };
            GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, static_cast<int>(at(f + 1) - at(f)),
                                         NO_TRANSPARENT_COLOR};
            GifByteType extension[4];
            const std::size_t length = EGifGCBToExtension(&control, extension);
            ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_OK &&
                 EGifPutImageDesc(gif, 0, 0, width_, height_, false, nullptr) == GIF_OK;
            for (int row = 0; ok && row < height_; ++row)
                ok = EGifPutLine(gif, indices[f].data() + static_cast<std::size_t>(row) * width_, width_) == GIF_OK;
            indices[f] = {};
        }
        const int error = ok ? 0 : gif->Error;
        GifFreeMapObject(map);
        if (EGifCloseFile(gif, &status) != GIF_OK && ok) return std::string("GIF: ") + GifErrorString(status);
        if (!ok) return std::string("GIF: ") + (map == nullptr ? "out of memory" : GifErrorString(error));
        return {};
    }

    int width_ = 0, height_ = 0, framesPerSecond_ = 30;
    std::vector<std::vector<std::uint8_t>> frames_;  // RGBA, as the quantizer takes them
    std::unique_ptr<AtomicFileWriter> file_;
};

}  // namespace

std::unique_ptr<AnimationEncoder> makeGifEncoder() { return std::make_unique<GifEncoder>(); }

}  // namespace cubrik
