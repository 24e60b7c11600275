#pragma once
// The Open recent list: up to eight models opened or saved as .cbk, newest
// first, kept in the settings file as "recentFile=PATH" lines.

#include <string>
#include <string_view>
#include <vector>

namespace cubrik {

inline constexpr std::size_t kMaxRecentFiles = 8;

// Puts `path` (made absolute) first; an older entry of the same file and any
// past the eighth go.
void rememberRecentFile(std::vector<std::string>& list, const std::string& path);

// Takes `path` off the list; false when it was not on it.
bool forgetRecentFile(std::vector<std::string>& list, const std::string& path);

// The "recentFile=" lines of settings text, in order; damaged or empty
// entries are skipped and at most eight kept.
std::vector<std::string> parseRecentFiles(std::u16string_view text);

// The lines for `list` as UTF-16 little-endian bytes, each ending CR LF.
std::string formatRecentFiles(const std::vector<std::string>& list);

}  // namespace cubrik
