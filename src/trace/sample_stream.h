#pragma once
// The random numbers of one sample of one pixel. Each stream is seeded by
// (seed, pixel, sample) alone, so the order in which threads take tiles
// cannot change a picture.

#include <cstdint>

namespace cubrik {

struct SampleStream {
    std::uint64_t state;

    static std::uint64_t mix(std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    SampleStream(std::uint64_t seed, std::uint64_t pixel, std::uint64_t sample)
        : state(mix(mix(seed + 0x9e3779b97f4a7c15ull) ^ (pixel * 0x100000001b3ull + sample))) {}
    float next() {
        state += 0x9e3779b97f4a7c15ull;
        return static_cast<float>(mix(state) >> 40) * (1.0f / 16777216.0f);  // [0, 1)
    }
};

}  // namespace cubrik
