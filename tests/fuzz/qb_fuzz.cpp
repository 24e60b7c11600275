// libFuzzer entry for the .qb reader: any bytes must be either refused with a
// reason or read into a full grid of valid codes, without touching memory
// outside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formats/qb_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cubrik::VoxContents contents;
    std::string reason;
    if (cubrik::parseQb({data, size}, contents, reason)) {
        if (contents.cells.size() != static_cast<std::size_t>(cubrik::kCellCount)) std::abort();
        for (std::uint8_t code : contents.cells)
            if (code > cubrik::kLastCode) std::abort();
    } else if (reason.empty()) {
        std::abort();
    }
    return 0;
}
