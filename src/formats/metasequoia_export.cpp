#include "formats/metasequoia_export.h"

#include <string_view>

#include "formats/export_text.h"
#include "io/text_format.h"

namespace cubrik {
namespace {

// 100 cells span 500 units.
constexpr double kScale = 5;

constexpr std::string_view kHeader =
    "Metasequoia Document\n"
    "Format Text Ver 1.0\n"
    "\n"
    "Scene {\n"
    "\tpos 0.0000 0.0000 1500.0000\n"
    "\tlookat 0.0000 0.0000 0.0000\n"
    "\thead -0.5236\n"
    "\tpich 0.5236\n"
    "\tortho 0\n"
    "\tzoom2 5.0000\n"
    "\tamb 0.250 0.250 0.250\n"
    "}\n";

constexpr std::string_view kObjectSettings =
    "\tdepth 0\n"
    "\tfolding 0\n"
    "\tscale 1.000000 1.000000 1.000000\n"
    "\trotation 0.000000 0.000000 0.000000\n"
    "\ttranslation 0.000000 0.000000 0.000000\n"
    "\tvisible 15\n"
    "\tlocking 0\n"
    "\tshading 0\n"
    "\tfacet 59.5\n"
    "\tcolor 1.000 1.000 1.000\n"
    "\tcolor_type 0\n";

// Materials are numbered in list order: colours 1..16 of A are 0..15, of B 16..31.
void writeMaterials(ExportText& text, const VoxelModel& model) {
    put(text, "Material 32 {\n");
    for (const Material material : kMaterials) {
        const Rgb* palette = paletteOf(model, material);
        for (int colour = 1; colour <= kPaletteSize; ++colour) {
            const Rgb& c = palette[colour - 1];
            appendMaterialName(text.buffer, "\t\"mat_", material, colour);
            put(text, "\" shader(3) col(");
            appendTriple(text.buffer, c.r, c.g, c.b, 3);
            put(text, " 1.000)dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)\n");
        }
    }
    put(text, "}\n");
}

// Nothing for a material without cells. The faces are written q3..q0, which
// reverses the winding, and in face order rather than by colour.
void writeObject(ExportText& text, MeshExtractor& extractor, const MeshSource& source, Material material) {
    extractQuadMesh(extractor, source, material);
    const QuadMesh& mesh = extractor.mesh;
    if (vertexCount(mesh) == 0) return;
    std::string& out = text.buffer;
    put(text, "Object \"obj_");
    out.push_back(materialLetter(material));
    put(text, "\" {\n");
    put(text, kObjectSettings);
    put(text, "\tvertex ");
    appendInt(out, vertexCount(mesh));
    put(text, " {\n");
    for (std::size_t i = 0; i < mesh.positionsLength; i += 3) {
        put(text, "\t\t");
        appendTriple(out, (mesh.positions[i] - 50.0) * kScale, (mesh.positions[i + 1] - 50.0) * kScale,
                     (mesh.positions[i + 2] - 50.0) * kScale, 4);
        put(text, "\n");
    }
    put(text, "\t}\n\tface ");
    appendInt(out, faceCount(mesh));
    put(text, " {\n");
    const int materialBase = material == Material::A ? -1 : kPaletteSize - 1;
    for (int face = 0; face < faceCount(mesh); ++face) {
        const std::int32_t* q = mesh.quads.data() + 4 * static_cast<std::size_t>(face);
        put(text, "\t\t4 V(");
        for (int corner = 3; corner >= 0; --corner) {
            appendInt(out, q[corner]);
            if (corner > 0) out.push_back(' ');
        }
        put(text, ") M(");
        appendInt(out, mesh.faceColours[face] + materialBase);
        put(text, ")\n");
    }
    put(text, "\t}\n}\n");
}

}  // namespace

int exportMetasequoia(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
                      std::string& reason) {
    return writeExportFile(path, source, reason, [&](ExportText& text) {
        put(text, kHeader);
        writeMaterials(text, source.model);
        writeObject(text, extractor, source, Material::A);
        writeObject(text, extractor, source, Material::B);
        put(text, "Eof\n");
    });
}

}  // namespace cubrik
