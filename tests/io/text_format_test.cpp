#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "io/text_format.h"

namespace cubrik {
namespace {

std::string fixed(double value, int decimals) {
    std::string out;
    appendFixed(out, value, decimals);
    return out;
}

std::string printfFixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

TEST(TextFormat, FixedMatchesPrintfInTheCLocale) {
    const double values[] = {0.0, 1.0, -1.0, 0.5, 0.125, 0.375, 2.5, -2.5, 1e-7, 123456.789, -29.4,
                             (50 - 49.0) * 0.6000000238418579, 0.6f * 255.0, 1.0 / 3.0, 99.99999};
    for (double v : values)
        for (int decimals : {0, 2, 3, 4, 5, 6}) EXPECT_EQ(fixed(v, decimals), printfFixed(v, decimals)) << v;
}

TEST(TextFormat, NegativeZeroKeepsItsSign) {
    EXPECT_EQ(fixed(-0.0, 5), "-0.00000");
    EXPECT_EQ(fixed(-0.00001, 3), "-0.000");
}

TEST(TextFormat, FixedIgnoresADecimalCommaLocale) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(fixed(-30.0, 3), "-30.000");
    EXPECT_EQ(fixed(0.8, 6), "0.800000");
    std::setlocale(LC_ALL, "C");
}

TEST(TextFormat, IntegersAndHexadecimal) {
    std::string out;
    appendInt(out, -42);
    out += ' ';
    appendZeroPadded(out, 5, 2);
    out += ' ';
    appendZeroPadded(out, 16, 2);
    out += ' ';
    appendHex6(out, 0xff8000);
    out += ' ';
    appendHex6(out, 0x3f);
    EXPECT_EQ(out, "-42 05 16 ff8000 00003f");
}

}  // namespace
}  // namespace cubrik
