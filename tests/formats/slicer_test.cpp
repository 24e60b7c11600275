// Slicers and mesh tools take the STL as it is: Debian's PrusaSlicer
// (`prusa-slicer --info`) finds it manifold with nothing to repair, and admesh
// finds no disconnected facet and fixes no edge, normal or facet, also where
// cells meet only along an edge or at a corner. The same for the 3MF and the
// files of a part per colour.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "formats/print_mesh.h"
#include "formats/stl_export.h"
#include "formats/threemf_export.h"
#include "support/mesh_export_fixture.h"
#include "support/run_command.h"

namespace cubrik {
namespace {

class SlicersReadTheStl : public testing::MeshExportTest {
protected:
    void SetUp() override {
        if (testing::runCommand("command -v prusa-slicer >/dev/null && command -v admesh >/dev/null && echo yes") !=
            "yes\n")
            GTEST_SKIP() << "prusa-slicer or admesh is not installed (Debian packages prusa-slicer, admesh)";
        MeshExportTest::SetUp();
    }

    // Exports the current model, smooth and flat, and asks both programs.
    void check(const std::string& what) {
        for (const bool smooth : {true, false}) {
            SCOPED_TRACE(what + (smooth ? ", smooth" : ", flat"));
            const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, smooth};
            const std::filesystem::path file = dir / "m.stl";
            std::string reason;
            ASSERT_EQ(exportStl(extractor, source, file, reason), 1) << reason;
            expectPrusaSlicerFindsItManifold(file);
            expectAdmeshFixesNothing(file);
        }
    }

    static void expectPrusaSlicerFindsItManifold(const std::filesystem::path& file) {
        const std::string info = testing::runCommand("prusa-slicer --info '" + file.string() + "' 2>/dev/null");
        EXPECT_NE(info.find("manifold = yes"), std::string::npos) << info;
        // Listed only when the mesh needed them.
        for (const char* repair : {"open_edges", "degenerate_facets", "edges_fixed", "facets_removed",
                                   "facets_reversed", "backwards_edges"})
            EXPECT_EQ(info.find(repair), std::string::npos) << info;
    }

    // Returns the number of facets admesh read.
    static long expectAdmeshFixesNothing(const std::filesystem::path& file) {
        const std::string report = testing::runCommand("admesh '" + file.string() + "' 2>&1");
        int checked = 0;
        long facets = 0;
        std::istringstream lines(report);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("Number of facets", 0) == 0) std::istringstream(line.substr(line.find(':') + 1)) >> facets;
            for (const char* label : {"Total disconnected facets", "Degenerate facets", "Edges fixed",
                                      "Facets removed", "Facets added", "Facets reversed", "Backwards edges",
                                      "Normals fixed"})
                if (line.rfind(label, 0) == 0) {
                    ++checked;
                    std::istringstream numbers(line.substr(line.find(':') + 1));
                    for (long n; numbers >> n;) EXPECT_EQ(n, 0) << line;
                }
        }
        EXPECT_EQ(checked, 8) << report;
        return facets;
    }
};

TEST_F(SlicersReadTheStl, TheExamples) {
    for (const char* name : {"penguin.cbk", "doughnut.cbk"}) {
        load(std::filesystem::path(CUBRIK_EXAMPLES_DIR) / name);
        check(name);
    }
}

TEST_F(SlicersReadTheStl, CellsMeetingAtEdgesAndCorners) {
    // Along an edge in each direction, at a corner, and a lattice of both.
    set(10, 10, 10, 3);
    set(11, 11, 10, 20);
    set(12, 12, 11, 4);
    set(11, 13, 12, 5);
    set(12, 14, 13, 6);
    check("a chain of cells");
    testing::fillCheckerboard(*store.model, 8, 9);
    check("a checkerboard");
    std::mt19937 random(5);
    for (int z = 0; z < 12; ++z)
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                set(x, y, z, random() % 3 == 0 ? static_cast<std::uint8_t>(1 + random() % 32) : 0);
    check("random cells");
}

// The penguin in colour: its 3MF, as one object and as one per colour, and
// its STL per colour, each file closed, with the faces between two colours in
// both colours' files.
TEST_F(SlicersReadTheStl, TheColourExports) {
    load(std::filesystem::path(CUBRIK_EXAMPLES_DIR) / "penguin.cbk");
    for (const bool smooth : {true, false}) {
        SCOPED_TRACE(smooth ? "smooth" : "flat");
        const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, smooth};
        std::string reason;
        for (const auto write : {export3mf, export3mfColourParts}) {
            ASSERT_EQ(write(extractor, source, dir / "m.3mf", reason), 1) << reason;
            expectPrusaSlicerFindsItManifold(dir / "m.3mf");
        }
        ASSERT_EQ(exportStl(extractor, source, dir / "m.stl", reason), 1) << reason;
        const long whole = expectAdmeshFixesNothing(dir / "m.stl");
        ASSERT_EQ(exportStlColourParts(extractor, source, dir / "m.stl", reason), 1) << reason;
        long parts = 0;
        for (const std::uint8_t code : codesInUse(*store.model))
            parts += expectAdmeshFixesNothing(dir / ("m-" + colourName(code) + ".stl"));
        if (!smooth) {
            EXPECT_EQ(parts, whole + 4 * facesBetweenColours());
        }
    }
}

}  // namespace
}  // namespace cubrik
