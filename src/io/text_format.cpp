#include "io/text_format.h"

#include <charconv>

namespace cubrik {

void appendFixed(std::string& out, double value, int decimals) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, decimals);
    out.append(buffer, result.ptr);
}

void appendInt(std::string& out, long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendZeroPadded(std::string& out, int value, int width) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    const int digits = static_cast<int>(result.ptr - buffer);
    if (digits < width) out.append(static_cast<std::size_t>(width - digits), '0');
    out.append(buffer, result.ptr);
}

void appendHex6(std::string& out, std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = 20; shift >= 0; shift -= 4) out.push_back(kDigits[(value >> shift) & 0xf]);
}

}  // namespace cubrik
