#pragma once
// Number formatting for the files the program writes. The output never
// depends on the process locale: the decimal point is always a full stop.

#include <cstdint>
#include <string>

namespace cubrik {

// Like printf("%.<decimals>f", value) in the C locale, including the sign of
// a negative zero.
void appendFixed(std::string& out, double value, int decimals);

// Like printf("%d", value).
void appendInt(std::string& out, long long value);

// Like printf("%0<width>d", value) for a non-negative value.
void appendZeroPadded(std::string& out, int value, int width);

// Like printf("%06x", value & 0xffffff).
void appendHex6(std::string& out, std::uint32_t value);

}  // namespace cubrik
