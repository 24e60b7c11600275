// The 3MF package, read back with unzip and expat: its parts, a base
// material for exactly the colours the cells use, every triangle in the colour
// of the cell behind it, and every object closed by vertex numbers (each edge
// in two triangles, once each way), as one object or as one per colour.
#include <gtest/gtest.h>

#include <expat.h>

#include <array>
#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "formats/print_mesh.h"
#include "formats/threemf_export.h"
#include "model/material.h"
#include "support/mesh_export_fixture.h"
#include "support/run_command.h"

namespace cubrik {
namespace {

struct Package {
    std::set<std::string> parts;
    std::string materialsId;
    std::vector<std::pair<std::string, std::string>> materials;  // name, displaycolor
    struct Object {
        std::string name;
        std::vector<std::array<double, 3>> vertices;
        std::vector<std::array<int, 3>> triangles;
        std::vector<std::pair<std::string, int>> colours;  // pid, p1
    };
    std::vector<Object> objects;
};

std::string attribute(const XML_Char** attributes, const std::string& name) {
    for (int i = 0; attributes[i] != nullptr; i += 2)
        if (name == attributes[i]) return attributes[i + 1];
    return "";
}

void XMLCALL startElement(void* user, const XML_Char* element, const XML_Char** attributes) {
    auto& package = *static_cast<Package*>(user);
    const std::string name = element;
    const auto number = [&](const char* key) { return std::stod(attribute(attributes, key)); };
    if (name == "basematerials") package.materialsId = attribute(attributes, "id");
    if (name == "base") package.materials.emplace_back(attribute(attributes, "name"), attribute(attributes, "displaycolor"));
    if (name == "object") package.objects.push_back({attribute(attributes, "name"), {}, {}, {}});
    if (name == "vertex") package.objects.back().vertices.push_back({number("x"), number("y"), number("z")});
    if (name == "triangle") {
        auto& object = package.objects.back();
        object.triangles.push_back({static_cast<int>(number("v1")), static_cast<int>(number("v2")),
                                    static_cast<int>(number("v3"))});
        object.colours.emplace_back(attribute(attributes, "pid"), static_cast<int>(number("p1")));
    }
}

// Through Info-ZIP's unzip: an independent reader of the package.
Package readPackage(const std::filesystem::path& path) {
    Package package;
    std::istringstream names(testing::runCommand("unzip -Z1 '" + path.string() + "'"));
    for (std::string name; std::getline(names, name);) package.parts.insert(name);
    const std::string model = testing::runCommand("unzip -p '" + path.string() + "' 3D/3dmodel.model");
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &package);
    XML_SetStartElementHandler(parser, startElement);
    EXPECT_EQ(XML_Parse(parser, model.data(), static_cast<int>(model.size()), 1), XML_STATUS_OK)
        << XML_ErrorString(XML_GetErrorCode(parser));
    XML_ParserFree(parser);
    return package;
}

// Every directed edge once, its reverse once: closed and turned one way.
void expectClosed(const Package::Object& object) {
    SCOPED_TRACE(object.name);
    std::map<std::pair<int, int>, int> edges;
    for (const auto& t : object.triangles)
        for (int c = 0; c < 3; ++c) ++edges[{t[c], t[(c + 1) % 3]}];
    int unpaired = 0;
    for (const auto& [edge, count] : edges) unpaired += count != 1 || !edges.contains({edge.second, edge.first});
    EXPECT_EQ(unpaired, 0);
}

class ThreeMfExport : public testing::MeshExportTest {
protected:
    void SetUp() override {
        if (testing::runCommand("command -v unzip >/dev/null && echo yes") != "yes\n")
            GTEST_SKIP() << "unzip is not installed (Debian package unzip)";
        MeshExportTest::SetUp();
    }

    Package exportPackage(bool smooth, bool colourParts) {
        const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, smooth};
        std::string reason;
        const auto write = colourParts ? export3mfColourParts : export3mf;
        EXPECT_EQ(write(extractor, source, dir / "m.3mf", reason), 1) << reason;
        return readPackage(dir / "m.3mf");
    }

    // The code of the cell behind each triangle of a flat export, 1 mm a cell.
    std::uint8_t codeBehind(const Package::Object& object, const std::array<int, 3>& t) {
        std::array<double, 3> p[3], centre{};
        for (int c = 0; c < 3; ++c) p[c] = object.vertices[t[c]];
        const double n[3] = {(p[1][1] - p[0][1]) * (p[2][2] - p[0][2]) - (p[1][2] - p[0][2]) * (p[2][1] - p[0][1]),
                             (p[1][2] - p[0][2]) * (p[2][0] - p[0][0]) - (p[1][0] - p[0][0]) * (p[2][2] - p[0][2]),
                             (p[1][0] - p[0][0]) * (p[2][1] - p[0][1]) - (p[1][1] - p[0][1]) * (p[2][0] - p[0][0])};
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (int axis = 0; axis < 3; ++axis)
            centre[axis] = (p[0][axis] + p[1][axis] + p[2][axis]) / 3 - 0.25 * n[axis] / length;
        // Millimetres (x, y, z) are lattice (X, 100 - Z, Y).
        const int x = static_cast<int>(std::floor(centre[0])), y = static_cast<int>(std::floor(centre[2]));
        const int z = static_cast<int>(std::floor(kGridSize - centre[1]));
        return store.model->cells[cellIndex(x, y, z)];
    }

    // The colour names and displaycolors the cells call for.
    std::vector<std::pair<std::string, std::string>> coloursInUse() {
        std::vector<std::pair<std::string, std::string>> colours;
        for (const std::uint8_t code : codesInUse(*store.model)) {
            const Material material = materialOfCode(code);
            char hex[16];
            std::snprintf(hex, sizeof hex, "#%06X", packColour(paletteOf(*store.model, material)[code - firstCodeOf(material)]));
            colours.emplace_back(colourName(code), std::string(hex) + "FF");
        }
        return colours;
    }
};

TEST_F(ThreeMfExport, OneClosedObjectWithEveryTriangleInItsCellsColour) {
    load(std::filesystem::path(CUBRIK_EXAMPLES_DIR) / "penguin.cbk");
    for (const bool smooth : {false, true}) {
        SCOPED_TRACE(smooth ? "smooth" : "flat");
        const Package package = exportPackage(smooth, false);
        EXPECT_EQ(package.parts, (std::set<std::string>{"3D/3dmodel.model", "[Content_Types].xml", "_rels/.rels"}));
        const auto colours = coloursInUse();
        EXPECT_EQ(package.materials, colours);
        ASSERT_EQ(package.objects.size(), 1u);
        const Package::Object& object = package.objects[0];
        expectClosed(object);
        std::set<int> used;
        int wrong = 0;
        for (std::size_t t = 0; t < object.triangles.size(); ++t) {
            const auto& [pid, index] = object.colours[t];
            wrong += pid != package.materialsId || index < 0 || index >= static_cast<int>(colours.size());
            used.insert(index);
            if (!smooth && index >= 0 && index < static_cast<int>(colours.size()))
                wrong += colourName(codeBehind(object, object.triangles[t])) != colours[index].first;
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(used.size(), colours.size());
    }
}

TEST_F(ThreeMfExport, APartPerColourIsClosedWithTheFacesBetweenColoursInBoth) {
    load(std::filesystem::path(CUBRIK_EXAMPLES_DIR) / "penguin.cbk");
    const std::size_t whole = exportPackage(false, false).objects.at(0).triangles.size();
    const Package package = exportPackage(false, true);
    const auto colours = coloursInUse();
    ASSERT_EQ(package.objects.size(), colours.size());
    std::size_t triangles = 0;
    for (std::size_t part = 0; part < colours.size(); ++part) {
        const Package::Object& object = package.objects[part];
        EXPECT_EQ(object.name, colours[part].first);
        expectClosed(object);
        for (const auto& colour : object.colours) EXPECT_EQ(colour.second, static_cast<int>(part));
        triangles += object.triangles.size();
    }
    EXPECT_EQ(triangles, whole + 4u * facesBetweenColours());  // each such face: two triangles in each part
}

TEST_F(ThreeMfExport, AnEmptyModelWritesNothing) {
    const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, false};
    for (const auto write : {export3mf, export3mfColourParts}) {
        std::string reason;
        EXPECT_EQ(write(extractor, source, dir / "m.3mf", reason), 0);
        EXPECT_NE(reason.find("no filled cells"), std::string::npos) << reason;
        EXPECT_FALSE(std::filesystem::exists(dir / "m.3mf"));
    }
}

}  // namespace
}  // namespace cubrik
