#include "formats/export_text.h"

#include <memory>
#include <new>

#include "io/text_format.h"

namespace cubrik {
namespace {

// The writer buffers as well; this only keeps the appends cheap.
constexpr std::size_t kHandOnSize = 1 << 16;

}  // namespace

void put(ExportText& text, std::string_view templateText) {
    for (std::size_t start = 0; start < templateText.size();) {
        const std::size_t end = templateText.find('\n', start);
        if (end == std::string_view::npos) {
            text.buffer.append(templateText.substr(start));
            break;
        }
        text.buffer.append(templateText.substr(start, end - start));
        text.buffer.append("\r\n");
        start = end + 1;
    }
    handOn(text);
}

void handOn(ExportText& text) {
    if (text.buffer.size() < kHandOnSize) return;
    text.file.write(text.buffer);
    text.buffer.clear();
}

namespace {

// Opens `file`, runs `writeBody` into it and finishes it, not yet in place.
// Returns 1, or 0 with `reason`; the file is then abandoned.
int writeBodyInto(AtomicFileWriter& file, const std::function<void(ExportText&)>& writeBody, std::string& reason) {
    if (!file.open()) {
        reason = file.error();
        return 0;
    }
    try {
        ExportText text{file, {}};
        writeBody(text);
        file.write(text.buffer);
    } catch (const std::bad_alloc&) {
        file.abandon();
        reason = "out of memory while exporting " + file.target().string();
        return 0;
    }
    if (!file.finish()) {
        reason = file.error();
        return 0;
    }
    return 1;
}

}  // namespace

int writeExportFile(const std::filesystem::path& path, const MeshSource& source, std::string& reason,
                    const std::function<void(ExportText&)>& writeBody, AtomicFileWriter* companion) {
    AtomicFileWriter file(path);
    if (source.smooth) refreshCornerCodes(source.model.cells, source.cornerCodes);
    if (!writeBodyInto(file, writeBody, reason)) return 0;
    if (companion != nullptr && !companion->commit()) {
        reason = companion->error();
        return 0;
    }
    if (!file.commit()) {
        reason = file.error();
        return 0;
    }
    return 1;
}

int writeExportFiles(const std::vector<std::filesystem::path>& paths, const MeshSource& source, std::string& reason,
                     const std::function<void(std::size_t, ExportText&)>& writeBody) {
    if (source.smooth) refreshCornerCodes(source.model.cells, source.cornerCodes);
    std::vector<std::unique_ptr<AtomicFileWriter>> files;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        files.push_back(std::make_unique<AtomicFileWriter>(paths[i]));
        if (!writeBodyInto(*files.back(), [&](ExportText& text) { writeBody(i, text); }, reason)) return 0;
    }
    for (const auto& file : files)
        if (!file->commit()) {
            reason = file->error();
            return 0;
        }
    return 1;
}

void appendTriple(std::string& out, double a, double b, double c, int decimals) {
    appendFixed(out, a, decimals);
    out.push_back(' ');
    appendFixed(out, b, decimals);
    out.push_back(' ');
    appendFixed(out, c, decimals);
}

void appendMaterialName(std::string& out, std::string_view prefix, Material material, int colour) {
    out.append(prefix);
    out.push_back(materialLetter(material));
    appendZeroPadded(out, colour, 2);
}

}  // namespace cubrik
