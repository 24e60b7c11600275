#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "model/byte_changes.h"

namespace cubrik {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A block and a changed copy: stretches of equal, random or repeated
// bytes of every length around the coding's thresholds, at either end too.
std::pair<Bytes, Bytes> changedPair(std::mt19937& random) {
    Bytes a(random() % 1200), b;
    for (auto& byte : a) byte = static_cast<std::uint8_t>(random() % 3);
    b = a;
    for (std::size_t i = 0; i < b.size();) {
        const std::size_t length = random() % 2 ? random() % 6 : random() % 300;
        const int kind = static_cast<int>(random() % 3);
        const auto value = static_cast<std::uint8_t>(random());
        for (std::size_t end = std::min(b.size(), i + length); i < end; ++i)
            if (kind == 1) b[i] = static_cast<std::uint8_t>(random());
            else if (kind == 2) b[i] = value;
    }
    return {a, b};
}

TEST(ByteChanges, TheCodeTurnsEitherBlockIntoTheOther) {
    std::mt19937 random(5);
    for (int trial = 0; trial < 2000; ++trial) {
        auto [a, b] = changedPair(random);
        Bytes code, copyCode;
        codeDifferences(a, b, code);
        Bytes forward = a, backward = b;
        applyDifferences(forward, code);
        applyDifferences(backward, code);
        ASSERT_EQ(forward, b) << trial;
        ASSERT_EQ(backward, a) << trial;

        Bytes copied = a;
        codeAndCopyDifferences(copied, b, copyCode);
        ASSERT_EQ(copied, b) << trial;
        ASSERT_EQ(copyCode, code) << trial;

        Bytes x = a, y = b;
        exchangeDifferences(x, y);
        ASSERT_EQ(x, b) << trial;
        ASSERT_EQ(y, a) << trial;
    }
}

TEST(ByteChanges, TheCodeCostsWhatChangedNotTheBlockSize) {
    Bytes a(1'000'000, 7), b = a, code;
    codeDifferences(a, b, code);
    EXPECT_TRUE(code.empty());
    std::fill(b.begin() + 400'000, b.begin() + 500'000, 9);  // one run of a new value
    b[999'999] = 1;
    codeDifferences(a, b, code);
    EXPECT_LE(code.size(), 12u);
}

}  // namespace
}  // namespace cubrik
