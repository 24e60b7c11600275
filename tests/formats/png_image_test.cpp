// The PNG writer takes the TARGA writer's pixels; ImageMagick must read both
// files as the same image, alpha included.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <zlib.h>

#include "formats/image/png_image.h"
#include "formats/image/targa.h"
#include "support/run_command.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

// Every pixel of the image as ImageMagick reads it, one line each.
std::string pixelText(const std::filesystem::path& image, const char* options) {
    std::string command = "convert '";  // appended piece by piece: GCC 12 misreads "..." + std::string as an overlapping copy
    command.append(image.string()).append("' ").append(options).append(" txt:- 2>&1");
    return testing::runCommand(command);
}

std::string pngChunk(const char* type, const std::string& data) {
    std::string chunk;
    for (int shift : {24, 16, 8, 0}) chunk += static_cast<char>(data.size() >> shift);
    chunk.append(type, 4).append(data);
    const auto crc = crc32(crc32(0, reinterpret_cast<const Bytef*>(type), 4),
                           reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
    for (int shift : {24, 16, 8, 0}) chunk += static_cast<char>(crc >> shift);
    return chunk;
}

// A 16 x 16 RGBA PNG of one colour whose compressed rows go on with `extra` zero bytes.
std::string pngWithTrailingData(std::size_t extra) {
    std::string rows;
    for (int row = 0; row < 16; ++row) {
        rows += '\0';  // no filter
        for (int column = 0; column < 16; ++column) rows.append("\xc8\x64\x32\xff");
    }
    rows.append(extra, '\0');
    uLongf size = compressBound(static_cast<uLong>(rows.size()));
    std::string compressed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(compressed.data()), &size, reinterpret_cast<const Bytef*>(rows.data()),
              static_cast<uLong>(rows.size()), 9);
    compressed.resize(size);
    return "\x89PNG\r\n\x1a\n" + pngChunk("IHDR", std::string("\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0", 13)) +
           pngChunk("IDAT", compressed) + pngChunk("IEND", "");
}

int decodeString(const std::string& png, std::vector<std::uint8_t>& rgba, std::string& reason) {
    int width = 0, height = 0;
    return decodePng({reinterpret_cast<const std::uint8_t*>(png.data()), png.size()}, width, height, rgba, reason);
}

TEST(PngImage, ReadsBackAsTheSameImageAsTheTarga) {
    if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick is not installed";
    // 5 x 3, every byte different, so a swapped channel or row shows.
    constexpr int kWidth = 5, kHeight = 3;
    std::vector<std::uint8_t> pixels(4 * kWidth * kHeight);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(17 * i + 3);
    pixels[3] = 0;     // fully transparent, bottom left
    pixels[7] = 255;   // opaque
    testing::TempDir dir;
    std::string reason;
    ASSERT_EQ(writeTarga(dir / "a.tga", kWidth, kHeight, pixels, reason), 1) << reason;
    ASSERT_EQ(writePng(dir / "b.png", kWidth, kHeight, pixels, reason), 1) << reason;
    EXPECT_TRUE(testing::readBytes(dir / "b.png").starts_with("\x89PNG\r\n\x1a\n"));
    const std::string targa = pixelText(dir / "a.tga", "-auto-orient");
    const std::string png = pixelText(dir / "b.png", "");
    EXPECT_NE(png.find("srgba"), std::string::npos) << png;
    EXPECT_NE(png.find("0,2: (37,20,3,0)"), std::string::npos) << png;  // the first pixel, bottom left, as red first
    EXPECT_EQ(png, targa);
}

TEST(PngImage, RefusesAMismatchedBufferAndAnUnwritablePlace) {
    testing::TempDir dir;
    const std::vector<std::uint8_t> pixels(4 * 4 * 2, 0x80);
    std::string reason;
    EXPECT_EQ(writePng(dir / "a.png", 4, 3, pixels, reason), 0);
    EXPECT_NE(reason.find("a.png"), std::string::npos) << reason;
    EXPECT_EQ(writePng(dir / "a.png", 0, 0, {}, reason), 0);
    testing::writeBytes(dir / "a.png", "earlier");
    EXPECT_EQ(writePng(dir / "missing" / "a.png", 4, 2, pixels, reason), 0);
    EXPECT_NE(reason.find("missing"), std::string::npos) << reason;
    EXPECT_EQ(testing::readBytes(dir / "a.png"), "earlier");
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

// libpng would inflate all the data after the last row (16 GiB took 36 s).
TEST(PngImage, RefusesDataThatInflatesPastItsRows) {
    std::vector<std::uint8_t> rgba;
    std::string reason;
    ASSERT_EQ(decodeString(pngWithTrailingData(0), rgba, reason), 1) << reason;
    EXPECT_EQ(std::vector<std::uint8_t>(rgba.begin(), rgba.begin() + 4),
              (std::vector<std::uint8_t>{200, 100, 50, 255}));
    EXPECT_EQ(decodeString(pngWithTrailingData(std::size_t{1} << 24), rgba, reason), 0);
    EXPECT_EQ(reason, "it is not a PNG image that can be read (its data inflates to more than its rows)");
    // Interlaced rows, and rows that end within a byte, are counted to the byte.
    if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick is not installed";
    testing::TempDir dir;
    for (const char* options : {"-depth 16", "-colorspace Gray -depth 1"}) {
        const std::string command = "convert -size 13x7 plasma: -interlace PNG " + std::string(options) + " '" +
                                    (dir / "i.png").string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_EQ(decodeString(testing::readBytes(dir / "i.png"), rgba, reason), 1) << options << ": " << reason;
    }
}

}  // namespace
}  // namespace cubrik
