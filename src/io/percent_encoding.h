#pragma once
// Text that must stay on one line of a "key=value" or session file, whatever
// bytes it holds: every byte outside printable ASCII, the blank and "%" itself
// become "%XX".

#include <optional>
#include <string>
#include <string_view>

namespace cubrik {

std::string percentEncode(std::string_view bytes);

// Nothing when a "%" is not followed by two hexadecimal digits.
std::optional<std::string> percentDecode(std::string_view text);

}  // namespace cubrik
