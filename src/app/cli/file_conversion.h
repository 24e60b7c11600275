#pragma once
// `cubrik --export`: reads a model file and writes it again, or exports it,
// through the format table the window's Open and Save as use.

#include <string>

#include "model/voxel_model.h"

namespace cubrik {

// Fills a fresh `store` with the model in `path`, read by its format. Returns
// 1, or 0 with `reason`.
int loadModelInto(const std::string& path, ModelStore& store, std::string& reason);

// The output type follows the extension of `outputPath`. Returns 1 when the
// output was written, else 0 with `reason`; nothing is written on failure.
// Mesh exports are smoothed unless `flat`; those in millimetres make a cell
// `cellMillimetres` wide. A picture input becomes cells `pictureThickness` deep.
int convertModelFile(const std::string& inputPath, const std::string& outputPath, bool flat,
                     double cellMillimetres, int pictureThickness, std::string& reason);

}  // namespace cubrik
