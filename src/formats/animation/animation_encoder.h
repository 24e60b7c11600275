#pragma once
// Animations written frame by frame: GIF (one palette shared by every frame),
// MP4 (H.264, yuv420p) and animated WebP. Each encoder takes RGB frames of one
// size and writes its file through a temporary beside the target, renamed
// over it only once complete: a failed or abandoned encoding leaves no file.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace cubrik {

enum class AnimationFormat { Gif, Mp4, WebP };

// The format an output path's extension names (.gif, .mp4, .webp, any case),
// or none.
std::optional<AnimationFormat> animationFormatOf(std::string_view path);

// "GIF, MP4 or WebP": the formats, for messages.
inline constexpr const char* kAnimationFormatList = ".gif, .mp4 or .webp";

class AnimationEncoder {
public:
    virtual ~AnimationEncoder() = default;

    // Starts an animation of width x height frames at `framesPerSecond`,
    // written to `path` once finish() succeeds. Returns an empty string, or
    // what is wrong (the size the format cannot take, an encoder missing, a
    // folder that cannot be written); nothing is written then.
    virtual std::string begin(const std::string& path, int width, int height, int framesPerSecond) = 0;

    // Adds one frame: width x height RGB pixels, 3 bytes each, rows top to
    // bottom. Returns an empty string or what went wrong.
    virtual std::string addFrame(const std::uint8_t* rgb) = 0;

    // Completes the file and puts it in place. Returns an empty string or
    // what went wrong (no file is left then).
    virtual std::string finish() = 0;

    // Drops everything begun; no file is left. The destructor does the same
    // for an encoding that was not finished.
    virtual void abandon() = 0;
};

std::unique_ptr<AnimationEncoder> makeAnimationEncoder(AnimationFormat format);

}  // namespace cubrik
