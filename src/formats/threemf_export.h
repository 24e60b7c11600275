#pragma once
// 3MF, for slicers that print in colour: a zip package (written by lib3mf)
// holding the surface in millimetres, z up, as the STL export has it, with a
// base material per colour the cells use, named "A01" and shown in its sRGB
// colour, and every triangle carrying the colour of its cell.

#include <filesystem>
#include <string>

#include "formats/mesh_extraction.h"

namespace cubrik {

// One closed object, outward-facing, its vertices shared: every edge belongs
// to exactly two triangles. Returns 1, or 0 with `reason` (also for a model
// without cells); an earlier file at `path` is then left as it was.
int export3mf(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason);

// The same with one object per colour, named by its colour and closed on its
// own: the faces between two colours are in both objects, facing out of each,
// so a slicer can give each colour its own extruder.
int export3mfColourParts(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
                         std::string& reason);

}  // namespace cubrik
