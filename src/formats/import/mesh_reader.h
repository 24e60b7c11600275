#pragma once
// Mesh files read into a triangle soup: OBJ (with its MTL), STL, PLY, glTF
// (.gltf, .glb) and COLLADA through Assimp, with vertex colours, material
// colours and textures; 3MF by our own reader, with each triangle's colour.

#include <filesystem>
#include <string>
#include <string_view>

#include "formats/import/triangle_soup.h"
#include "formats/import/voxelize.h"

namespace cubrik {

// Whether `path` names a mesh file the importer reads, by its extension in any letter case.
bool isMeshFile(std::string_view path);

// ".obj, .stl, ... or .3mf": the extensions isMeshFile accepts.
std::string meshExtensionList(std::string_view separator, std::string_view lastSeparator);

// Reads every triangle of the file, placed by the file's node transforms and
// turned into the model's axes (STL and 3MF stand z up). Returns 1, or 0 with
// `reason`: not a mesh, more than kMostImportedTriangles triangles, or
// cancelled through `control`.
int readMeshFile(const std::filesystem::path& path, TriangleSoup& soup, std::string& reason,
                 const ImportControl& control = {});

}  // namespace cubrik
