#pragma once
// `cubrik --export`: reads a model file and writes it again, or exports it,
// through the same functions the window's Open and Save as use.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "export/mesh_extraction.h"
#include "model/model_file.h"

namespace cubrik {

using MeshWriter = int (*)(MeshExtractor&, const MeshSource&, const std::filesystem::path&, std::string&);

// The mesh writer Save as and --export choose for `path`: by the first three
// characters of its extension, in any letter case; none for other names.
MeshWriter meshWriterFor(const std::string& path);

using ImageWriter = int (*)(const std::filesystem::path&, int, int, std::span<const std::uint8_t>, std::string&);

// The image writer Export an image and --render choose for `path`: TARGA or
// PNG by its extension; none for other names.
ImageWriter imageWriterFor(const std::string& path);

// Whether `path` ends in .qb, in any letter case; .qbt and .qbcl are other formats.
bool isQbFileName(const std::string& path);

// Whether Open and the command line read `path` as a model: .cbk, .vox or .qb.
bool isModelFileName(const std::string& path);

// Reads a .cbk file, or a .vox or .qb file by its extension. `coloursMerged` says
// that a .vox file had more colours than the two palettes hold; `notes`, when
// given, receives what reading did (models merged, rotations applied, colours
// reduced), empty for a plain file. Returns 1, or 0 with `reason`.
int loadAnyModelFile(const std::string& path, ModelFileContents& out, bool& coloursMerged, std::string& reason,
                     std::string* notes = nullptr);

// The output type follows the extension of `outputPath`. Returns 1 when the
// output was written, else 0 with `reason`; nothing is written on failure.
// Mesh exports are smoothed unless `flat`.
int convertModelFile(const std::string& inputPath, const std::string& outputPath, bool flat,
                     std::string& reason);

}  // namespace cubrik
