#include "formats/file_format.h"

#include <algorithm>
#include <iterator>

#include "formats/collada_export.h"
#include "formats/gltf_export.h"
#include "formats/image/png_image.h"
#include "formats/image/targa.h"
#include "formats/metasequoia_export.h"
#include "formats/obj_export.h"
#include "formats/ply_export.h"
#include "formats/qb_file.h"
#include "formats/stl_export.h"
#include "formats/threemf_export.h"
#include "formats/vox_file.h"
#include "io/path_names.h"

namespace cubrik {
namespace {

int readNativeModel(const std::filesystem::path& path, ModelFileContents& out, ReadReport& report,
                    std::string& reason) {
    report = {};
    return loadModelFile(path, out, reason);
}

// The readers of other editors' files, whose colours come down to the two palettes.
template <int (*load)(const std::filesystem::path&, VoxContents&, std::string&)>
int readForeignModel(const std::filesystem::path& path, ModelFileContents& out, ReadReport& report,
                     std::string& reason) {
    VoxContents contents;
    if (!load(path, contents, reason)) return 0;
    std::copy(std::begin(contents.paletteA), std::end(contents.paletteA), out.paletteA);
    std::copy(std::begin(contents.paletteB), std::end(contents.paletteB), out.paletteB);
    out.cells = std::move(contents.cells);
    report = {contents.coloursMerged, std::move(contents.notes)};
    return 1;
}

constexpr FileFormat kFormats[] = {
    {"cbk", "Cubrik(*.cbk)", "Cubrik(*.cbk)", readNativeModel, writeModelFile},
    {"vox", "MagicaVoxel(*.vox)", "MagicaVoxel(*.vox)", readForeignModel<loadVoxFile>, writeVoxFile},
    {"obj", "Wavefront(*.obj)", "Wavefront(*.obj)", nullptr, nullptr, exportObj},
    {"dae", "COLLADA 1.4.1(*.dae)", "COLLADA 1.4.1(*.dae)", nullptr, nullptr, exportCollada},
    {"mqo", "Metasequoia(*.mqo)", "メタセコイヤ(*.mqo)", nullptr, nullptr, exportMetasequoia},
    {"glb", "glTF 2.0 binary(*.glb)", "glTF 2.0 バイナリ(*.glb)", nullptr, nullptr, exportGlb},
    {"stl", "STL(*.stl)", "STL(*.stl)", nullptr, nullptr, exportStl, nullptr, true, exportStlColourParts},
    {"3mf", "3MF(*.3mf)", "3MF(*.3mf)", nullptr, nullptr, export3mf, nullptr, true, export3mfColourParts, true},
    {"ply", "PLY(*.ply)", "PLY(*.ply)", nullptr, nullptr, exportPly},
    {"qb", "Qubicle(*.qb)", "Qubicle(*.qb)", readForeignModel<loadQbFile>, writeQbFile},
    {"png", "PNG(*.png)", "PNG(*.png)", nullptr, nullptr, nullptr, writePng},
    {"tga", "TARGA(*.tga)", "TARGA(*.tga)", nullptr, nullptr, nullptr, writeTarga},
};

}  // namespace

std::span<const FileFormat> fileFormats() { return kFormats; }

bool isNativeFormat(const FileFormat& format) { return &format == &kFormats[0]; }

const FileFormat* formatOf(std::string_view path) {
    const std::string_view extension = extensionOf(path);
    for (const FileFormat& format : kFormats)
        if (extensionStartsWith(path, format.extension) &&
            std::min<std::size_t>(extension.size(), 3) == format.extension.size())
            return &format;
    return nullptr;
}

int readAnyModelFile(const std::filesystem::path& path, ModelFileContents& out, ReadReport& report,
                     std::string& reason) {
    const FileFormat* format = formatOf(path.string());
    const ModelReader read = format != nullptr && format->read != nullptr ? format->read : kFormats[0].read;
    return read(path, out, report, reason);
}

std::string extensionList(bool (*wanted)(const FileFormat&), std::string_view separator,
                          std::string_view lastSeparator) {
    std::string list;
    const auto count = std::count_if(std::begin(kFormats), std::end(kFormats), wanted);
    int written = 0;
    for (const FileFormat& format : kFormats) {
        if (!wanted(format)) continue;
        if (written > 0) list += written == count - 1 ? lastSeparator : separator;
        list += '.';
        list += format.extension;
        ++written;
    }
    return list;
}

}  // namespace cubrik
