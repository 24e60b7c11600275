#include "formats/ply_export.h"

#include <algorithm>
#include <vector>

#include "formats/byte_writer.h"
#include "formats/export_text.h"

namespace cubrik {
namespace {

// 100 cells span 60 units, as in the OBJ export: each coordinate is the
// float nearest the decimal the OBJ file prints.
constexpr double kScale = 0.6;
constexpr std::size_t kVertexSize = 3 * 4 + 3;  // x y z as floats, red green blue as bytes
constexpr std::size_t kFaceSize = 1 + 4 * 4;    // the corner count, four indices

// The vertex and face records of both materials, gathered before the header
// that counts them.
struct PlyBody {
    std::string vertices, faces;
    std::uint32_t vertexCount = 0, faceCount = 0;
};

// Appends a vertex at lattice point `p` in `colour` (red, green, blue bytes).
void appendVertex(PlyBody& body, const float* p, const char (&colour)[3]) {
    char record[kVertexSize];
    char* at = record;
    for (int axis = 0; axis < 3; ++axis) at = storeFloat(at, static_cast<float>((p[axis] - 50.0) * kScale));
    std::copy(colour, colour + 3, at);
    body.vertices.append(record, kVertexSize);
    ++body.vertexCount;
}

// The faces of one material by colour, as OBJ orders them. A corner is shared
// by the faces of one colour that meet there; faces of another colour get a
// vertex of their own, as a vertex has one colour.
void appendMaterial(PlyBody& body, MeshExtractor& extractor, const MeshSource& source, Material material) {
    extractQuadMesh(extractor, source, material);
    const QuadMesh& mesh = extractor.mesh;
    std::vector<std::uint8_t> colourOfVertex(vertexCount(mesh), 0);
    std::vector<std::uint32_t> plyIndex(vertexCount(mesh));
    for (int colour = 1; colour <= kPaletteSize; ++colour) {
        if (mesh.facesPerColour[colour] == 0) continue;
        const Rgb& rgb = paletteOf(source.model, material)[colour - 1];
        const char bytes[3] = {static_cast<char>(channelByte(rgb.r)), static_cast<char>(channelByte(rgb.g)),
                               static_cast<char>(channelByte(rgb.b))};
        forEachFaceOfColour(mesh, colour, [&](int face) {
            char record[kFaceSize];
            char* at = record;
            *at++ = 4;
            for (int corner = 0; corner < 4; ++corner) {
                const std::size_t v = static_cast<std::size_t>(mesh.quads[4 * static_cast<std::size_t>(face) + corner]);
                if (colourOfVertex[v] != colour) {
                    colourOfVertex[v] = static_cast<std::uint8_t>(colour);
                    plyIndex[v] = body.vertexCount;
                    appendVertex(body, mesh.positions.data() + 3 * v, bytes);
                }
                at = storeLe32(at, plyIndex[v]);
            }
            body.faces.append(record, kFaceSize);
            ++body.faceCount;
        });
    }
}

void writePly(ExportText& text, MeshExtractor& extractor, const MeshSource& source) {
    PlyBody body;
    for (const Material material : kMaterials) appendMaterial(body, extractor, source, material);
    // The header's lines end in LF alone: readers take the byte after
    // "end_header\n" for the first of the data.
    std::string& out = text.buffer;
    out += "ply\nformat binary_little_endian 1.0\ncomment Cubrik\nelement vertex ";
    out += std::to_string(body.vertexCount);
    out += "\nproperty float x\nproperty float y\nproperty float z\n"
           "property uchar red\nproperty uchar green\nproperty uchar blue\nelement face ";
    out += std::to_string(body.faceCount);
    out += "\nproperty list uchar int vertex_indices\nend_header\n";
    text.file.write(out);
    out.clear();
    text.file.write(body.vertices);
    text.file.write(body.faces);
}

}  // namespace

int exportPly(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason) {
    return writeExportFile(path, source, reason, [&](ExportText& text) { writePly(text, extractor, source); });
}

}  // namespace cubrik
