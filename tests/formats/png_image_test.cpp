// The PNG writer takes the TARGA writer's pixels; ImageMagick must read both
// files as the same image, alpha included.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

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

}  // namespace
}  // namespace cubrik
