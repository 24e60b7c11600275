#pragma once
// The native model file: "#CUBIC-100", the two palettes as "%06x" colour
// lines, then 100 slices of 100 rows of 100 cell characters, CR LF line ends.
// Slices run from the front (z = 99) to the back, rows from the top (y = 99).

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/voxel_model.h"

namespace cubrik {

// What a model file holds.
struct ModelFileContents {
    Rgb paletteA[kPaletteSize];
    Rgb paletteB[kPaletteSize];
    std::vector<std::uint8_t> cells;  // kCellCount codes
};

// The file's exact bytes for the model's palettes and cells.
std::string formatModelFile(const VoxelModel& model);

// Parses a whole file. Returns 1 with `out` filled, or 0 with `reason` naming
// the line and what was wrong ("line 37: expected \"#SLICE\"").
int parseModelFile(std::string_view text, ModelFileContents& out, std::string& reason);

// Reads and parses a whole file. Returns 1, or 0 with `reason` naming the
// file, the line and what was wrong.
int loadModelFile(const std::filesystem::path& path, ModelFileContents& out, std::string& reason);

// Replaces the model's palettes and cells with what a file held.
void applyModelFile(const ModelFileContents& contents, VoxelModel& model);

// Reads the file into the model's palettes and cells. The model changes only
// when the whole file was read; otherwise 0 with `reason`.
int readModelFile(const std::filesystem::path& path, VoxelModel& model, std::string& reason);

// Writes the file atomically: on failure (0 with `reason`) the previous file
// at `path` is left as it was.
int writeModelFile(const std::filesystem::path& path, const VoxelModel& model, std::string& reason);

}  // namespace cubrik
