// Slicers and mesh tools take the STL as it is: Debian's PrusaSlicer
// (`prusa-slicer --info`) finds it manifold with nothing to repair, and admesh
// finds no disconnected facet and fixes no edge, normal or facet, also where
// cells meet only along an edge or at a corner.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "formats/stl_export.h"
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

            const std::string info = testing::runCommand("prusa-slicer --info '" + file.string() + "' 2>/dev/null");
            EXPECT_NE(info.find("manifold = yes"), std::string::npos) << info;
            // Listed only when the mesh needed them.
            for (const char* repair : {"open_edges", "degenerate_facets", "edges_fixed", "facets_removed",
                                       "facets_reversed", "backwards_edges"})
                EXPECT_EQ(info.find(repair), std::string::npos) << info;

            const std::string report = testing::runCommand("admesh '" + file.string() + "' 2>&1");
            int checked = 0;
            std::istringstream lines(report);
            for (std::string line; std::getline(lines, line);)
                for (const char* label : {"Total disconnected facets", "Degenerate facets", "Edges fixed",
                                          "Facets removed", "Facets added", "Facets reversed", "Backwards edges",
                                          "Normals fixed"})
                    if (line.rfind(label, 0) == 0) {
                        ++checked;
                        std::istringstream numbers(line.substr(line.find(':') + 1));
                        for (long n; numbers >> n;) EXPECT_EQ(n, 0) << line;
                    }
            EXPECT_EQ(checked, 8) << report;
        }
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

}  // namespace
}  // namespace cubrik
