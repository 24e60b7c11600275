#pragma once
// Every file type Cubrik reads or writes, in one table: Open, Save as, Export
// an image, --export, --render, the dialog filters and the usage text all
// choose through it. A new format is one entry here plus its own file.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "formats/mesh_extraction.h"
#include "model/model_file.h"

namespace cubrik {

// What reading a model file did besides reading it.
struct ReadReport {
    bool coloursMerged = false;  // the file had more colours than the two palettes hold
    std::string notes;           // e.g. "3 models merged; rotations applied to 3 models"; empty for a plain file
};

// Reads a model file. Returns 1, or 0 with `reason`.
using ModelReader = int (*)(const std::filesystem::path&, ModelFileContents&, ReadReport&, std::string&);
// Writes the cells and palettes as they are. Returns 1, or 0 with `reason`.
using ModelWriter = int (*)(const std::filesystem::path&, const VoxelModel&, std::string&);
// Writes the quad mesh of both materials. Returns 1, or 0 with `reason`.
using MeshWriter = int (*)(MeshExtractor&, const MeshSource&, const std::filesystem::path&, std::string&);
// Writes blue, green, red, alpha pixels, rows bottom to top. Returns 1, or 0 with `reason`.
using ImageWriter = int (*)(const std::filesystem::path&, int, int, std::span<const std::uint8_t>, std::string&);

struct FileFormat {
    std::string_view extension;      // "cbk": the first three letters of a name's extension, in any letter case
    std::string_view filterLabel;    // the file dialogs' filter, "Cubrik(*.cbk)"
    std::string_view filterLabelJa;  // the same under a Japanese locale
    ModelReader read = nullptr;      // set for what Open reads
    ModelWriter writeModel = nullptr;
    MeshWriter writeMesh = nullptr;
    ImageWriter writeImage = nullptr;
    bool inMillimetres = false;      // a mesh measured in millimetres, whose cell size --scale sets
    MeshWriter writeColourParts = nullptr;  // a part per colour instead: --split-colours
    bool saveAsAsksForParts = false;        // Save as asks whether to write a part per colour

    bool writesModel() const { return writeModel != nullptr || writeMesh != nullptr; }
};

// The table, in the order the dialogs list the formats; the first is the
// program's own model file.
std::span<const FileFormat> fileFormats();

// Whether `format` is the program's own model file, the one Save keeps writing to.
bool isNativeFormat(const FileFormat& format);

// The format named by the first three letters of the extension of `path`,
// in any letter case; null for other names.
const FileFormat* formatOf(std::string_view path);

// Reads the model in `path` by its format; a name of no readable format is
// read as the program's own file. Returns 1, or 0 with `reason`.
int readAnyModelFile(const std::filesystem::path& path, ModelFileContents& out, ReadReport& report,
                     std::string& reason);

// The extensions of the formats `wanted` accepts, each with its dot, joined
// by `separator` and, before the last, `lastSeparator`: ".cbk, .vox or .obj".
std::string extensionList(bool (*wanted)(const FileFormat&), std::string_view separator,
                          std::string_view lastSeparator);

inline bool isReadable(const FileFormat& format) { return format.read != nullptr; }
inline bool isWritableModel(const FileFormat& format) { return format.writesModel(); }
inline bool isExport(const FileFormat& format) { return format.writesModel() && !isNativeFormat(format); }
inline bool isImage(const FileFormat& format) { return format.writeImage != nullptr; }

}  // namespace cubrik
