#include "formats/collada_export.h"

#include <string_view>

#include "formats/export_text.h"
#include "io/text_format.h"

namespace cubrik {
namespace {

// 100 cells span 20 units. The factor is the single-precision 0.2, applied
// in double precision.
constexpr double kScale = 0.2f;

constexpr std::string_view kEffectStart =
    "\t\t\t<profile_COMMON>\n"
    "\t\t\t\t<technique sid=\"common\">\n"
    "\t\t\t\t\t<phong>\n"
    "\t\t\t\t\t\t<emission>\n"
    "\t\t\t\t\t\t\t<color>0 0 0 1</color>\n"
    "\t\t\t\t\t\t</emission>\n"
    "\t\t\t\t\t\t<ambient>\n";

constexpr std::string_view kEffectEnd =
    "\t\t\t\t\t\t</specular>\n"
    "\t\t\t\t\t\t<shininess>\n"
    "\t\t\t\t\t\t\t<float>15</float>\n"
    "\t\t\t\t\t\t</shininess>\n"
    "\t\t\t\t\t\t<reflective>\n"
    "\t\t\t\t\t\t\t<color>1 1 1 1</color>\n"
    "\t\t\t\t\t\t</reflective>\n"
    "\t\t\t\t\t\t<reflectivity>\n"
    "\t\t\t\t\t\t\t<float>0</float>\n"
    "\t\t\t\t\t\t</reflectivity>\n"
    "\t\t\t\t\t\t<transparent>\n"
    "\t\t\t\t\t\t\t<color>1 1 1 1</color>\n"
    "\t\t\t\t\t\t</transparent>\n"
    "\t\t\t\t\t\t<transparency>\n"
    "\t\t\t\t\t\t\t<float>0</float>\n"
    "\t\t\t\t\t\t</transparency>\n"
    "\t\t\t\t\t</phong>\n"
    "\t\t\t\t</technique>\n"
    "\t\t\t</profile_COMMON>\n"
    "\t\t</effect>\n";

constexpr std::string_view kAccessorParams =
    "\t\t\t\t\t\t\t<param type=\"float\" name=\"X\"></param>\n"
    "\t\t\t\t\t\t\t<param type=\"float\" name=\"Y\"></param>\n"
    "\t\t\t\t\t\t\t<param type=\"float\" name=\"Z\"></param>\n"
    "\t\t\t\t\t\t</accessor>\n"
    "\t\t\t\t\t</technique_common>\n"
    "\t\t\t\t</source>\n";

constexpr std::string_view kLights =
    "\t<library_lights>\n"
    "\t\t<light id=\"Main-Light\" name=\"Main-Light\">\n"
    "\t\t\t<technique_common>\n"
    "\t\t\t\t<point>\n"
    "\t\t\t\t\t<color>1.00000 1.00000 1.00000</color>\n"
    "\t\t\t\t\t<constant_attenuation>1.0</constant_attenuation>\n"
    "\t\t\t\t\t<linear_attenuation>0.0</linear_attenuation>\n"
    "\t\t\t\t\t<quadratic_attenuation>0.0</quadratic_attenuation>\n"
    "\t\t\t\t</point>\n"
    "\t\t\t</technique_common>\n"
    "\t\t</light>\n"
    "\t</library_lights>\n";

constexpr std::string_view kCameras =
    "\t<library_cameras>\n"
    "\t\t<camera id=\"Main-Camera\" name=\"Main-Camera\">\n"
    "\t\t\t<optics>\n"
    "\t\t\t\t<technique_common>\n"
    "\t\t\t\t\t<perspective>\n"
    "\t\t\t\t\t\t<yfov>49.13434</yfov>\n"
    "\t\t\t\t\t\t<znear>0.1</znear>\n"
    "\t\t\t\t\t\t<zfar>100.0</zfar>\n"
    "\t\t\t\t\t</perspective>\n"
    "\t\t\t\t</technique_common>\n"
    "\t\t\t</optics>\n"
    "\t\t</camera>\n"
    "\t</library_cameras>\n";

constexpr std::string_view kSceneStart =
    "\t<library_visual_scenes>\n"
    "\t\t<visual_scene id=\"Scene\" name=\"Scene\">\n"
    "\t\t\t<node id=\"Voxels\" name=\"Voxels\">\n"
    "\t\t\t\t<translate>0 0 0</translate>\n"
    "\t\t\t\t<rotate>0 0 1 0</rotate>\n"
    "\t\t\t\t<rotate>0 1 0 0</rotate>\n"
    "\t\t\t\t<rotate>1 0 0 0</rotate>\n"
    "\t\t\t\t<scale>1 1 1</scale>\n";

constexpr std::string_view kInstanceGeometryEnd =
    "\t\t\t\t\t\t</technique_common>\n"
    "\t\t\t\t\t</bind_material>\n"
    "\t\t\t\t</instance_geometry>\n";

constexpr std::string_view kSceneEnd =
    "\t\t\t</node>\n"
    "\t\t\t<node id=\"Light\" name=\"Light\">\n"
    "\t\t\t\t<instance_light url=\"#Main-Light\"/>\n"
    "\t\t\t\t<translate>-2 12 6</translate>\n"
    "\t\t\t</node>\n"
    "\t\t\t<node id=\"Camera\" name=\"Camera\">\n"
    "\t\t\t\t<instance_camera url=\"#Main-Camera\"/>\n"
    "\t\t\t\t<lookat>\n"
    "\t\t\t\t\t10 -15 15\n"
    "\t\t\t\t\t0 0 0\n"
    "\t\t\t\t\t0 0 1\n"
    "\t\t\t\t</lookat>\n"
    "\t\t\t</node>\n"
    "\t\t</visual_scene>\n"
    "\t</library_visual_scenes>\n"
    "\t<scene>\n"
    "\t\t<instance_visual_scene url=\"#Scene\"/>\n"
    "\t</scene>\n";

void putColour(ExportText& text, double r, double g, double b) {
    put(text, "\t\t\t\t\t\t\t<color>");
    appendTriple(text.buffer, r, g, b, 4);
    put(text, " 1</color>\n");
}

void writeEffects(ExportText& text, const VoxelModel& model) {
    put(text, "\t<library_effects>\n");
    for (const Material material : kMaterials) {
        const Rgb* palette = paletteOf(model, material);
        for (int colour = 1; colour <= kPaletteSize; ++colour) {
            const Rgb& c = palette[colour - 1];
            put(text, "\t\t<effect id=\"");
            appendMaterialName(text.buffer, "Effect_", material, colour);
            put(text, "\" name=\"");
            appendMaterialName(text.buffer, "Effect_", material, colour);
            put(text, "\">\n");
            put(text, kEffectStart);
            putColour(text, c.r, c.g, c.b);
            put(text, "\t\t\t\t\t\t</ambient>\n\t\t\t\t\t\t<diffuse>\n");
            putColour(text, c.r, c.g, c.b);
            put(text, "\t\t\t\t\t\t</diffuse>\n\t\t\t\t\t\t<specular>\n");
            putColour(text, 0, 0, 0);
            put(text, kEffectEnd);
        }
    }
    put(text, "\t</library_effects>\n");
}

void writeMaterials(ExportText& text) {
    put(text, "\t<library_materials>\n");
    for (const Material material : kMaterials)
        for (int colour = 1; colour <= kPaletteSize; ++colour) {
            put(text, "\t\t<material id=\"");
            appendMaterialName(text.buffer, "Material_", material, colour);
            put(text, "\" name=\"");
            appendMaterialName(text.buffer, "Material_", material, colour);
            put(text, "\">\n\t\t\t<instance_effect url=\"#");
            appendMaterialName(text.buffer, "Effect_", material, colour);
            put(text, "\"/>\n\t\t</material>\n");
        }
    put(text, "\t</library_materials>\n");
}

// A source of `itemCount` three-float items; `putItem(i)` appends item i.
template <class PutItem>
void writeSource(ExportText& text, const std::string& id, std::string_view kind, int itemCount, PutItem putItem) {
    std::string& out = text.buffer;
    put(text, "\t\t\t\t<source id=\"");
    out += id;
    out += kind;
    put(text, "\">\n\t\t\t\t\t<float_array count=\"");
    appendInt(out, 3LL * itemCount);
    put(text, "\" id=\"");
    out += id;
    out += kind;
    put(text, "-array\">\n");
    for (int i = 0; i < itemCount; ++i) {
        put(text, "\t\t\t\t\t\t");
        putItem(static_cast<std::size_t>(i));
        put(text, "\n");
    }
    put(text, "\t\t\t\t\t</float_array>\n\t\t\t\t\t<technique_common>\n\t\t\t\t\t\t<accessor count=\"");
    appendInt(out, itemCount);
    put(text, "\" source=\"#");
    out += id;
    out += kind;
    put(text, "-array\" stride=\"3\">\n");
    put(text, kAccessorParams);
}

void writeColladaGeometry(ExportText& text, MeshExtractor& extractor, const MeshSource& source,
                          Material material) {
    extractQuadMesh(extractor, source, material);
    const QuadMesh& mesh = extractor.mesh;
    std::string& out = text.buffer;
    const std::string id = std::string("Object_") + materialLetter(material);
    put(text, "\t\t<geometry id=\"");
    out += id;
    put(text, "\" name=\"");
    out += id;
    put(text, "\">\n\t\t\t<mesh>\n");
    // Lattice x, y, z become z, y, x with z reversed: a proper rotation,
    // so the faces keep their winding.
    writeSource(text, id, "-Pos", vertexCount(mesh), [&](std::size_t v) {
        const float* p = mesh.positions.data() + 3 * v;
        appendTriple(out, (50.0 - p[2]) * kScale, (p[1] - 50.0) * kScale, (p[0] - 50.0) * kScale, 3);
    });
    writeSource(text, id, "-Normal", faceCount(mesh), [&](std::size_t f) {
        const float* n = mesh.faceNormals.data() + 3 * f;
        appendTriple(out, -n[2], n[1], n[0], 5);
    });
    put(text, "\t\t\t\t<vertices id=\"");
    out += id;
    put(text, "-Vtx\">\n\t\t\t\t\t<input semantic=\"POSITION\" source=\"#");
    out += id;
    put(text, "-Pos\"/>\n\t\t\t\t</vertices>\n");
    for (int colour = 1; colour <= kPaletteSize; ++colour) {
        if (mesh.facesPerColour[colour] == 0) continue;
        put(text, "\t\t\t\t<polygons count=\"");
        appendInt(out, mesh.facesPerColour[colour]);
        put(text, "\" material=\"");
        appendMaterialName(out, "Material_", material, colour);
        put(text, "\">\n\t\t\t\t\t<input offset=\"0\" semantic=\"VERTEX\" source=\"#");
        out += id;
        put(text, "-Vtx\"/>\n\t\t\t\t\t<input offset=\"1\" semantic=\"NORMAL\" source=\"#");
        out += id;
        put(text, "-Normal\"/>\n");
        forEachFaceOfColour(mesh, colour, [&](int face) {
            put(text, "\t\t\t\t\t\t<p>");
            for (int corner = 0; corner < 4; ++corner) {
                if (corner > 0) out += "  ";
                appendInt(out, mesh.quads[4 * static_cast<std::size_t>(face) + corner]);
                out.push_back(' ');
                appendInt(out, face);
            }
            put(text, "</p>\n");
        });
        put(text, "\t\t\t\t</polygons>\n");
    }
    put(text, "\t\t\t</mesh>\n\t\t</geometry>\n");
}

// Both geometries are placed, each binding all 16 materials of its letter.
void writeVisualScenes(ExportText& text) {
    put(text, kSceneStart);
    for (const Material material : kMaterials) {
        put(text, "\t\t\t\t<instance_geometry url=\"#Object_");
        text.buffer.push_back(materialLetter(material));
        put(text, "\">\n\t\t\t\t\t<bind_material>\n\t\t\t\t\t\t<technique_common>\n");
        for (int colour = 1; colour <= kPaletteSize; ++colour) {
            put(text, "\t\t\t\t\t\t\t<instance_material symbol=\"");
            appendMaterialName(text.buffer, "Material_", material, colour);
            put(text, "\" target=\"#");
            appendMaterialName(text.buffer, "Material_", material, colour);
            put(text, "\" />\n");
        }
        put(text, kInstanceGeometryEnd);
    }
    put(text, kSceneEnd);
}

}  // namespace

int exportCollada(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
                  std::string& reason) {
    return writeExportFile(path, source, reason, [&](ExportText& text) {
        put(text, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n");
        put(text, "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n");
        writeEffects(text, source.model);
        writeMaterials(text);
        put(text, "\t<library_geometries>\n");
        writeColladaGeometry(text, extractor, source, Material::A);
        writeColladaGeometry(text, extractor, source, Material::B);
        put(text, "\t</library_geometries>\n");
        put(text, kLights);
        put(text, kCameras);
        writeVisualScenes(text);
        put(text, "</COLLADA>");  // no line end after the root element
    });
}

}  // namespace cubrik
