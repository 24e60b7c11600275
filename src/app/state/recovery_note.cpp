#include "app/state/recovery_note.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "formats/file_format.h"
#include "io/percent_encoding.h"
#include "io/text_format.h"

namespace cubrik {
namespace {

bool savablePath(const std::string& path) {
    const FileFormat* format = formatOf(path);
    return std::filesystem::path(path).is_absolute() && format != nullptr && isNativeFormat(*format);
}

}  // namespace

std::string formatRecoveryNote(const RecoveryNote& note) {
    std::string text = "path=" + percentEncode(note.path) + "\ntitle=" + percentEncode(note.title) + "\nuntitled=";
    appendInt(text, note.untitled);
    char time[40];
    std::snprintf(time, sizeof time, "%.3f", note.time);
    return text + "\ntime=" + time + "\n";
}

RecoveryNote parseRecoveryNote(std::string_view text) {
    RecoveryNote note;
    bool pathGiven = false;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
        const std::optional<std::string> decoded = percentDecode(value);
        if (key == "path" && decoded && !decoded->empty()) {
            note.path = *decoded;
            pathGiven = true;
        }
        if (key == "title" && decoded) note.title = *decoded;
        if (key == "untitled" && (value == "0" || value == "1")) note.untitled = value == "1";
        if (key == "time") {
            const std::string number(value);
            char* stop = nullptr;
            const double time = std::strtod(number.c_str(), &stop);
            if (stop != number.c_str() && *stop == '\0' && std::isfinite(time)) note.time = time;
        }
    }
    if (!note.untitled && (!pathGiven || !savablePath(note.path))) {
        note.untitled = 1;
        note.path = note.title + ".cbk";
    }
    return note;
}

}  // namespace cubrik
