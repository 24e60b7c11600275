#include "app/state/recent_files.h"

#include <algorithm>
#include <utility>

#include "io/path_names.h"

namespace cubrik {
namespace {

constexpr std::u16string_view kKey = u"recentFile=";

// Paths are bytes in the program, UTF-8 where they are text, and UTF-16 in
// the settings file. A byte that is not part of a UTF-8 character travels as
// the lone surrogate U+DC80..U+DCFF, so every file name comes back as it was.
constexpr char16_t kEscapedByte = 0xdc00;

bool utf16ToUtf8(std::u16string_view in, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        char32_t c = in[i];
        if (c >= 0xd800 && c < 0xdc00) {
            if (i + 1 >= in.size() || in[i + 1] < 0xdc00 || in[i + 1] >= 0xe000) return false;
            c = 0x10000 + ((c - 0xd800) << 10) + (in[++i] - 0xdc00);
        } else if (c >= kEscapedByte + 0x80 && c <= kEscapedByte + 0xff) {
            out += static_cast<char>(c - kEscapedByte);
            continue;
        } else if (c >= 0xdc00 && c < 0xe000) {
            return false;
        }
        if (c == 0) return false;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xc0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3f));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xe0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3f));
            out += static_cast<char>(0x80 | (c & 0x3f));
        } else {
            out += static_cast<char>(0xf0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3f));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3f));
            out += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    return true;
}

// The character of the well-formed UTF-8 sequence at `in[i]` and its length;
// a length of 0 when the byte there starts none.
std::pair<char32_t, int> utf8CharacterAt(std::string_view in, std::size_t i) {
    const unsigned char lead = static_cast<unsigned char>(in[i]);
    const int extra = lead < 0x80 ? 0 : lead >= 0xf0 && lead < 0xf5 ? 3 : lead >= 0xe0 && lead < 0xf0 ? 2
                                                                          : lead >= 0xc2 && lead < 0xe0 ? 1 : -1;
    if (extra < 0 || i + extra >= in.size()) return {0, 0};
    char32_t c = extra == 0 ? lead : lead & (0x3f >> extra);
    for (int k = 1; k <= extra; ++k) {
        const unsigned char next = static_cast<unsigned char>(in[i + k]);
        if ((next & 0xc0) != 0x80) return {0, 0};
        c = c << 6 | (next & 0x3f);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[extra] || (c >= 0xd800 && c < 0xe000) || c > 0x10ffff) return {0, 0};
    return {c, extra + 1};
}

std::u16string utf8ToUtf16(std::string_view in) {
    std::u16string out;
    for (std::size_t i = 0; i < in.size();) {
        const auto [c, length] = utf8CharacterAt(in, i);
        if (length == 0) {
            out += static_cast<char16_t>(kEscapedByte + static_cast<unsigned char>(in[i++]));
            continue;
        }
        i += static_cast<std::size_t>(length);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xd800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xdc00 + ((c - 0x10000) & 0x3ff));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

}  // namespace

void rememberRecentFile(std::vector<std::string>& list, const std::string& path) {
    const std::string entry = absolutePath(path);
    list.erase(std::remove(list.begin(), list.end(), entry), list.end());
    list.insert(list.begin(), entry);
    if (list.size() > kMaxRecentFiles) list.resize(kMaxRecentFiles);
}

bool forgetRecentFile(std::vector<std::string>& list, const std::string& path) {
    const auto end = std::remove(list.begin(), list.end(), absolutePath(path));
    const bool found = end != list.end();
    list.erase(end, list.end());
    return found;
}

std::vector<std::string> parseRecentFiles(std::u16string_view text) {
    std::vector<std::string> list;
    for (std::size_t at = 0; at < text.size() && list.size() < kMaxRecentFiles;) {
        std::size_t end = text.find(u'\n', at);
        if (end == std::u16string_view::npos) end = text.size();
        std::u16string_view line = text.substr(at, end - at);
        at = end + 1;
        while (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
        if (line.substr(0, kKey.size()) != kKey) continue;
        std::string path;
        if (!utf16ToUtf8(line.substr(kKey.size()), path) || path.empty()) continue;
        if (std::find(list.begin(), list.end(), path) == list.end()) list.push_back(path);
    }
    return list;
}

std::string formatRecentFiles(const std::vector<std::string>& list) {
    std::string bytes;
    for (const std::string& path : list) {
        if (path.find_first_of("\r\n") != std::string::npos) continue;
        const std::u16string line = std::u16string(kKey) + utf8ToUtf16(path) + u"\r\n";
        for (char16_t unit : line) {
            bytes += static_cast<char>(unit & 0xff);
            bytes += static_cast<char>(unit >> 8);
        }
    }
    return bytes;
}

}  // namespace cubrik
