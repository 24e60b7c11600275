#include "app/state/settings.h"

#include <algorithm>
#include <limits>

#include "app/state/recent_files.h"
#include "io/atomic_file.h"
#include "io/regular_file.h"
#include "io/text_format.h"

namespace cubrik {
namespace {

// Lines are read in pieces of at most this many UTF-16 units.
constexpr std::size_t kMaxLineUnits = 291;
// The file as written is about a dozen short lines and eight paths, under
// 70 KB in UTF-16 however long the paths; a larger file is no settings file.
constexpr std::uint64_t kMaxFileBytes = 1 << 20;

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r'; }

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// A signed decimal after optional blanks; whatever follows is ignored.
bool parseDecimal(std::u16string_view text, std::int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    const std::size_t firstDigit = i;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        magnitude = std::min<long long>(magnitude * 10 + (text[i] - u'0'), 1LL << 32);
    if (i == firstDigit) return false;
    const long long signedValue = negative ? -magnitude : magnitude;
    value = static_cast<std::int32_t>(std::clamp<long long>(signedValue, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
    return true;
}

// Sixteen hexadecimal numbers of up to six digits each, blanks between.
bool parseColours(std::u16string_view text, std::uint32_t (&colours)[16]) {
    std::uint32_t parsed[16];
    std::size_t i = 0;
    for (std::uint32_t& colour : parsed) {
        while (i < text.size() && isBlank(text[i])) ++i;
        colour = 0;
        int digits = 0;
        for (; i < text.size() && digits < 6 && hexValue(text[i]) >= 0; ++i, ++digits)
            colour = colour * 16 + static_cast<std::uint32_t>(hexValue(text[i]));
        if (digits == 0) return false;
    }
    std::copy(std::begin(parsed), std::end(parsed), colours);
    return true;
}

// The value text of `line` when it starts with `key` and "=".
bool valueOf(std::u16string_view line, std::string_view key, std::u16string_view& value) {
    if (line.size() <= key.size() || line[key.size()] != u'=') return false;
    for (std::size_t i = 0; i < key.size(); ++i)
        if (line[i] != static_cast<char16_t>(key[i])) return false;
    value = line.substr(key.size() + 1);
    return true;
}

void applyLine(std::u16string_view line, Settings& s) {
    struct NumberKey {
        const char* key;
        std::int32_t Settings::*field;
    };
    static constexpr NumberKey kNumbers[] = {
        {"windowX", &Settings::windowX},           {"windowY", &Settings::windowY},
        {"windowWidth", &Settings::windowWidth},   {"windowHeight", &Settings::windowHeight},
        {"windowMaximized", &Settings::windowMaximized}, {"backgroundColor", &Settings::backgroundColor},
        {"mirrorPlanes", &Settings::mirrorPlanes}, {"mirrorX", &Settings::mirrorX},
        {"mirrorY", &Settings::mirrorY}, {"mirrorZ", &Settings::mirrorZ},
    };
    std::u16string_view value;
    for (const NumberKey& number : kNumbers)
        if (valueOf(line, number.key, value) && parseDecimal(value, s.*number.field)) return;
    if (valueOf(line, "autosaveSeconds", value)) {
        // A negative interval is damage, not a wish: the default stays.
        std::int32_t seconds = 0;
        if (parseDecimal(value, seconds) && seconds >= 0) s.autosaveSeconds = seconds;
        return;
    }
    if (valueOf(line, "referenceOpacity", value)) {
        std::int32_t percent = 0;
        s.referenceOpacity = parseDecimal(value, percent) && percent >= 0 && percent <= 100 ? percent
                                                                                            : kDefaultReferenceOpacity;
        return;
    }
    // Switches of the view: 1 on, anything else off.
    static constexpr NumberKey kSwitches[] = {
        {"floorGrid", &Settings::floorGrid},
        {"orthographic", &Settings::orthographic},
        {"ambientOcclusion", &Settings::ambientOcclusion},
        {"cellEdges", &Settings::cellEdges},
    };
    for (const NumberKey& toggle : kSwitches)
        if (valueOf(line, toggle.key, value)) {
            std::int32_t on = 0;
            s.*toggle.field = parseDecimal(value, on) && on == 1 ? 1 : 0;
            return;
        }
    if (valueOf(line, "undoSteps", value)) {
        // Only a depth the menu offers; any other value is damage.
        std::int32_t steps = 0;
        if (parseDecimal(value, steps) && std::ranges::find(kUndoStepChoices, steps) != std::end(kUndoStepChoices))
            s.undoSteps = steps;
        return;
    }
    if (valueOf(line, "materialA", value) && parseColours(value, s.materialA)) return;
    if (valueOf(line, "materialB", value)) parseColours(value, s.materialB);
}

void appendUtf16(std::string& out, std::string_view ascii) {
    for (char c : ascii) {
        out.push_back(c);
        out.push_back('\0');
    }
}

std::u16string decodeUtf16Le(const std::string& bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return units;
}

}  // namespace

void parseSettings(std::u16string_view text, Settings& settings) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t limit = std::min(text.size(), pos + kMaxLineUnits);
        std::size_t end = pos;
        while (end < limit && text[end] != u'\n') ++end;
        const std::size_t next = end < limit ? end + 1 : end;
        applyLine(text.substr(pos, next - pos), settings);
        pos = next;
    }
}

void clampWindowSettings(Settings& s, ScreenSize screen) {
    s.windowX = std::clamp(s.windowX, -16, std::max(-16, screen.width - 16));
    s.windowY = std::clamp(s.windowY, -16, std::max(-16, screen.height - 16));
    s.windowWidth = std::clamp(s.windowWidth, 460, std::max(460, screen.width));
    s.windowHeight = std::clamp(s.windowHeight, 460, std::max(460, screen.height));
    if (s.windowMaximized != 0 && s.windowMaximized != 1) s.windowMaximized = 0;
}

std::string formatSettings(const Settings& s) {
    std::string text;
    const auto line = [&text](const char* key, std::int32_t value) {
        text.append(key).append("=");
        appendInt(text, value);
        text.append("\r\n");
    };
    line("windowX", s.windowX);
    line("windowY", s.windowY);
    line("windowWidth", s.windowWidth);
    line("windowHeight", s.windowHeight);
    line("windowMaximized", s.windowMaximized);
    line("backgroundColor", s.backgroundColor);
    for (const auto* palette : {&s.materialA, &s.materialB}) {
        text += palette == &s.materialA ? "materialA=" : "materialB=";
        for (int i = 0; i < 16; ++i) {
            if (i > 0) text += ' ';
            appendHex6(text, (*palette)[i]);
        }
        text += "\r\n";
    }
    // Only when changed, so the file stays as other versions of the program write it.
    if (s.autosaveSeconds != kDefaultAutosaveSeconds) line("autosaveSeconds", s.autosaveSeconds);
    if (s.undoSteps != kUndoStepChoices[0]) line("undoSteps", s.undoSteps);
    if (s.mirrorPlanes != 0 || s.mirrorX != kMirrorMiddle || s.mirrorY != kMirrorMiddle || s.mirrorZ != kMirrorMiddle) {
        line("mirrorPlanes", s.mirrorPlanes);
        line("mirrorX", s.mirrorX);
        line("mirrorY", s.mirrorY);
        line("mirrorZ", s.mirrorZ);
    }
    if (s.referenceOpacity != kDefaultReferenceOpacity) line("referenceOpacity", s.referenceOpacity);
    if (s.floorGrid != 0) line("floorGrid", s.floorGrid);
    if (s.orthographic != 0) line("orthographic", s.orthographic);
    if (s.ambientOcclusion != 0) line("ambientOcclusion", s.ambientOcclusion);
    if (s.cellEdges != 0) line("cellEdges", s.cellEdges);
    std::string bytes = "\xff\xfe";  // byte-order mark
    appendUtf16(bytes, "@\r\n");
    appendUtf16(bytes, text);
    return bytes + formatRecentFiles(s.recentFiles);
}

int readSettings(const std::filesystem::path& file, Settings& settings, ScreenSize screen) {
    std::string bytes, reason;
    if (!readRegularFile(file, {kMaxFileBytes}, bytes, reason)) return 0;
    parseSettingsFile(bytes, settings, screen);
    return 1;
}

void parseSettingsFile(const std::string& bytes, Settings& settings, ScreenSize screen) {
    const std::u16string text = decodeUtf16Le(bytes);
    parseSettings(text, settings);
    // Read from the file only: a session's setting lines never bring paths of this machine.
    settings.recentFiles = parseRecentFiles(text);
    clampWindowSettings(settings, screen);
}

int writeSettings(const std::filesystem::path& folder, const Settings& settings, std::string& reason) {
    std::error_code ec;
    // The per-user data folder itself may be missing on a fresh account.
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        reason = "cannot create " + folder.string() + ": " + ec.message();
        return 0;
    }
    return writeFileAtomically(folder / kSettingsFileName, formatSettings(settings), reason);
}

}  // namespace cubrik
