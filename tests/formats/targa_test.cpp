#include <gtest/gtest.h>

#include <cstring>

#include "formats/image/targa.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes atlasHeader(std::uint8_t type, std::uint8_t descriptor) {
    Bytes header(18, 0);
    header[2] = type;
    header[12] = 64;
    header[14] = 0;
    header[15] = 1;  // 256
    header[16] = 32;
    header[17] = descriptor;
    return header;
}

// Texel (column, row) of a decoded atlas, rows from the top.
Bytes texel(const Bytes& atlas, int column, int row) {
    const auto at = atlas.begin() + (row * 64 + column) * 4;
    return Bytes(at, at + 4);
}

TEST(Targa, AThreeByTwoImageHasTheHandCheckedBytes) {
    Bytes pixels(24);
    for (int i = 0; i < 24; ++i) pixels[i] = static_cast<std::uint8_t>(i + 1);
    const std::string file = formatTarga(3, 2, pixels);
    ASSERT_EQ(file.size(), 68u);
    const std::string header("\x00\x00\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00\x03\x00\x02\x00\x20\x08", 18);
    EXPECT_EQ(file.substr(0, 18), header);
    EXPECT_EQ(file.substr(18, 24), std::string(pixels.begin(), pixels.end()));
    EXPECT_EQ(file.substr(42), std::string("\0\0\0\0\0\0\0\0TRUEVISION-XFILE.\0", 26));
}

TEST(Targa, WriteTargaWritesThoseBytesOrSaysWhyNot) {
    testing::TempDir dir;
    const Bytes pixels(4 * 5 * 7, 0x5a);
    std::string reason;
    ASSERT_EQ(writeTarga(dir / "a.tga", 5, 7, pixels, reason), 1) << reason;
    EXPECT_EQ(testing::readBytes(dir / "a.tga"), formatTarga(5, 7, pixels));
    EXPECT_EQ(writeTarga(dir / "missing" / "a.tga", 5, 7, pixels, reason), 0);
    EXPECT_NE(reason.find("missing"), std::string::npos);
}

TEST(Targa, UncompressedBottomToTopAtlasPutsTheLastFileRowOnTop) {
    Bytes file = atlasHeader(2, 0x08);
    for (int row = 0; row < 256; ++row)
        for (int column = 0; column < 64; ++column) file.insert(file.end(), {std::uint8_t(row), 0, 0, 255});
    Bytes atlas;
    ASSERT_EQ(decodeAtlasTarga(file, atlas), 1);
    ASSERT_EQ(atlas.size(), 65536u);
    EXPECT_EQ(texel(atlas, 0, 0), (Bytes{255, 0, 0, 255}));
    EXPECT_EQ(texel(atlas, 63, 255), (Bytes{0, 0, 0, 255}));

    file[17] = 0x28;  // rows top to bottom
    ASSERT_EQ(decodeAtlasTarga(file, atlas), 1);
    EXPECT_EQ(texel(atlas, 5, 0), (Bytes{0, 0, 0, 255}));
    EXPECT_EQ(texel(atlas, 5, 200), (Bytes{200, 0, 0, 255}));
}

TEST(Targa, RunLengthPacketsRepeatOrCopyAndRunAcrossRowEnds) {
    Bytes file = atlasHeader(10, 0x28);
    // 62 literal-free filler pixels, then a run of 4 crossing the end of row 0.
    file.insert(file.end(), {0x80 + 61, 9, 9, 9, 9});
    file.insert(file.end(), {0x83, 1, 2, 3, 4});
    file.insert(file.end(), {0x02, 10, 11, 12, 13, 20, 21, 22, 23, 30, 31, 32, 33});
    // The rest in runs of 128; the final packet overshoots and is cut short.
    for (int placed = 62 + 4 + 3; placed < 16384; placed += 128) file.insert(file.end(), {0xff, 7, 7, 7, 7});
    Bytes atlas;
    ASSERT_EQ(decodeAtlasTarga(file, atlas), 1);
    EXPECT_EQ(texel(atlas, 61, 0), (Bytes{9, 9, 9, 9}));
    EXPECT_EQ(texel(atlas, 62, 0), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(texel(atlas, 63, 0), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(texel(atlas, 0, 1), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(texel(atlas, 1, 1), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(texel(atlas, 2, 1), (Bytes{10, 11, 12, 13}));
    EXPECT_EQ(texel(atlas, 4, 1), (Bytes{30, 31, 32, 33}));
    EXPECT_EQ(texel(atlas, 63, 255), (Bytes{7, 7, 7, 7}));
}

TEST(Targa, BottomToTopRunLengthFillsFromTheLastRowUp) {
    Bytes file = atlasHeader(10, 0x08);
    file.insert(file.end(), {0x81, 5, 6, 7, 8});  // 2 pixels
    for (int placed = 2; placed < 16384; placed += 128) file.insert(file.end(), {0xff, 0, 0, 0, 0});
    Bytes atlas;
    ASSERT_EQ(decodeAtlasTarga(file, atlas), 1);
    EXPECT_EQ(texel(atlas, 0, 255), (Bytes{5, 6, 7, 8}));
    EXPECT_EQ(texel(atlas, 1, 255), (Bytes{5, 6, 7, 8}));
    EXPECT_EQ(texel(atlas, 2, 255), (Bytes{0, 0, 0, 0}));
}

TEST(Targa, UnacceptedHeadersAndShortDataGiveNoAtlas) {
    Bytes atlas;
    const Bytes good = atlasHeader(2, 0x08);
    auto rejects = [&](Bytes file) {
        file.resize(18 + 65536, 0);
        return decodeAtlasTarga(file, atlas) == 0;
    };
    Bytes wide = good;
    wide[12] = 128;
    EXPECT_TRUE(rejects(wide));
    Bytes rgb = good;
    rgb[16] = 24;
    EXPECT_TRUE(rejects(rgb));
    Bytes colourMap = good;
    colourMap[1] = 1;
    EXPECT_TRUE(rejects(colourMap));
    Bytes mirrored = good;
    mirrored[17] = 0x18;
    EXPECT_TRUE(rejects(mirrored));
    Bytes grey = good;
    grey[2] = 3;
    EXPECT_TRUE(rejects(grey));
    EXPECT_FALSE(rejects(good));
    // Data that ends before the image: rejected instead of read past the end.
    Bytes shortRaw = good;
    shortRaw.resize(18 + 65535);
    EXPECT_EQ(decodeAtlasTarga(shortRaw, atlas), 0);
    Bytes shortRle = atlasHeader(10, 0x08);
    shortRle.insert(shortRle.end(), {0x05, 1, 2, 3});  // promises 6 pixels, holds less than one
    EXPECT_EQ(decodeAtlasTarga(shortRle, atlas), 0);
    EXPECT_EQ(decodeAtlasTarga(Bytes(10, 0), atlas), 0);
}

}  // namespace
}  // namespace cubrik
