#include <gtest/gtest.h>

#include "app/state/settings.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

constexpr ScreenSize kScreen{1920, 1050};

// Bytes of UTF-16 little-endian text, with the byte-order mark when asked.
std::string utf16(std::u16string_view text, bool withMark = true) {
    std::string bytes = withMark ? "\xff\xfe" : "";
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xff));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

Settings parsed(std::u16string_view text) {
    Settings settings;
    parseSettings(text, settings);
    return settings;
}

TEST(Settings, TheDefaultFileHasTheHandCheckedBytes) {
    const std::u16string expected =
        u"@\r\nwindowX=0\r\nwindowY=0\r\nwindowWidth=580\r\nwindowHeight=564\r\nwindowMaximized=0\r\n"
        u"backgroundColor=16744576\r\n"
        u"materialA=ff0000 ff7f00 ffff00 7fff00 00ff00 00ff7f 00ffff 007fff 0000ff 7f00ff ff00ff ff007f 000000 "
        u"3f3f3f 7f7f7f ffffff\r\n"
        u"materialB=ff0000 ff7f00 ffff00 7fff00 00ff00 00ff7f 00ffff 007fff 0000ff 7f00ff ff00ff ff007f 000000 "
        u"3f3f3f 7f7f7f ffffff\r\n";
    const std::string bytes = formatSettings(Settings{});
    EXPECT_EQ(bytes.substr(0, 2), "\xff\xfe");
    EXPECT_EQ(bytes, utf16(expected));
}

TEST(Settings, WrittenValuesReadBack) {
    Settings settings;
    settings.windowX = -16;
    settings.windowY = 40;
    settings.windowWidth = 800;
    settings.windowHeight = 700;
    settings.windowMaximized = 1;
    settings.backgroundColor = 0x123456;
    settings.materialA[3] = 0xabcdef;
    settings.materialB[15] = 0x000001;
    settings.autosaveSeconds = 0;  // written only when not the default
    settings.undoSteps = 1000;     // likewise
    testing::TempDir dir;
    std::string reason;
    ASSERT_EQ(writeSettings(dir / "deeper" / "Cubrik1", settings, reason), 1) << reason;
    Settings read;
    ASSERT_EQ(readSettings(dir / "deeper" / "Cubrik1" / "property.txt", read, kScreen), 1);
    EXPECT_EQ(formatSettings(read), formatSettings(settings));
}

TEST(Settings, AMissingFileOrOneLargerThanASettingsFileLeavesTheDefaults) {
    testing::TempDir dir;
    testing::writeBytes(dir / "huge.txt", utf16(u"@\r\nwindowWidth=300\r\n") + std::string(1 << 20, ' '));
    for (const char* name : {"property.txt", "huge.txt"}) {
        Settings settings;
        settings.windowWidth = 300;  // no range rule applies without a file
        EXPECT_EQ(readSettings(dir / name, settings, kScreen), 0) << name;
        EXPECT_EQ(settings.windowWidth, 300) << name;
    }
}

TEST(Settings, KeysMustBeFollowedDirectlyByTheEqualsSignAndAValue) {
    const Settings s = parsed(u"\xfeff@\r\nwindowX =12\r\nwindowY=  -7 px\r\nwindowWidth=\r\nWindowHeight=600\r\n"
                              u"backgroundColor=+99\r\n");
    EXPECT_EQ(s.windowX, 0);
    EXPECT_EQ(s.windowY, -7);
    EXPECT_EQ(s.windowWidth, 580);
    EXPECT_EQ(s.windowHeight, 564);
    EXPECT_EQ(s.backgroundColor, 99);
}

TEST(Settings, TheLaterOfTwoLinesWinsAndLineEndsMayBeBare) {
    const Settings s = parsed(u"windowX=5\nwindowX=9\nwindowMaximized=1");
    EXPECT_EQ(s.windowX, 9);
    EXPECT_EQ(s.windowMaximized, 1);
}

TEST(Settings, AMissingOrDamagedRecoveryIntervalOrUndoDepthIsTheDefault) {
    const struct {
        std::u16string_view text;
        std::int32_t autosaveSeconds, undoSteps;
    } cases[] = {
        {u"", 30, 20},
        {u"autosaveSeconds=0\r\nundoSteps=100\r\n", 0, 100},
        {u"autosaveSeconds=120\r\nundoSteps=1000\r\n", 120, 1000},
        {u"autosaveSeconds=-5\r\nundoSteps=50\r\n", 30, 20},  // only the depths the menu offers
        {u"autosaveSeconds=soon\r\nundoSteps=-100\r\n", 30, 20},
        {u"undoSteps=many\r\n", 30, 20},
    };
    for (const auto& c : cases) {
        const Settings settings = parsed(c.text);
        EXPECT_EQ(settings.autosaveSeconds, c.autosaveSeconds);
        EXPECT_EQ(settings.undoSteps, c.undoSteps);
    }
}

TEST(Settings, PalettesNeedAllSixteenColours) {
    Settings s = parsed(u"materialA=1 2 3 4 5 6 7 8 9 a b c d e f\r\n");  // fifteen
    EXPECT_EQ(s.materialA[0], 0xff0000u);
    s = parsed(u"materialB=1 2 3 4 5 6 7 8 9 a b c d e f 10 11\r\nmaterialA=ABCDEF1234567 2 3 4 5 6 7 8 9 a b c d e f\r\n");
    EXPECT_EQ(s.materialB[0], 1u);
    EXPECT_EQ(s.materialB[15], 0x10u);
    // Six digits at most a colour: the seventh starts the next one.
    EXPECT_EQ(s.materialA[0], 0xabcdefu);
    EXPECT_EQ(s.materialA[1], 0x123456u);
    EXPECT_EQ(s.materialA[2], 0x7u);
    EXPECT_EQ(s.materialA[3], 0x2u);
}

TEST(Settings, WindowValuesAreBroughtIntoTheScreen) {
    Settings s;
    s.windowX = -100;
    s.windowY = 5000;
    s.windowWidth = 300;
    s.windowHeight = 9000;
    s.windowMaximized = 2;
    clampWindowSettings(s, kScreen);
    EXPECT_EQ(s.windowX, -16);
    EXPECT_EQ(s.windowY, 1050 - 16);
    EXPECT_EQ(s.windowWidth, 460);
    EXPECT_EQ(s.windowHeight, 1050);
    EXPECT_EQ(s.windowMaximized, 0);
}

TEST(Settings, AnEightBitFileMatchesNothing) {
    testing::TempDir dir;
    testing::writeBytes(dir / "property.txt", "@\r\nwindowX=100\r\nwindowWidth=900\r\n");
    Settings s;
    ASSERT_EQ(readSettings(dir / "property.txt", s, kScreen), 1);
    EXPECT_EQ(s.windowX, 0);
    EXPECT_EQ(s.windowWidth, 580);
}

TEST(Settings, OverlongLinesAreReadInPieces) {
    std::u16string text = u"windowX=1" + std::u16string(300, u'0') + u"\r\n";  // the rest is a line of its own
    text += std::u16string(285, u' ') + u"windowY=7\r\n";                      // not at the start of a line
    const Settings s = parsed(text);
    EXPECT_EQ(s.windowX, 2147483647);  // saturated, not undefined
    EXPECT_EQ(s.windowY, 0);
    const Settings split = parsed(std::u16string(291, u'x') + u"windowY=8\r\n");
    EXPECT_EQ(split.windowY, 8);
}

TEST(Settings, AFolderThatCannotBeCreatedIsReported) {
    testing::TempDir dir;
    testing::writeBytes(dir / "file", "");
    std::string reason;
    EXPECT_EQ(writeSettings(dir / "file" / "Cubrik1", Settings{}, reason), 0);
    EXPECT_NE(reason.find("cannot create"), std::string::npos) << reason;
}

}  // namespace
}  // namespace cubrik
