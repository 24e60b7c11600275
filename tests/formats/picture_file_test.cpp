// Reference pictures: PNG, TARGA and JPEG files read top row first, and
// halved to a texture's size; pictures read as cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "formats/image/picture_file.h"
#include "formats/image/png_image.h"
#include "formats/image/targa.h"
#include "formats/palette_match.h"
#include "formats/picture_cells.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

Picture decoded(const std::string& bytes, std::string& reason) {
    Picture picture;
    reason.clear();
    if (!decodePicture({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, picture, reason))
        picture.rgba.clear();
    return picture;
}

// libjpeg's compressor on `samples`, RGB or (four components) CMYK, `adjust`ed.
std::string compressJpeg(int side, int components, const std::vector<std::uint8_t>& samples,
                         void (*adjust)(jpeg_compress_struct&)) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = info.image_height = static_cast<JDIMENSION>(side);
    info.input_components = components;
    info.in_color_space = components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    adjust(info);
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < side; ++y) {
        JSAMPROW row = const_cast<std::uint8_t*>(samples.data()) + static_cast<std::size_t>(y) * side * components;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<char*>(out), size);
    std::free(out);
    return bytes;
}

// Entropy-coded bits, most significant first, a 0 byte after each 0xff.
struct JpegBits {
    std::string bytes;
    int pending = 0, count = 0;
    void put(unsigned value, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            pending = pending << 1 | (value >> i & 1);
            if (++count < 8) continue;
            bytes += static_cast<char>(pending);
            if (pending == 0xff) bytes += '\0';
            pending = count = 0;
        }
    }
    std::string padded() {
        while (count != 0) put(1, 1);
        return bytes;
    }
};

std::string jpegSegment(int marker, const std::string& payload) {
    const std::size_t length = payload.size() + 2;
    return std::string{'\xff', static_cast<char>(marker), static_cast<char>(length >> 8), static_cast<char>(length)} +
           payload;
}

// A valid progressive grey JPEG of `scans` scans that hold next to nothing:
// a DC scan, then each AC coefficient's first scan and 13 refinements, each
// passing over every block in end-of-band runs. The DC difference 0 has the
// code 0; the AC symbol 16 n (a run of 2^n blocks and n bits more) the 4-bit code n.
std::string scanBombJpeg(int side, int scans) {
    const std::string sideBytes{static_cast<char>(side >> 8), static_cast<char>(side)};
    std::string jpeg = "\xff\xd8" + jpegSegment(0xdb, std::string(1, '\0') + std::string(64, '\1')) +
                       jpegSegment(0xc2, "\x08" + sideBytes + sideBytes + std::string("\x01\x01\x11\x00", 4));
    std::string dcTable("\x00\x01", 2), acTable("\x10\x00\x00\x00\x0f", 5);
    dcTable.append(15, '\0').append(1, '\0');
    acTable.append(12, '\0');
    for (int n = 0; n < 15; ++n) acTable += static_cast<char>(16 * n);
    jpeg += jpegSegment(0xc4, dcTable) + jpegSegment(0xc4, acTable);
    const long blocks = static_cast<long>((side + 7) / 8) * ((side + 7) / 8);
    JpegBits dc;
    for (long i = 0; i < blocks; ++i) dc.put(0, 1);
    jpeg += jpegSegment(0xda, std::string("\x01\x01\x00\x00\x00\x00", 6)) + dc.padded();
    for (int coefficient = 1, scan = 1; coefficient < 64; ++coefficient)
        for (int high = 0, low = 13; low >= 0 && scan < scans; high = low--, ++scan) {
            JpegBits runs;
            for (long left = blocks; left > 0;) {
                const long run = std::min(left, 32767L);
                int n = 0;
                while (run >> (n + 1)) ++n;
                runs.put(static_cast<unsigned>(n), 4);
                runs.put(static_cast<unsigned>(run - (1L << n)), n);
                left -= run;
            }
            const char band = static_cast<char>(coefficient);
            const std::string header{'\x01', '\x01', '\x00', band, band, static_cast<char>(high << 4 | low)};
            jpeg += jpegSegment(0xda, header) + runs.padded();
        }
    return jpeg + "\xff\xd9";
}

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

TEST(PictureFile, ShowsCmykJpegsInTheirColours) {
    // Stored C 255, M 0, Y 128, K 200: Adobe's files hold the inks inverted.
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < 16 * 16; ++i) samples.insert(samples.end(), {255, 0, 128, 200});
    const std::string adobe = compressJpeg(16, 4, samples, [](jpeg_compress_struct&) {});
    const std::string plain =
        compressJpeg(16, 4, samples, [](jpeg_compress_struct& info) { info.write_Adobe_marker = FALSE; });
    const std::pair<std::string, std::vector<int>> expected[] = {{adobe, {200, 0, 100, 255}},
                                                                 {plain, {0, 55, 27, 255}}};
    for (const auto& [bytes, rgba] : expected) {
        std::string reason;
        const Picture picture = decoded(bytes, reason);
        ASSERT_EQ(picture.rgba.size(), 4u * 16 * 16) << reason;
        for (int channel = 0; channel < 4; ++channel) EXPECT_NEAR(picture.rgba[4 * 100 + channel], rgba[channel], 3);
    }
}

TEST(PictureFile, RefusesDamagedHostileAndUnsupportedJpegs) {
    std::vector<std::uint8_t> noise(3 * 64 * 64);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 7919 >> 3);
    const std::string progressive =
        compressJpeg(64, 3, noise, [](jpeg_compress_struct& info) { jpeg_simple_progression(&info); });
    ASSERT_GT(progressive.size(), 1400u);
    std::string reason;
    EXPECT_EQ(decoded(progressive, reason).width, 64) << reason;
    EXPECT_EQ(decoded(scanBombJpeg(8, 300), reason).width, 8) << reason;
    const std::pair<std::string, std::string> refused[] = {
        {progressive.substr(0, 700), "the picture is damaged (Premature end of JPEG file)"},
        {scanBombJpeg(8, 301), "the picture is damaged (it has more than 300 scans)"},
        {scanBombJpeg(8192, 200), "the picture is damaged (25 scans are too many for its size)"},
        // A 12-bit frame header and its scan, which the decoder refuses.
        {std::string("\xff\xd8\xff\xc1\x00\x0b\x0c\x00\x08\x00\x08\x01\x01\x11\x00"
                     "\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00\xff\xd9", 27),
         "12-bit JPEG pictures are not supported"},
    };
    for (const auto& [bytes, why] : refused) {
        EXPECT_TRUE(decoded(bytes, reason).rgba.empty());
        EXPECT_EQ(reason, why);
    }
}

TEST(PictureFile, RefusesTargasShorterThanTheirHeaderSays) {
    const std::string whole = formatTarga(16, 16, std::vector<std::uint8_t>(4 * 16 * 16, 9));
    // Run-length: a 2 x 1 image in one run of two, and 8192 x 8192 declared in 68 bytes.
    const std::string twoInOneRun("\0\0\x0a\0\0\0\0\0\0\0\0\0\x02\0\x01\0\x20\x08\x81\1\2\3\4", 23);
    std::string runBomb("\0\0\x0a\0\0\0\0\0\0\0\0\0\0\x20\0\x20\x20\x08", 18);
    for (int i = 0; i < 10; ++i) runBomb += std::string("\xff\1\2\3\4", 5);
    std::string reason;
    EXPECT_EQ(decoded(whole, reason).width, 16) << reason;
    EXPECT_EQ(decoded(twoInOneRun, reason).rgba, (std::vector<std::uint8_t>{3, 2, 1, 4, 3, 2, 1, 4})) << reason;
    for (const std::string& bytes :
         {whole.substr(0, 18), whole.substr(0, 18 + 4 * 256 - 1), twoInOneRun.substr(0, 22), runBomb}) {
        EXPECT_TRUE(decoded(bytes, reason).rgba.empty());
        EXPECT_EQ(reason, "the picture is damaged (its pixels end before the image does)");
    }
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

TEST(PictureCells, PixelsBecomeCellsOfTheNearestPaletteColourFacingTheFront) {
    // 20 x 10, written rows bottom to top, blue first: left half red and (top)
    // green, right half blue and (top) white, each a little off its palette
    // colour; the top-left 3 x 2 pixels transparent, one pixel just opaque.
    constexpr int kWidth = 20, kHeight = 10;
    std::vector<std::uint8_t> bgra(4 * kWidth * kHeight);
    const auto rgbaAt = [&](int column, int topRow) -> std::uint8_t* {
        return bgra.data() + 4 * ((kHeight - 1 - topRow) * kWidth + column);
    };
    for (int row = 0; row < kHeight; ++row)
        for (int column = 0; column < kWidth; ++column) {
            const bool top = row < kHeight / 2, left = column < kWidth / 2;
            const std::uint32_t rgb = left ? (top ? 0x08f00a : 0xfa0304) : (top ? 0xf4f6f0 : 0x0a00f0);
            std::uint8_t* p = rgbaAt(column, row);
            p[0] = rgb & 0xff, p[1] = rgb >> 8 & 0xff, p[2] = rgb >> 16 & 0xff;
            p[3] = column < 3 && row < 2 ? 127 : 128 + column;
        }
    testing::TempDir dir;
    std::string reason;
    ASSERT_EQ(writePng(dir / "p.png", kWidth, kHeight, bgra, reason), 1) << reason;
    ModelFileContents contents;
    std::copy(std::begin(kDefaultPalette), std::end(kDefaultPalette), contents.paletteA);
    std::copy(std::begin(kDefaultPalette), std::end(kDefaultPalette), contents.paletteB);
    ASSERT_EQ(readPictureCells(dir / "p.png", 3, contents, reason), 1) << reason;

    // Centred: x 40..59, y 45..54 (top row at y 54), z 48..50; A's red, green, blue, white.
    std::vector<std::uint8_t> expected(kCellCount, kEmpty);
    for (int row = 0; row < kHeight; ++row)
        for (int column = 0; column < kWidth; ++column) {
            if (column < 3 && row < 2) continue;
            const bool top = row < kHeight / 2, left = column < kWidth / 2;
            for (int z = 48; z <= 50; ++z)
                expected[cellIndex(40 + column, 54 - row, z)] = left ? (top ? 5 : 1) : (top ? 16 : 9);
        }
    EXPECT_TRUE(contents.cells == expected);

    // A tie goes to material A; a wider picture is scaled to 100 cells across.
    Rgb palette[kPaletteSize];
    std::copy(std::begin(kDefaultPalette), std::end(kDefaultPalette), palette);
    EXPECT_EQ(nearestPaletteCode(0xff0000, palette, palette), 1);
    const Picture wide{400, 10, std::vector<std::uint8_t>(4 * 400 * 10, 255)};
    const std::vector<std::uint8_t> cells = pictureCells(wide, 1, palette, palette);
    EXPECT_EQ(std::count(cells.begin(), cells.end(), 16), 100 * 3);
    EXPECT_EQ(cells[cellIndex(0, 48, 49)], 16);

    EXPECT_EQ(readPictureCells(dir / "p.png", 0, contents, reason), 0);
    testing::writeBytes(dir / "junk.png", "not a picture");
    EXPECT_EQ(readPictureCells(dir / "junk.png", 1, contents, reason), 0);
    EXPECT_NE(reason.find("junk.png: it is not a PNG"), std::string::npos) << reason;
}

}  // namespace
}  // namespace cubrik
