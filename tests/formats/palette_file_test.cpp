// Palette files: each reader takes its format's quirks to the exact colours,
// refuses damage with the line it lies on, and what the writers write reads
// back the same.
#include <gtest/gtest.h>

#include "formats/image/png_image.h"
#include "formats/palette_file.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

struct Read {
    int result;
    PaletteColours colours;
    std::string reason;
};

class PaletteFileTest : public ::testing::Test {
protected:
    Read read(const std::string& name, std::string_view bytes) {
        testing::writeBytes(dir / name, bytes);
        Read out{0, {}, ""};
        out.result = readPaletteFile(dir / name, out.colours, out.reason);
        return out;
    }
    testing::TempDir dir;
};

// A 3 x 2 picture, rows top to bottom: red, green, red / transparent, blue, green.
std::string pngPicture() {
    const std::uint8_t bgraBottomUp[] = {0, 0, 0, 0,     255, 0, 0, 255, 0, 255, 0, 255,   // bottom row
                                         0, 0, 255, 255, 0, 255, 0, 255, 0, 0, 255, 255};  // top row
    testing::TempDir scratch;
    std::string reason;
    EXPECT_EQ(writePng(scratch / "p.png", 3, 2, bgraBottomUp, reason), 1) << reason;
    return testing::readBytes(scratch / "p.png");
}

TEST_F(PaletteFileTest, EachFormatReadsItsColoursExactly) {
    const PaletteColours expected{0xff0000, 0x00ff00, 0x0a0b0c};
    EXPECT_EQ(read("a.gpl", "\xEF\xBB\xBFGIMP Palette\r\nName: Three\r\nColumns: 4\r\n# a comment\r\n\r\n"
                            "255   0   0\tRed one\r\n  0 255   0 Green\r\n 10 11 12\r\n")
                  .colours,
              expected);
    EXPECT_EQ(read("b.HEX", "ff0000\n#00FF00\n\n0a0b0c").colours, expected);
    EXPECT_EQ(read("c.pal", "JASC-PAL\r\n0100\r\n3\r\n255 0 0\r\n0 255 0 255\r\n10 11 12\r\n\r\n").colours, expected);
    EXPECT_EQ(read("d.png", pngPicture()).colours, (PaletteColours{0xff0000, 0x00ff00, 0x0000ff}));
    PaletteColours indexed;
    std::string reason;
    EXPECT_EQ(readPaletteFile(CUBRIK_SOURCE_TESTS "/fuzz/corpus/palette/four-indexed.png", indexed, reason), 1) << reason;
    EXPECT_EQ(indexed, (PaletteColours{0xff0000, 0x00ff00, 0x0000ff, 0x0a0b0c}));
}

TEST_F(PaletteFileTest, ADamagedFileIsRefusedWithWhereItIsDamaged) {
    const std::pair<const char*, std::string> damaged[] = {
        {"a.gpl", "GIMP Palette\n0 0 0\n300 0 0\n"},    // a channel above 255, line 3
        {"b.gpl", "GIMP Palet\n0 0 0\n"},                // the header
        {"c.hex", "ff0000\nff00\n"},                     // line 2 too short
        {"d.hex", "ff0000\nff00zz\n"},                   // line 2 not hexadecimal
        {"e.pal", "JASC-PAL\n0100\n3\n1 2 3\n4 5 6\n"},  // ends after 2 of 3
        {"f.pal", "JASC-PAL\n0100\n1\n1 2 3\n4 5 6\n"},  // more than it says
        {"g.png", pngPicture().substr(0, 60)},           // cut short
        {"h.hex", "\n\n"},                               // no colours
        {"i.txt", "ff0000\n"},                           // no palette type
        {"j.gpl", "GIMP Palette\n1 256 3\n"},            // 256, never carried into red
        {"k.pal", "JASC-PAL\n0100\n1\n1 2 256\n"},      // 256, never carried into green
    };
    const char* where[] = {"line 3", "GIMP Palette", "line 2", "line 2", "2 of its 3", "line 5", "PNG", "no colours",
                           ".gpl, .hex, .pal and .png", "line 2", "line 4"};
    for (std::size_t i = 0; i < std::size(damaged); ++i) {
        const Read got = read(damaged[i].first, damaged[i].second);
        EXPECT_EQ(got.result, 0) << damaged[i].first;
        EXPECT_NE(got.reason.find(where[i]), std::string::npos) << damaged[i].first << ": " << got.reason;
    }
}

TEST_F(PaletteFileTest, WrittenPalettesReadBackTheSame) {
    PaletteColours colours;
    for (std::uint32_t i = 0; i < 32; ++i) colours.push_back(i * 0x51f3a7u & 0xffffff);
    const std::vector<std::string> names(32, "A colour");
    for (const char* name : {"p.gpl", "p.hex"}) {
        std::string reason;
        ASSERT_EQ(writePaletteFile(dir / name, colours, names, reason), 1) << reason;
        PaletteColours back;
        ASSERT_EQ(readPaletteFile(dir / name, back, reason), 1) << reason;
        EXPECT_EQ(back, colours) << name;
    }
    std::string reason;
    EXPECT_EQ(writePaletteFile(dir / "p.pal", colours, names, reason), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "p.pal"));
}

}  // namespace
}  // namespace cubrik
