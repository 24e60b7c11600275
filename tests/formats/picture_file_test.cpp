// Reference pictures: PNG, TARGA and JPEG files read top row first, and
// halved to a texture's size.
#include <gtest/gtest.h>

#include <cstdlib>

#include "formats/image/picture_file.h"
#include "formats/image/png_image.h"
#include "formats/image/targa.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

TEST(PictureFile, ReadsPngTargaAndJpegTopRowFirst) {
    // 16 x 16, blue above red; the writers take rows bottom to top, blue first.
    std::vector<std::uint8_t> pixels(4 * 16 * 16, 255);
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        const bool bottomHalf = i < pixels.size() / 2;
        pixels[i] = bottomHalf ? 0 : 255;
        pixels[i + 1] = 0;
        pixels[i + 2] = bottomHalf ? 255 : 0;
    }
    testing::TempDir dir;
    std::string reason;
    ASSERT_EQ(writeTarga(dir / "a.tga", 16, 16, pixels, reason), 1) << reason;
    ASSERT_EQ(writePng(dir / "a.png", 16, 16, pixels, reason), 1) << reason;
    std::vector<std::string> names = {"a.tga", "a.png"};
    const std::string convert =
        "convert '" + (dir / "a.tga").string() + "' -auto-orient '" + (dir / "a.jpg").string() + "'";
    if (std::system(convert.c_str()) == 0) names.push_back("a.jpg");
    for (const std::string& name : names) {
        Picture picture;
        ASSERT_EQ(readPicture(dir / name, 2048, picture, reason), 1) << name << ": " << reason;
        ASSERT_EQ(picture.width, 16);
        ASSERT_EQ(picture.height, 16);
        const std::uint8_t* topLeft = picture.rgba.data();
        const std::uint8_t* bottomLeft = topLeft + 4 * 16 * 15;
        EXPECT_LT(topLeft[0], 40) << name;  // blue: little red
        EXPECT_GT(topLeft[2], 215) << name;
        EXPECT_GT(bottomLeft[0], 215) << name;
        EXPECT_EQ(topLeft[3], 255) << name;
    }
    testing::writeBytes(dir / "b.png", "GIF89a and more");
    Picture picture;
    EXPECT_EQ(readPicture(dir / "b.png", 2048, picture, reason), 0);
    EXPECT_EQ(reason, "it is not a PNG, JPEG or TARGA picture");
    EXPECT_EQ(readPicture(dir / "none.png", 2048, picture, reason), 0);
    EXPECT_NE(reason.find("none.png"), std::string::npos) << reason;
}

TEST(PictureFile, HalvesByAveragingUntilItFits) {
    Picture picture{4, 2, {}};
    for (int i = 0; i < 4 * 4 * 2; ++i) picture.rgba.push_back(static_cast<std::uint8_t>(10 * i));
    shrinkPicture(picture, 2);
    ASSERT_EQ(picture.width, 2);
    ASSERT_EQ(picture.height, 1);
    // Pixels 0, 1, 4 and 5: red 0, 40, 160 and 200 average 100.
    EXPECT_EQ(picture.rgba[0], 100);
    Picture odd{5, 3, std::vector<std::uint8_t>(4 * 5 * 3, 7)};
    shrinkPicture(odd, 2);
    EXPECT_EQ(odd.width, 2);
    EXPECT_EQ(odd.height, 1);
    EXPECT_EQ(odd.rgba, std::vector<std::uint8_t>(4 * 2, 7));
}

}  // namespace
}  // namespace cubrik
