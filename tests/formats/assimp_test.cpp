// A real consumer reads the OBJ, COLLADA and glTF exports: `assimp info`
// (Debian assimp-utils) must find every face, grouped by colour as we wrote
// them, and the model's extent; and the PLY export with its colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "formats/collada_export.h"
#include "formats/gltf_export.h"
#include "formats/obj_export.h"
#include "formats/ply_export.h"
#include "support/run_command.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

std::filesystem::path findAssimp() {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / "assimp";
        if (!folder.empty() && std::filesystem::is_regular_file(candidate)) return candidate;
    }
    return {};
}

// What `assimp info` reports about a file.
struct Report {
    long vertices = -1, faces = -1;
    std::vector<long> facesPerMesh;
    double minimum[3] = {}, maximum[3] = {};
    std::string text;
};

Report readReport(const std::filesystem::path& assimp, const std::filesystem::path& file, bool raw) {
    Report report;
    std::string command = "'";  // appended piece by piece: GCC 12 misreads "..." + std::string as an overlapping copy
    command.append(assimp.string()).append("' info '").append(file.string()).append(raw ? "' -r 2>&1" : "' 2>&1");
    report.text = testing::runCommand(command);
    std::istringstream lines(report.text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Vertices:", 0) == 0) report.vertices = std::stol(line.substr(9));
        if (line.rfind("Faces:", 0) == 0) report.faces = std::stol(line.substr(6));
        if (line.rfind("Minimum point", 0) == 0)
            std::sscanf(line.c_str(), "Minimum point (%lf %lf %lf)", &report.minimum[0], &report.minimum[1],
                        &report.minimum[2]);
        if (line.rfind("Maximum point", 0) == 0)
            std::sscanf(line.c_str(), "Maximum point (%lf %lf %lf)", &report.maximum[0], &report.maximum[1],
                        &report.maximum[2]);
        // "    3 (obj_A): [1452 / 0 / 363 | polygon]"
        const std::size_t bracket = line.find("): [");
        if (bracket != std::string::npos) {
            long vertices, bones, faces;
            if (std::sscanf(line.c_str() + bracket + 4, "%ld / %ld / %ld", &vertices, &bones, &faces) == 3)
                report.facesPerMesh.push_back(faces);
        }
    }
    return report;
}

// What the exports should hold, from the meshes themselves.
struct Expected {
    long faces = 0;
    std::vector<long> facesPerColour;   // non-zero entries, material A then B
    float minimum[3] = {1e9f, 1e9f, 1e9f}, maximum[3] = {-1e9f, -1e9f, -1e9f};  // lattice units
};

class AssimpReadsTheExports : public ::testing::Test {
protected:
    void SetUp() override {
        assimp = findAssimp();
        if (assimp.empty()) GTEST_SKIP() << "assimp is not installed (Debian package assimp-utils)";
        ASSERT_EQ(initMeshExtraction(extractor), 1);
    }

    Expected expectedFor(const MeshSource& source) {
        Expected e;
        if (source.smooth) refreshCornerCodes(store.model->cells, *store.cornerCodes);
        for (const Material material : kMaterials) {
            extractQuadMesh(extractor, source, material);
            const QuadMesh& mesh = extractor.mesh;
            e.faces += faceCount(mesh);
            for (int c = 1; c <= kPaletteSize; ++c)
                if (mesh.facesPerColour[c] > 0) e.facesPerColour.push_back(mesh.facesPerColour[c]);
            for (std::size_t i = 0; i < mesh.positionsLength; ++i) {
                e.minimum[i % 3] = std::min(e.minimum[i % 3], mesh.positions[i]);
                e.maximum[i % 3] = std::max(e.maximum[i % 3], mesh.positions[i]);
            }
        }
        return e;
    }

    // Exports the current model in every format and compares what assimp reads.
    void check(const std::string& what, bool smooth) {
        SCOPED_TRACE(what + (smooth ? ", smooth" : ", flat"));
        const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, smooth};
        const Expected expected = expectedFor(source);
        std::string reason;
        ASSERT_EQ(exportObj(extractor, source, dir / "m.obj", reason), 1) << reason;
        ASSERT_EQ(exportCollada(extractor, source, dir / "m.dae", reason), 1) << reason;
        ASSERT_EQ(exportGlb(extractor, source, dir / "m.glb", reason), 1) << reason;
        for (const char* name : {"m.obj", "m.dae", "m.glb"}) {
            SCOPED_TRACE(name);
            const bool collada = name[2] == 'd';
            const bool glb = name[2] == 'g';
            const long perQuad = glb ? 2 : 1;  // glTF holds the quads as triangles already
            std::vector<long> facesPerMesh = expected.facesPerColour;
            for (long& faces : facesPerMesh) faces *= perQuad;
            const Report raw = readReport(assimp, dir / name, true);
            EXPECT_EQ(raw.faces, perQuad * expected.faces) << raw.text;
            EXPECT_EQ(raw.vertices, 4 * expected.faces);  // every face keeps its four corners
            EXPECT_EQ(raw.facesPerMesh, facesPerMesh);
            // The materials: all 32 in OBJ and COLLADA, the used ones in glTF.
            EXPECT_NE(raw.text.find(collada ? "'Material_B16'" : glb ? "'mat_" : "'mat_B16'"), std::string::npos);
            for (int axis = 0; axis < 3; ++axis) {
                // OBJ and glTF keep the axes at 0.6 units a cell; COLLADA makes lattice (x, y, z) (-z, y, x) at 0.2.
                const float* low = expected.minimum;
                const float* high = expected.maximum;
                double least = (low[axis] - 50) * 0.6, most = (high[axis] - 50) * 0.6;
                if (collada && axis == 0) least = (50 - high[2]) * 0.2, most = (50 - low[2]) * 0.2;
                if (collada && axis > 0) least = (low[2 - axis] - 50) * 0.2, most = (high[2 - axis] - 50) * 0.2;
                EXPECT_NEAR(raw.minimum[axis], least, 1e-3) << axis;
                EXPECT_NEAR(raw.maximum[axis], most, 1e-3) << axis;
            }
            // Triangulated, every quad becomes two proper triangles.
            EXPECT_EQ(readReport(assimp, dir / name, false).faces, 2 * expected.faces);
        }
    }

    std::filesystem::path assimp;
    testing::TempDir dir;
    ModelStore store = testing::makeStore();
    MeshExtractor extractor;
};

TEST_F(AssimpReadsTheExports, OneCell) {
    testing::setCell(*store.model, 0, 0, 0, 5);
    check("one cell", false);
}

TEST_F(AssimpReadsTheExports, SphereOfBothMaterials) {
    testing::fillSphere(*store.model, 10);
    check("sphere", false);
    check("sphere", true);
}

TEST_F(AssimpReadsTheExports, RandomBlockTouchingTheBorder) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> code(0, kLastCode);
    for (int z = 90; z < kGridSize; ++z)
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                testing::setCell(*store.model, x, y, z, static_cast<std::uint8_t>(code(random)));
    check("random block", true);
}

// assimp writes what it read from our PLY as a text PLY: every corner of every
// face, in the order we wrote them, carries that face's palette colour.
TEST_F(AssimpReadsTheExports, PlyWithItsColours) {
    testing::fillSphere(*store.model, 10);
    store.model->paletteB[3] = {0.25f, 1.0f, 0.75f};
    for (const bool smooth : {false, true}) {
        SCOPED_TRACE(smooth ? "smooth" : "flat");
        const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, smooth};
        std::vector<std::uint32_t> faceColours;
        if (smooth) refreshCornerCodes(store.model->cells, *store.cornerCodes);
        for (const Material material : kMaterials) {
            extractQuadMesh(extractor, source, material);
            for (int c = 1; c <= kPaletteSize; ++c)
                faceColours.insert(faceColours.end(), extractor.mesh.facesPerColour[c],
                                   packColour(paletteOf(*store.model, material)[c - 1]));
        }
        std::string reason;
        ASSERT_EQ(exportPly(extractor, source, dir / "m.ply", reason), 1) << reason;
        std::string command = "'";
        command.append(assimp.string()).append("' export '").append((dir / "m.ply").string());
        command.append("' '").append((dir / "back.ply").string()).append("' -fply 2>&1");
        testing::runCommand(command);
        std::ifstream back(dir / "back.ply");
        std::string word;
        long vertices = 0, faces = -1;
        int column = 0, red = -1, columns = 0;
        while (back >> word && word != "end_header") {
            if (word == "element") {
                long count = 0;
                back >> word >> count;
                (word == "vertex" ? vertices : faces) = count;
            }
            if (word == "property" && faces < 0) {
                std::getline(back, word);
                if (word.ends_with(" red")) red = column;
                columns = ++column;
            }
        }
        ASSERT_GE(red, 0);
        ASSERT_EQ(faces, static_cast<long>(faceColours.size()));
        std::vector<std::uint32_t> vertexColours(vertices);
        for (std::uint32_t& colour : vertexColours)
            for (int c = 0; c < columns; ++c) {
                double value;
                back >> value;
                if (c >= red && c < red + 3) colour = colour << 8 | static_cast<std::uint32_t>(value);
            }
        int wrong = 0;
        for (const std::uint32_t expected : faceColours) {
            int corners = 0;
            back >> corners;
            for (int i = 0, v = 0; i < corners && back >> v; ++i) wrong += vertexColours.at(v) != expected;
        }
        EXPECT_TRUE(back) << "the file ends early";
        EXPECT_EQ(wrong, 0);
    }
}

}  // namespace
}  // namespace cubrik
