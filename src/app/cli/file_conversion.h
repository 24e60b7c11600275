#pragma once
// `cubrik --export`: reads a model file and writes it again, or exports it,
// through the format table the window's Open and Save as use.

#include <string>

#include "formats/import/voxelize.h"
#include "model/voxel_model.h"

namespace cubrik {

// Fills a fresh `store` with the model in `path`, read by its format. Returns
// 1, or 0 with `reason`.
int loadModelInto(const std::string& path, ModelStore& store, std::string& reason);

// How --export reads and writes: a mesh is smoothed unless `flat`; a cell is
// `cellMillimetres` wide in the formats measured in millimetres; a part per
// colour where `colourParts` (for the formats that have them); a picture input
// becomes cells `pictureThickness` deep; a mesh input is voxelized by `meshImport`.
struct ConversionOptions {
    bool flat = false;
    double cellMillimetres = 1.0;
    bool colourParts = false;
    int pictureThickness = 1;
    VoxelizeOptions meshImport{};
};

// The output type follows the extension of `outputPath`. Returns 1 when the
// output was written, else 0 with `reason`; nothing is written on failure.
int convertModelFile(const std::string& inputPath, const std::string& outputPath, const ConversionOptions& options,
                     std::string& reason);

}  // namespace cubrik
