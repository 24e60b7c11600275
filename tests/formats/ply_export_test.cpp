// The binary PLY: a header counting what follows, vertices with their
// colour's bytes, quads by colour.
#include <gtest/gtest.h>

#include <bit>

#include "formats/ply_export.h"
#include "support/file_bytes.h"
#include "support/mesh_export_fixture.h"

namespace cubrik {
namespace {

std::string le32(std::uint32_t value) {
    std::string out;
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>(value >> shift & 0xff);
    return out;
}

std::string header(int vertices, int faces) {
    return "ply\nformat binary_little_endian 1.0\ncomment Cubrik\nelement vertex " + std::to_string(vertices) +
           "\nproperty float x\nproperty float y\nproperty float z\nproperty uchar red\nproperty uchar green\n"
           "property uchar blue\nelement face " + std::to_string(faces) +
           "\nproperty list uchar int vertex_indices\nend_header\n";
}

class PlyExport : public testing::MeshExportTest {
protected:
    std::string exportBytes() {
        std::string reason;
        const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, false};
        EXPECT_EQ(exportPly(extractor, source, dir / "m.ply", reason), 1) << reason;
        return testing::readBytes(dir / "m.ply");
    }
};

TEST_F(PlyExport, OneCellInObjUnitsWithItsColourOnEveryCorner) {
    set(0, 0, 0, 5);
    store.model->paletteA[4] = {1.0f, 0.5f, 0.0f};
    // The corners as the faces -x, +x, -y, +y, -z, +z first use them; lattice 0 is -30, 1 is -29.4.
    const int corners[8][3] = {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}};
    const int faces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 4, 7, 1}, {3, 2, 6, 5}, {0, 3, 5, 4}, {1, 7, 6, 2}};
    std::string expected = header(8, 6);
    for (const auto& corner : corners) {
        for (int axis : corner) expected += le32(std::bit_cast<std::uint32_t>(axis ? -29.4f : -30.0f));
        expected += "\xff\x7f";
        expected += '\0';
    }
    for (const auto& face : faces) {
        expected += '\x04';
        for (int v : face) expected += le32(v);
    }
    EXPECT_EQ(exportBytes(), expected);
}

TEST_F(PlyExport, ColoursAndMaterialsGetVerticesOfTheirOwn) {
    EXPECT_EQ(exportBytes(), header(0, 0));
    set(10, 10, 10, 1);
    set(11, 10, 10, 2);   // shares a face with the first: no face between them
    set(10, 11, 10, 17);  // the other material: both draw the face between
    const std::string bytes = exportBytes();
    EXPECT_EQ(bytes.substr(0, header(24, 16).size()), header(24, 16));
    EXPECT_EQ(bytes.size(), header(24, 16).size() + 24 * 15 + 16 * 17);
}

}  // namespace
}  // namespace cubrik
