#pragma once
// The encoders behind makeAnimationEncoder, one file each, and what they share.

#include <memory>
#include <string>

#include "formats/animation/animation_encoder.h"
#include "io/atomic_file.h"

namespace cubrik {

std::unique_ptr<AnimationEncoder> makeGifEncoder();
std::unique_ptr<AnimationEncoder> makeMp4Encoder();
std::unique_ptr<AnimationEncoder> makeWebPEncoder();

// Opens the temporary file the animation goes into, before any frame is
// made, so that an unwritable target fails at once. Returns "" or the error.
std::string openAnimationFile(std::unique_ptr<AtomicFileWriter>& file, const std::string& path);

// Writes the encoded bytes and puts the file in place; "" or the error.
std::string commitAnimationFile(std::unique_ptr<AtomicFileWriter>& file, std::string_view bytes);

}  // namespace cubrik
