#pragma once
// The settings remembered between runs, in "property.txt": UTF-16 little-endian
// text with a byte-order mark, one "key=value" a line, CR LF line ends.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/mirror_planes.h"

namespace cubrik {

inline constexpr const char* kSettingsFolderName = "Cubrik1";
inline constexpr const char* kSettingsFileName = "property.txt";
inline constexpr std::int32_t kDefaultAutosaveSeconds = 30;
inline constexpr std::int32_t kDefaultReferenceOpacity = 50;
inline constexpr std::int32_t kUndoStepChoices[3] = {20, 100, 1000};  // the first is the default

struct Settings {
    std::int32_t windowX = 0;
    std::int32_t windowY = 0;
    std::int32_t windowWidth = 580;
    std::int32_t windowHeight = 564;
    std::int32_t windowMaximized = 0;
    std::int32_t backgroundColor = 16744576;  // 0x00BBGGRR: red 128, green 128, blue 255
    std::int32_t autosaveSeconds = kDefaultAutosaveSeconds;  // the recovery copy's interval; 0: no copy
    std::int32_t undoSteps = kUndoStepChoices[0];  // the undo history's depth, one of the choices
    std::uint32_t materialA[16] = {0xff0000, 0xff7f00, 0xffff00, 0x7fff00, 0x00ff00, 0x00ff7f, 0x00ffff, 0x007fff,
                                   0x0000ff, 0x7f00ff, 0xff00ff, 0xff007f, 0x000000, 0x3f3f3f, 0x7f7f7f, 0xffffff};
    std::uint32_t materialB[16] = {0xff0000, 0xff7f00, 0xffff00, 0x7fff00, 0x00ff00, 0x00ff7f, 0x00ffff, 0x007fff,
                                   0x0000ff, 0x7f00ff, 0xff00ff, 0xff007f, 0x000000, 0x3f3f3f, 0x7f7f7f, 0xffffff};
    // Mirror editing: bit 0, 1, 2 for the x, y, z planes, and each plane's
    // position (twice its coordinate, 0..198); values out of range read as off
    // and the middle.
    std::int32_t mirrorPlanes = 0;
    std::int32_t mirrorX = kMirrorMiddle;
    std::int32_t mirrorY = kMirrorMiddle;
    std::int32_t mirrorZ = kMirrorMiddle;
    // The view's backdrop: the reference picture's opacity in percent (0..100)
    // and the floor grid (1 on); other values read as the defaults.
    std::int32_t referenceOpacity = kDefaultReferenceOpacity;
    std::int32_t floorGrid = 0;
    std::int32_t orthographic = 0;  // the view's projection: 1 parallel, other values perspective
    // The display's looks, 1 on; any other value reads as off.
    std::int32_t ambientOcclusion = 0;
    std::int32_t cellEdges = 0;
    std::vector<std::string> recentFiles;  // Open recent, newest first (absolute paths, UTF-8)
};

// The client area of a full-screen window, which bounds the saved placement.
struct ScreenSize {
    int width = 0, height = 0;
};

// Takes the values of the lines that match a key; other lines are ignored.
void parseSettings(std::u16string_view text, Settings& settings);

// Brings the window values into the ranges the screen allows.
void clampWindowSettings(Settings& settings, ScreenSize screen);

// The file's exact bytes.
std::string formatSettings(const Settings& settings);

// The file's bytes read into `settings` (values clamped to the screen).
void parseSettingsFile(const std::string& bytes, Settings& settings, ScreenSize screen);

// Returns 1 when the file was read (values clamped to the screen), 0 when it
// could not be opened or is no settings file (a folder, a device, larger than
// 1 MB): the values stay as they are.
int readSettings(const std::filesystem::path& file, Settings& settings, ScreenSize screen);

// Creates the folder if needed and writes the file atomically. Returns 1, or
// 0 with `reason`.
int writeSettings(const std::filesystem::path& folder, const Settings& settings, std::string& reason);

}  // namespace cubrik
