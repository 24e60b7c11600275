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

// The output type follows the extension of `outputPath`. A mesh file as input
// is voxelized by `meshImport` in the default palettes. Returns 1 when the
// output was written, else 0 with `reason`; nothing is written on failure.
// Mesh exports are smoothed unless `flat`; those in millimetres make a cell
// `cellMillimetres` wide.
int convertModelFile(const std::string& inputPath, const std::string& outputPath, bool flat,
                     double cellMillimetres, const VoxelizeOptions& meshImport, std::string& reason);

}  // namespace cubrik
