#pragma once
// Little-endian stores into a byte buffer, shared by the binary mesh writers,
// whatever the byte order of the machine.

#include <bit>
#include <cstdint>

namespace cubrik {

// Each stores `value` at `at`, least significant byte first, and returns the
// place after it.
inline char* storeLe16(char* at, std::uint16_t value) {
    at[0] = static_cast<char>(value & 0xff);
    at[1] = static_cast<char>(value >> 8);
    return at + 2;
}

inline char* storeLe32(char* at, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) *at++ = static_cast<char>((value >> shift) & 0xff);
    return at;
}

inline char* storeFloat(char* at, float value) { return storeLe32(at, std::bit_cast<std::uint32_t>(value)); }

}  // namespace cubrik
