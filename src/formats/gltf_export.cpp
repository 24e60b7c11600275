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

// Everything the primitives put in the binary chunk, by view, one array per
// material in material order. Each array is reserved at its exact size once
// its material's mesh is known, so none is copied as it grows, and the file
// is written from them: the chunk is never held twice.
struct BinaryArrays {
    std::vector<std::vector<float>> positions;  // 3 per vertex
    std::vector<std::vector<float>> normals;    // 3 per vertex
    std::vector<std::vector<std::uint32_t>> indices;

    template <class T>
    static std::size_t itemCount(const std::vector<std::vector<T>>& view) {
        std::size_t count = 0;
        for (const std::vector<T>& part : view) count += part.size();
        return count;
    }
    template <class T>
    static std::size_t byteCount(const std::vector<std::vector<T>>& view) {
        return itemCount(view) * sizeof(T);
    }
    std::size_t byteCount() const { return byteCount(positions) + byteCount(normals) + byteCount(indices); }
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
    const std::size_t firstVertex = BinaryArrays::itemCount(arrays.positions) / 3;
    const std::size_t firstIndex = BinaryArrays::itemCount(arrays.indices);
    std::vector<float>& positions = arrays.positions.back();
    std::vector<float>& normals = arrays.normals.back();
    std::vector<std::uint32_t>& indices = arrays.indices.back();
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
                positions.push_back(v);
                normals.push_back(normal[axis]);
                low[axis] = std::min(low[axis], static_cast<double>(v));
                high[axis] = std::max(high[axis], static_cast<double>(v));
            }
        }
        // Split along the 0-2 diagonal, keeping the quad's winding.
        for (std::uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u}) indices.push_back(corner + i);
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
    primitive.indices = addAccessor(gltf, kIndexView, firstIndex, BinaryArrays::itemCount(arrays.indices) - firstIndex,
                                    TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, TINYGLTF_TYPE_SCALAR);
    return primitive;
}

// One mesh and node per material that has faces, named as the OBJ groups.
void addMaterialMesh(tinygltf::Model& gltf, BinaryArrays& arrays, MeshExtractor& extractor, const MeshSource& source,
                     Material material) {
    extractQuadMesh(extractor, source, material);
    const QuadMesh& mesh = extractor.mesh;
    if (faceCount(mesh) == 0) return;
    const std::size_t corners = 4 * static_cast<std::size_t>(faceCount(mesh));
    arrays.positions.emplace_back().reserve(3 * corners);
    arrays.normals.emplace_back().reserve(3 * corners);
    arrays.indices.emplace_back().reserve(6 * corners / 4);
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
void addView(tinygltf::Model& gltf, std::size_t& byteOffset, std::size_t byteLength, int target,
             std::size_t byteStride = 0) {
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = byteOffset;
    view.byteLength = byteLength;
    view.target = target;
    view.byteStride = byteStride;
    gltf.bufferViews.push_back(view);
    byteOffset += byteLength;
}

constexpr std::string_view kPlaceholderBuffer = "\"buffers\":[{\"byteLength\":1}]";

// The JSON chunk's text. tinygltf would copy the binary chunk twice on its
// way out, so it formats the document around a one-byte stand-in buffer whose
// length is then put right.
std::string documentText(tinygltf::Model& gltf, std::size_t binaryBytes) {
    if (binaryBytes > 0) gltf.buffers.emplace_back().data.assign(1, 0);
    std::ostringstream out;
    out.exceptions(std::ios::badbit);  // a stream that cannot grow rethrows std::bad_alloc
    tinygltf::TinyGLTF().WriteGltfSceneToStream(&gltf, out, false, true);
    const std::string glb = std::move(out).str();
    std::uint32_t chunkLength;
    std::memcpy(&chunkLength, glb.data() + 12, 4);  // glb is little-endian, as we are
    std::string text = glb.substr(20, chunkLength);
    text.erase(text.find_last_not_of(' ') + 1);  // the chunk's padding
    if (binaryBytes > 0) {
        const std::size_t at = text.find(kPlaceholderBuffer);
        text.replace(at, kPlaceholderBuffer.size(),
                     "\"buffers\":[{\"byteLength\":" + std::to_string(binaryBytes) + "}]");
    }
    return text;
}

void writeWord(AtomicFileWriter& file, std::uint32_t word) {
    file.write(std::string_view(reinterpret_cast<const char*>(&word), sizeof word));
}

template <class T>
void writeView(AtomicFileWriter& file, const std::vector<std::vector<T>>& view) {
    for (const std::vector<T>& part : view)
        file.write(std::string_view(reinterpret_cast<const char*>(part.data()), part.size() * sizeof(T)));
}

// The container: header, JSON chunk padded with blanks, then the binary
// chunk, whose views are all whole words already.
void writeGlb(AtomicFileWriter& file, std::string document, const BinaryArrays& arrays) {
    document.resize((document.size() + 3) / 4 * 4, ' ');
    const std::size_t binaryBytes = arrays.byteCount();
    const std::size_t total = 12 + 8 + document.size() + (binaryBytes > 0 ? 8 + binaryBytes : 0);
    file.write("glTF");
    writeWord(file, 2);
    writeWord(file, static_cast<std::uint32_t>(total));
    writeWord(file, static_cast<std::uint32_t>(document.size()));
    file.write("JSON");
    file.write(document);
    if (binaryBytes == 0) return;
    writeWord(file, static_cast<std::uint32_t>(binaryBytes));
    file.write(std::string_view("BIN\0", 4));
    writeView(file, arrays.positions);
    writeView(file, arrays.normals);
    writeView(file, arrays.indices);
}

void formatGlb(AtomicFileWriter& file, MeshExtractor& extractor, const MeshSource& source) {
    tinygltf::Model gltf;
    gltf.asset.version = "2.0";
    gltf.asset.generator = "Cubrik";
    gltf.scenes.emplace_back();
    gltf.defaultScene = 0;
    BinaryArrays arrays;
    for (const Material material : kMaterials) addMaterialMesh(gltf, arrays, extractor, source, material);
    // A buffer or view of no bytes is not allowed, so an empty model has none.
    std::size_t byteOffset = 0;
    if (BinaryArrays::itemCount(arrays.indices) > 0) {
        constexpr std::size_t kVertexStride = 3 * sizeof(float);
        addView(gltf, byteOffset, BinaryArrays::byteCount(arrays.positions), TINYGLTF_TARGET_ARRAY_BUFFER, kVertexStride);
        addView(gltf, byteOffset, BinaryArrays::byteCount(arrays.normals), TINYGLTF_TARGET_ARRAY_BUFFER, kVertexStride);
        addView(gltf, byteOffset, BinaryArrays::byteCount(arrays.indices), TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    }
    writeGlb(file, documentText(gltf, byteOffset), arrays);
}

}  // namespace

int exportGlb(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason) {
    return writeExportFile(path, source, reason,
                           [&](ExportText& text) { formatGlb(text.file, extractor, source); });
}

}  // namespace cubrik
