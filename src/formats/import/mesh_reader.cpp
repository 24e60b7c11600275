// The one file that speaks to Assimp, for every mesh format but 3MF.
#include "formats/import/mesh_reader.h"

#include <assimp/Importer.hpp>
#include <assimp/ProgressHandler.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <span>

#include "formats/import/threemf_reader.h"

namespace cubrik {
namespace {

constexpr std::string_view kMeshExtensions[] = {"obj", "stl", "ply", "glb", "gltf", "dae", "3mf"};

std::string lowerExtension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
    std::string extension(path.substr(dot + 1));
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// STL, made for 3-D printing, stands its models on the x-y plane.
bool standsZUp(const std::filesystem::path& path) { return lowerExtension(path.string()) == "stl"; }

// glTF gives colour factors and vertex colours in linear light; the palette holds colours as shown.
bool coloursAreLinear(const std::filesystem::path& path) {
    const std::string extension = lowerExtension(path.string());
    return extension == "gltf" || extension == "glb";
}

double displayFromLinear(double c) { return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055; }

std::uint32_t packFloats(float r, float g, float b, bool linear) {
    const auto byte = [linear](float c) {
        return static_cast<std::uint32_t>(std::clamp(std::lround((linear ? displayFromLinear(c) : c) * 255.0), 0L, 255L));
    };
    return byte(r) << 16 | byte(g) << 8 | byte(b);
}

// A texture of the scene (embedded: "*0" or by name) or a picture file beside the model.
int loadTexture(const aiScene& scene, const std::filesystem::path& modelPath, const char* name, Picture& picture) {
    std::string ignored;
    if (const aiTexture* embedded = scene.GetEmbeddedTexture(name)) {
        if (embedded->mHeight == 0) {
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(embedded->pcData);
            return decodePicture(std::span(bytes, embedded->mWidth), picture, ignored);
        }
        picture.width = static_cast<int>(embedded->mWidth);
        picture.height = static_cast<int>(embedded->mHeight);
        picture.rgba.resize(4 * static_cast<std::size_t>(picture.width) * picture.height);
        for (std::size_t i = 0; i < static_cast<std::size_t>(picture.width) * picture.height; ++i) {
            const aiTexel& texel = embedded->pcData[i];
            const std::uint8_t rgba[4] = {texel.r, texel.g, texel.b, texel.a};
            std::copy(rgba, rgba + 4, picture.rgba.begin() + static_cast<std::ptrdiff_t>(4 * i));
        }
        return 1;
    }
    std::string relative(name);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return readPicture(modelPath.parent_path() / relative, kLargestPictureSide, picture, ignored);
}

// The colour every corner of a material gets when its mesh has no vertex
// colours; false for the reader's stand-in material, which means "no colour".
bool materialColour(const aiMaterial& material, bool linear, std::uint32_t& colour) {
    aiString name;
    if (material.Get(AI_MATKEY_NAME, name) == AI_SUCCESS && std::string_view(name.C_Str()) == AI_DEFAULT_MATERIAL_NAME)
        return false;
    aiColor4D diffuse;
    if (material.Get(AI_MATKEY_BASE_COLOR, diffuse) != AI_SUCCESS &&
        material.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse) != AI_SUCCESS)
        return false;
    colour = packFloats(diffuse.r, diffuse.g, diffuse.b, linear);
    return true;
}

// The index of the material's texture in `soup.textures`, loading it on first use; -1 without one.
std::int32_t materialTexture(const aiScene& scene, unsigned materialIndex, const std::filesystem::path& path,
                             std::vector<std::int32_t>& loaded, TriangleSoup& soup) {
    if (loaded[materialIndex] != -2) return loaded[materialIndex];
    loaded[materialIndex] = -1;
    const aiMaterial& material = *scene.mMaterials[materialIndex];
    aiString name;
    for (const aiTextureType type : {aiTextureType_BASE_COLOR, aiTextureType_DIFFUSE})
        if (material.GetTextureCount(type) > 0 && material.GetTexture(type, 0, &name) == AI_SUCCESS) {
            Picture picture;
            if (loadTexture(scene, path, name.C_Str(), picture) && picture.width > 0 && picture.height > 0) {
                loaded[materialIndex] = static_cast<std::int32_t>(soup.textures.size());
                soup.textures.push_back(std::move(picture));
            }
            break;
        }
    return loaded[materialIndex];
}

// Passes Assimp's progress on and stops its reading on Cancel.
class ReadProgress : public Assimp::ProgressHandler {
public:
    explicit ReadProgress(const ImportControl& control) : control_(control) {}
    bool Update(float done) override {
        if (control_.permille != nullptr && done >= 0) control_.permille->store(static_cast<int>(1000 * std::min(done, 1.0f)));
        return !cancelled();
    }
    bool cancelled() const { return control_.cancel != nullptr && control_.cancel->load(); }

private:
    const ImportControl& control_;
};

// A mesh where a node places it, with the transforms of the node and its parents.
struct MeshInstance {
    const aiMesh* mesh;
    aiMatrix4x4 transform;
};

// Every placed mesh of triangles, walking the node tree without recursion, so
// a deep tree cannot exhaust the stack. (Assimp's own pre-transform step would
// copy every mesh, nearly doubling the memory a large file takes.)
std::vector<MeshInstance> placedMeshes(const aiScene& scene) {
    std::vector<MeshInstance> placed;
    std::vector<std::pair<const aiNode*, aiMatrix4x4>> pending;
    if (scene.mRootNode != nullptr) pending.emplace_back(scene.mRootNode, scene.mRootNode->mTransformation);
    while (!pending.empty()) {
        const auto [node, transform] = pending.back();
        pending.pop_back();
        for (unsigned i = 0; i < node->mNumMeshes; ++i) {
            const aiMesh* mesh = node->mMeshes[i] < scene.mNumMeshes ? scene.mMeshes[node->mMeshes[i]] : nullptr;
            if (mesh != nullptr && (mesh->mPrimitiveTypes & aiPrimitiveType_TRIANGLE)) placed.push_back({mesh, transform});
        }
        // Unvalidated scenes may hold empty child slots (Assimp's 3MF reader leaves some).
        for (unsigned i = 0; i < node->mNumChildren; ++i)
            if (node->mChildren[i] != nullptr)
                pending.emplace_back(node->mChildren[i], transform * node->mChildren[i]->mTransformation);
    }
    return placed;
}

}  // namespace

bool isMeshFile(std::string_view path) {
    const std::string extension = lowerExtension(path);
    return std::find(std::begin(kMeshExtensions), std::end(kMeshExtensions), extension) != std::end(kMeshExtensions);
}

std::string meshExtensionList(std::string_view separator, std::string_view lastSeparator) {
    std::string list;
    const std::size_t count = std::size(kMeshExtensions);
    for (std::size_t i = 0; i < count; ++i)
        list.append(i == 0 ? "" : i + 1 == count ? lastSeparator : separator).append(".").append(kMeshExtensions[i]);
    return list;
}

int readMeshFile(const std::filesystem::path& path, TriangleSoup& soup, std::string& reason,
                 const ImportControl& control) {
    if (lowerExtension(path.string()) == "3mf") return readThreeMfFile(path, soup, reason, control);
    Assimp::Importer importer;
    auto* progress = new ReadProgress(control);
    importer.SetProgressHandler(progress);  // the importer deletes it
    importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
    const aiScene* scene = importer.ReadFile(
        path.string(), aiProcess_Triangulate | aiProcess_SortByPType);
    if (scene == nullptr || progress->cancelled()) {
        reason = progress->cancelled() ? "the import was cancelled"
                                       : std::string("it is not a mesh that can be read (") + importer.GetErrorString() + ")";
        return 0;
    }
    // Count before allocating anything of our own.
    const std::vector<MeshInstance> placed = placedMeshes(*scene);
    std::size_t triangles = 0;
    for (const MeshInstance& instance : placed) triangles += instance.mesh->mNumFaces;
    if (triangles > kMostImportedTriangles) {
        reason = "it has " + std::to_string(triangles) + " triangles, more than the " +
                 std::to_string(kMostImportedTriangles) + " an import takes";
        return 0;
    }
    soup = TriangleSoup{};
    soup.positions.reserve(9 * triangles);
    std::vector<std::uint32_t> colours;
    colours.reserve(3 * triangles);
    std::vector<std::int32_t> textureOf;
    std::vector<float> uvs;
    std::vector<std::int32_t> loadedTextures(scene->mNumMaterials, -2);
    bool coloured = false, textured = false;
    const bool zUp = standsZUp(path);
    const bool linear = coloursAreLinear(path);
    for (const MeshInstance& instance : placed) {
        const aiMesh& mesh = *instance.mesh;
        std::uint32_t flatColour = 0xffffff;
        const bool hasMaterialColour = mesh.mMaterialIndex < scene->mNumMaterials &&
                                       materialColour(*scene->mMaterials[mesh.mMaterialIndex], linear, flatColour);
        const std::int32_t texture = mesh.mMaterialIndex < scene->mNumMaterials && mesh.HasTextureCoords(0)
                                         ? materialTexture(*scene, mesh.mMaterialIndex, path, loadedTextures, soup)
                                         : -1;
        const bool vertexColours = mesh.HasVertexColors(0);
        coloured = coloured || hasMaterialColour || vertexColours;
        if (texture >= 0 && !textured) {
            textured = true;
            textureOf.assign(soup.triangleCount(), -1);
            uvs.assign(6 * soup.triangleCount(), 0.0f);
        }
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices != 3 || std::max({face.mIndices[0], face.mIndices[1], face.mIndices[2]}) >= mesh.mNumVertices)
                continue;
            for (unsigned c = 0; c < 3; ++c) {
                const unsigned v = face.mIndices[c];
                const aiVector3D p = instance.transform * mesh.mVertices[v];
                const float corner[3] = {p.x, zUp ? p.z : p.y, zUp ? -p.y : p.z};
                soup.positions.insert(soup.positions.end(), corner, corner + 3);
                if (vertexColours) {
                    const aiColor4D& colour = mesh.mColors[0][v];
                    colours.push_back(packFloats(colour.r, colour.g, colour.b, linear));
                } else {
                    colours.push_back(flatColour);
                }
                if (textured) {
                    const aiVector3D uv = texture >= 0 ? mesh.mTextureCoords[0][v] : aiVector3D();
                    uvs.push_back(uv.x);
                    uvs.push_back(uv.y);
                }
            }
            if (textured) textureOf.push_back(texture);
        }
    }
    if (coloured || textured) soup.colours = std::move(colours);
    soup.textureOf = std::move(textureOf);
    soup.uvs = std::move(uvs);
    return 1;
}

}  // namespace cubrik
