// The icon atlas decoder on arbitrary bytes: it refuses or decodes a whole
// 64 x 256 image, never reading past its input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/image/targa.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> texels;
    if (cubrik::decodeAtlasTarga({data, size}, texels) && texels.size() != 64u * 256u * 4u) std::abort();
    return 0;
}
