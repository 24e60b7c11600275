#include "formats/obj_export.h"

#include <algorithm>

#include "formats/export_text.h"
#include "io/text_format.h"

namespace cubrik {
namespace {

#ifdef _WIN32
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

// 100 cells span 60 units. The factor is the single-precision 0.6, applied
// in double precision.
constexpr double kScale = 0.6f;
// The ambient colour is this share of the diffuse one.
constexpr double kAmbientShare = 0.8f;

// One group: the vertices of the material's mesh, then its faces by colour,
// with indices counted across the whole file from `vertexBase` + 1.
void writeObjGroup(ExportText& text, MeshExtractor& extractor, const MeshSource& source, Material material,
                   int& vertexBase) {
    extractQuadMesh(extractor, source, material);
    const QuadMesh& mesh = extractor.mesh;
    if (vertexCount(mesh) == 0) return;
    std::string& out = text.buffer;
    put(text, "g obj_");
    out.push_back(materialLetter(material));
    put(text, "\n");
    for (std::size_t i = 0; i < mesh.positionsLength; i += 3) {
        put(text, "v ");
        appendTriple(out, (mesh.positions[i] - 50.0) * kScale, (mesh.positions[i + 1] - 50.0) * kScale,
                     (mesh.positions[i + 2] - 50.0) * kScale, 3);
        put(text, "\n");
    }
    for (int colour = 1; colour <= kPaletteSize; ++colour) {
        if (mesh.facesPerColour[colour] == 0) continue;
        appendMaterialName(out, "usemtl mat_", material, colour);
        put(text, "\n");
        forEachFaceOfColour(mesh, colour, [&](int face) {
            out.push_back('f');
            for (int corner = 0; corner < 4; ++corner) {
                out.push_back(' ');
                appendInt(out, mesh.quads[4 * static_cast<std::size_t>(face) + corner] + vertexBase + 1);
            }
            put(text, "\n");
        });
    }
    vertexBase += vertexCount(mesh);
}

// The 256-line MTL library of both palettes.
std::string formatMtl(const VoxelModel& model) {
    std::string out;
    for (const Material material : kMaterials) {
        const Rgb* palette = paletteOf(model, material);
        for (int colour = 1; colour <= kPaletteSize; ++colour) {
            const Rgb& c = palette[colour - 1];
            appendMaterialName(out, "newmtl mat_", material, colour);
            out += "\r\nNs 50.000000\r\nKa ";
            appendTriple(out, c.r * kAmbientShare, c.g * kAmbientShare, c.b * kAmbientShare, 6);
            out += "\r\nKd ";
            appendTriple(out, c.r, c.g, c.b, 6);
            out += "\r\nKs 0.000000 0.000000 0.000000\r\nNi 1.000000\r\nd 1.000000\r\nillum 1\r\n";
        }
    }
    return out;
}

}  // namespace

std::filesystem::path mtlPathFor(const std::filesystem::path& objPath) {
    const std::string full = objPath.string();
    const std::size_t separator = full.find_last_of(kSeparators);
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    std::string name = full.substr(nameStart);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    name += ".mtl";
    // A bare file name keeps its spaces, as it always has.
    if (separator != std::string::npos) std::replace(name.begin(), name.end(), ' ', '_');
    return full.substr(0, nameStart) + name;
}

int exportObj(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason) {
    const std::filesystem::path mtlPath = mtlPathFor(path);
    AtomicFileWriter library(mtlPath);
    if (!library.open()) {
        reason = library.error();
        return 0;
    }
    library.write(formatMtl(source.model));
    const auto writeBody = [&](ExportText& text) {
        put(text, "mtllib ");
        text.buffer += mtlPath.filename().string();
        put(text, "\n");
        int vertexBase = 0;
        writeObjGroup(text, extractor, source, Material::A, vertexBase);
        writeObjGroup(text, extractor, source, Material::B, vertexBase);
    };
    return writeExportFile(path, source, reason, writeBody, &library);
}

}  // namespace cubrik
