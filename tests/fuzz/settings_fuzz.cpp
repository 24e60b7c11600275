// The settings file on arbitrary bytes: whatever it holds, the values that
// come out are in range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/state/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    cubrik::Settings settings;
    cubrik::parseSettingsFile(std::string(reinterpret_cast<const char*>(data), size), settings, {1920, 1080});
    if (settings.windowWidth < 460 || settings.windowHeight < 460 || (settings.windowMaximized & ~1)) std::abort();
    return 0;
}
