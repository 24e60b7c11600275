#pragma once
// 3MF packages read on our own rather than through Assimp, whose reader gives
// an object one material: the zip through minizip, the model part through
// expat, every triangle placed by its components and build items, with the
// colours of its base materials or colour group per corner.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "formats/import/triangle_soup.h"
#include "formats/import/voxelize.h"

namespace cubrik {

// Reads the package at `path`, or in `package`, into `soup`, z up turned into
// y up. Returns 1, or 0 with `reason`: not a zip, a damaged entry or model,
// a model part over 2 GB or over kMostImportedTriangles triangles placed,
// or cancelled through `control`.
int readThreeMfFile(const std::filesystem::path& path, TriangleSoup& soup, std::string& reason,
                    const ImportControl& control = {});
int readThreeMf(std::span<const std::uint8_t> package, TriangleSoup& soup, std::string& reason,
                const ImportControl& control = {});

}  // namespace cubrik
