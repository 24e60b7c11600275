// Session lines on arbitrary bytes: each line parses or is refused with a
// reason, and what parses formats back to a line that parses the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/session/session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        cubrik::SessionLine line, again;
        std::string error;
        if (cubrik::parseSessionLine(text.substr(0, end), line, error)) {
            const std::string formatted = cubrik::formatSessionLine(line);
            if (!cubrik::parseSessionLine(formatted, again, error) || cubrik::formatSessionLine(again) != formatted)
                std::abort();
        } else if (error.empty()) {
            std::abort();
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return 0;
}
