#include "formats/gltf_export.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

#define TINYGLTF_IMPLEMENTATION
#define TINYGLTF_NO_STB_IMAGE
#define TINYGLTF_NO_STB_IMAGE_WRITE
#define TINYGLTF_NO_EXTERNAL_IMAGE
#include <tiny_gltf.h>

#include "formats/export_text.h"

namespace cubrik {
namespace {

// 100 cells span 60 units, as in the OBJ export.
constexpr double kScale = 0.6f;

// The binary chunk holds three views, one after the other.
enum View { kPositionView, kNormalView, kIndexView };

// Everything the primitives put in the binary chunk, by view.
struct BinaryArrays {
    std::vector<float> positions;  // 3 per vertex
    std::vector<float> normals;    // 3 per vertex
    std::vector<std::uint32_t> indices;
};

// glTF colour factors are linear; the palette holds the colours as shown.
double linearFromDisplay(float c) { return c <= 0.04045f ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }

int addMaterial(tinygltf::Model& gltf, const VoxelModel& model, Material material, int colour) {
    const Rgb& c = paletteOf(model, material)[colour - 1];
    tinygltf::Material gltfMaterial;
    appendMaterialName(gltfMaterial.name, "mat_", material, colour);
    gltfMaterial.pbrMetallicRoughness.baseColorFactor = {linearFromDisplay(c.r), linearFromDisplay(c.g),
                                                     linearFromDisplay(c.b), 1.0};
    gltfMaterial.pbrMetallicRoughness.metallicFactor = 0.0;
    gltf.materials.push_back(std::move(gltfMaterial));
    return static_cast<int>(gltf.materials.size()) - 1;
}

int addAccessor(tinygltf::Model& gltf, View view, std::size_t firstItem, std::size_t count, int componentType,
                int type) {
    tinygltf::Accessor accessor;
    accessor.bufferView = view;
    accessor.byteOffset = firstItem * (view == kIndexView ? sizeof(std::uint32_t) : 3 * sizeof(float));
    accessor.count = count;
    accessor.componentType = componentType;
    accessor.type = type;
    gltf.accessors.push_back(std::move(accessor));
    return static_cast<int>(gltf.accessors.size()) - 1;
}

// The faces of one colour. Every face gets four corners of its own carrying
// its face normal: the model is shaded flat per face, and a corner shared by
// faces facing different ways could carry only one of their normals.
tinygltf::Primitive makePrimitive(tinygltf::Model& gltf, BinaryArrays& arrays, const QuadMesh& mesh, int colour) {
    const std::size_t firstVertex = arrays.positions.size() / 3;
    const std::size_t firstIndex = arrays.indices.size();
    std::vector<double> low(3, std::numeric_limits<double>::max());
    std::vector<double> high(3, std::numeric_limits<double>::lowest());
    std::uint32_t corner = 0;
    forEachFaceOfColour(mesh, colour, [&](int face) {
        const std::int32_t* quad = mesh.quads.data() + 4 * static_cast<std::size_t>(face);
        const float* normal = mesh.faceNormals.data() + 3 * static_cast<std::size_t>(face);
        // A smoothed face whose corners met in one point has the normal
        // (0, 0, 0), which glTF refuses; having no area, it shows under any
        // unit normal.
        static constexpr float kCollapsedNormal[3] = {0.0f, 1.0f, 0.0f};
        if (normal[0] == 0.0f && normal[1] == 0.0f && normal[2] == 0.0f) normal = kCollapsedNormal;
        for (int c = 0; c < 4; ++c) {
            const float* p = mesh.positions.data() + 3 * static_cast<std::size_t>(quad[c]);
            for (int axis = 0; axis < 3; ++axis) {
                const float v = static_cast<float>((p[axis] - 50.0) * kScale);
                arrays.positions.push_back(v);
                arrays.normals.push_back(normal[axis]);
                low[axis] = std::min(low[axis], static_cast<double>(v));
                high[axis] = std::max(high[axis], static_cast<double>(v));
            }
        }
        // Split along the 0-2 diagonal, keeping the quad's winding.
        for (std::uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u}) arrays.indices.push_back(corner + i);
        corner += 4;
    });
    tinygltf::Primitive primitive;
    primitive.mode = TINYGLTF_MODE_TRIANGLES;
    const int position =
        addAccessor(gltf, kPositionView, firstVertex, corner, TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_VEC3);
    gltf.accessors[position].minValues = std::move(low);
    gltf.accessors[position].maxValues = std::move(high);
    primitive.attributes["POSITION"] = position;
    primitive.attributes["NORMAL"] =
        addAccessor(gltf, kNormalView, firstVertex, corner, TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_VEC3);
    primitive.indices = addAccessor(gltf, kIndexView, firstIndex, arrays.indices.size() - firstIndex,
                                    TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, TINYGLTF_TYPE_SCALAR);
    return primitive;
}

// One mesh and node per material that has faces, named as the OBJ groups.
void addMaterialMesh(tinygltf::Model& gltf, BinaryArrays& arrays, MeshExtractor& extractor, const MeshSource& source,
                     Material material) {
    extractQuadMesh(extractor, source, material);
    const QuadMesh& mesh = extractor.mesh;
    if (faceCount(mesh) == 0) return;
    tinygltf::Mesh gltfMesh;
    gltfMesh.name = std::string("obj_") + materialLetter(material);
    for (int colour = 1; colour <= kPaletteSize; ++colour) {
        if (mesh.facesPerColour[colour] == 0) continue;
        tinygltf::Primitive primitive = makePrimitive(gltf, arrays, mesh, colour);
        primitive.material = addMaterial(gltf, source.model, material, colour);
        gltfMesh.primitives.push_back(std::move(primitive));
    }
    tinygltf::Node node;
    node.name = gltfMesh.name;
    node.mesh = static_cast<int>(gltf.meshes.size());
    gltf.meshes.push_back(std::move(gltfMesh));
    gltf.scenes[0].nodes.push_back(static_cast<int>(gltf.nodes.size()));
    gltf.nodes.push_back(std::move(node));
}

// Vertex attributes give their stride: accessors of several primitives share
// each attribute view, and a shared vertex view must say how far apart its
// vertices lie.
template <class T>
void appendView(tinygltf::Model& gltf, const std::vector<T>& items, int target, std::size_t byteStride = 0) {
    std::vector<unsigned char>& data = gltf.buffers[0].data;
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = data.size();
    view.byteLength = items.size() * sizeof(T);
    view.target = target;
    view.byteStride = byteStride;
    data.resize(data.size() + view.byteLength);
    std::memcpy(data.data() + view.byteOffset, items.data(), view.byteLength);  // glb is little-endian, as we are
    gltf.bufferViews.push_back(view);
}

std::string formatGlb(MeshExtractor& extractor, const MeshSource& source) {
    tinygltf::Model gltf;
    gltf.asset.version = "2.0";
    gltf.asset.generator = "Cubrik";
    gltf.scenes.emplace_back();
    gltf.defaultScene = 0;
    BinaryArrays arrays;
    for (const Material material : kMaterials) addMaterialMesh(gltf, arrays, extractor, source, material);
    // A buffer or view of no bytes is not allowed, so an empty model has none.
    if (!arrays.indices.empty()) {
        gltf.buffers.emplace_back();
        appendView(gltf, arrays.positions, TINYGLTF_TARGET_ARRAY_BUFFER, 3 * sizeof(float));
        appendView(gltf, arrays.normals, TINYGLTF_TARGET_ARRAY_BUFFER, 3 * sizeof(float));
        appendView(gltf, arrays.indices, TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    }
    std::ostringstream out;
    out.exceptions(std::ios::badbit);  // a stream that cannot grow rethrows std::bad_alloc
    tinygltf::TinyGLTF().WriteGltfSceneToStream(&gltf, out, false, true);
    return std::move(out).str();
}

}  // namespace

int exportGlb(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason) {
    return writeExportFile(path, source, reason,
                           [&](ExportText& text) { text.buffer = formatGlb(extractor, source); });
}

}  // namespace cubrik
