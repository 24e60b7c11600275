// The .cbk reader on arbitrary bytes: it must refuse or read, never crash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/model_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    cubrik::ModelFileContents contents;
    std::string reason;
    cubrik::parseModelFile(std::string_view(reinterpret_cast<const char*>(data), size), contents, reason);
    return 0;
}
