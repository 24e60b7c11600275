#include "formats/animation/animation_encoder.h"

#include <algorithm>
#include <cctype>

#include "formats/animation/animation_encoders.h"

namespace cubrik {

std::optional<AnimationFormat> animationFormatOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return std::nullopt;
    std::string extension(path.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "gif") return AnimationFormat::Gif;
    if (extension == "mp4") return AnimationFormat::Mp4;
    if (extension == "webp") return AnimationFormat::WebP;
    return std::nullopt;
}

std::unique_ptr<AnimationEncoder> makeAnimationEncoder(AnimationFormat format) {
    switch (format) {
    case AnimationFormat::Gif: return makeGifEncoder();
    case AnimationFormat::Mp4: return makeMp4Encoder();
    case AnimationFormat::WebP: return makeWebPEncoder();
    }
    return nullptr;
}

std::string openAnimationFile(std::unique_ptr<AtomicFileWriter>& file, const std::string& path) {
    file = std::make_unique<AtomicFileWriter>(path);
    if (file->open()) return {};
    std::string error = file->error();
    file.reset();
    return error;
}

std::string commitAnimationFile(std::unique_ptr<AtomicFileWriter>& file, std::string_view bytes) {
    file->write(bytes);
    const bool committed = file->commit();
    std::string error = committed ? std::string() : file->error();
    file.reset();
    return error;
}

}  // namespace cubrik
