#pragma once
// The version the About box and --version show; CMake's project version is its only source.

namespace cubrik {

inline constexpr const char* kVersionLine = "Cubrik version " CUBRIK_VERSION;

}  // namespace cubrik
