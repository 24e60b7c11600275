#pragma once
// H.264 in an MP4, through FFmpeg's libraries, in a module of its own
// (cubrik-mp4.so) that the MP4 encoder loads when an MP4 is first wanted:
// those libraries bring the X libraries with them, and the command line must
// not load those for every conversion. The module encodes into memory; the
// file is written on this side of it.

#include <cstdint>
#include <string>

namespace cubrik {

class Mp4Video {
public:
    virtual ~Mp4Video() = default;
    // As AnimationEncoder's, "" or what is wrong.
    virtual std::string begin(int width, int height, int framesPerSecond) = 0;
    virtual std::string addFrame(const std::uint8_t* rgb) = 0;
    // The finished file's bytes into `bytes`.
    virtual std::string finish(std::string& bytes) = 0;
};

}  // namespace cubrik

// The module's one entry point, found by name; the caller deletes the object.
extern "C" cubrik::Mp4Video* cubrikNewMp4Video();
