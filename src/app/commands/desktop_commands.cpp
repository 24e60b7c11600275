#include "app/commands/desktop_commands.h"

#include <filesystem>

#include "app/commands/document_commands.h"
#include "app/commands/window_status.h"
#include "app/state/recent_files.h"
#include "formats/file_format.h"

namespace cubrik {

bool isOpenableModel(const std::string& path) {
    const FileFormat* format = formatOf(path);
    std::error_code ec;
    return format != nullptr && isReadable(*format) && std::filesystem::is_regular_file(path, ec);
}

void openRecent(App& app, int index) {
    const std::vector<std::string>& list = app.settings.recentFiles;
    if (index < 0 || index >= static_cast<int>(list.size())) return;
    const std::string path = list[static_cast<std::size_t>(index)];  // a copy: opening reorders the list
    openDocumentFile(app, path);
}

void dropFile(App& app, const std::string& path) {
    const FileFormat* format = formatOf(path);
    if (format == nullptr || !isReadable(*format)) {
        setStatusNote(app, fillIn(app.strings().droppedNotModel, path));
        return;
    }
    openDocumentFile(app, path);
}

void rememberRecent(App& app, const std::string& path) {
    rememberRecentFile(app.settings.recentFiles, path);
    app.platform.setRecentFiles(app.settings.recentFiles);
}

bool forgetRecent(App& app, const std::string& path) {
    if (!forgetRecentFile(app.settings.recentFiles, path)) return false;
    app.platform.setRecentFiles(app.settings.recentFiles);
    return true;
}

void noteStartupProblem(App& app, const std::string& lead, const std::string& reason) {
    std::string text = lead;
    if (!reason.empty()) {  // "Cannot open a.cbk: there is no such file"
        if (!text.empty() && (text.back() == '.')) text.pop_back();
        text += ": " + reason;
    }
    app.status.startupProblem = text;
    setStatusNote(app, text);
}

}  // namespace cubrik
