// Meshes brought into the grid: the flat exports of a centred model come back
// on the same cells in the same colours, a sphere fills its ball, open meshes
// and --surface give shells, and bad files change nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <random>

#include "formats/gltf_export.h"
#include "formats/image/png_image.h"
#include "formats/import/mesh_import.h"
#include "formats/obj_export.h"
#include "formats/ply_export.h"
#include "formats/stl_export.h"
#include "formats/threemf_export.h"
#include "formats/zip_package.h"
#include "model/material.h"
#include "support/mesh_export_fixture.h"

namespace cubrik {
namespace {

using testing::MeshExportTest;

class MeshImportTest : public MeshExportTest {
protected:
    // Imports `path` in the model's palettes; returns the cells, or none with the reason.
    std::vector<std::uint8_t> import(const std::filesystem::path& path, VoxelizeOptions options) {
        std::vector<std::uint8_t> cells;
        if (!importMeshFile(path, options, store.model->paletteA, store.model->paletteB, cells, reason)) cells.clear();
        return cells;
    }
    MeshSource flat() { return MeshSource{*store.model, *store.cornerCodes, store.smoothingTable, false}; }
    std::string reason;
};

// Random cells of all 32 colours in a box of 31 x 20 x 12 centred in the grid,
// none hidden behind others (a hidden cell's colour is in no file), and
// material B's colours unlike material A's.
void fillColourfulCentred(VoxelModel& model) {
    std::mt19937 random(37);
    for (Rgb& colour : model.paletteB)
        colour = {static_cast<float>(random() % 256) / 255, static_cast<float>(random() % 256) / 255,
                  static_cast<float>(random() % 256) / 255};
    const int size[3] = {31, 20, 12};
    int low[3];
    for (int axis = 0; axis < 3; ++axis) low[axis] = (kGridSize - size[axis]) / 2;
    for (int z = 0; z < size[2]; ++z)
        for (int y = 0; y < size[1]; ++y)
            for (int x = 0; x < size[0]; ++x)
                if (random() % 3 != 0) model.cells[cellIndex(low[0] + x, low[1] + y, low[2] + z)] = 1 + random() % 32;
    std::vector<int> hidden;
    for (int z = 1; z < kGridSize - 1; ++z)
        for (int y = 1; y < kGridSize - 1; ++y)
            for (int x = 1; x < kGridSize - 1; ++x) {
                const int at = cellIndex(x, y, z);
                const int steps[3] = {1, kGridSize, kGridSize * kGridSize};
                bool covered = model.cells[at] != kEmpty;
                for (const int step : steps) covered = covered && model.cells[at - step] && model.cells[at + step];
                if (covered) hidden.push_back(at);
            }
    for (const int at : hidden) model.cells[at] = kEmpty;
}

TEST_F(MeshImportTest, FlatExportsOfACentredModelComeBackOnTheSameCellsAndColours) {
    fillColourfulCentred(*store.model);
    const std::vector<std::uint8_t> model(store.model->cells, store.model->cells + kCellCount);
    const VoxelizeOptions options{31, false};
    for (const char* name : {"m.obj", "m.ply", "m.glb", "m.3mf"}) {
        const std::filesystem::path path = dir / name;
        const int written = path.extension() == ".obj"   ? exportObj(extractor, flat(), path, reason)
                            : path.extension() == ".ply" ? exportPly(extractor, flat(), path, reason)
                            : path.extension() == ".glb" ? exportGlb(extractor, flat(), path, reason)
                                                         : export3mf(extractor, flat(), path, reason);
        ASSERT_EQ(written, 1) << reason;
        EXPECT_TRUE(import(path, options) == model) << name << ": " << reason;
    }
    ASSERT_EQ(exportStl(extractor, flat(), dir / "m.stl", reason), 1) << reason;
    std::vector<std::uint8_t> shape = import(dir / "m.stl", options);
    ASSERT_EQ(shape.size(), model.size()) << reason;
    for (int cell = 0; cell < kCellCount; ++cell) ASSERT_EQ(shape[cell] != kEmpty, model[cell] != kEmpty) << cell;
}

// A 3MF cube in two objects, one coloured by its object's base material and
// one by a colour group, placed by components and a rotated build item.
TEST_F(MeshImportTest, A3mfPlacesComponentsByTheirTransformsInTheirOwnColours) {
    const auto hex = [&](int index) {
        char text[8];
        std::snprintf(text, sizeof text, "#%06X", packColour(store.model->paletteA[index]));
        return std::string(text);
    };
    // A unit cube whose triangles carry `properties`.
    const auto cube = [](const std::string& properties) {
        std::string mesh = "<mesh><vertices>";
        for (int v = 0; v < 8; ++v)
            mesh += "<vertex x=\"" + std::to_string(v & 1) + "\" y=\"" + std::to_string(v >> 1 & 1) + "\" z=\"" +
                    std::to_string(v >> 2) + "\"/>";
        mesh += "</vertices><triangles>";
        const int faces[12][3] = {{0, 3, 1}, {0, 2, 3}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
                                  {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
        for (const auto& f : faces)
            mesh += "<triangle v1=\"" + std::to_string(f[0]) + "\" v2=\"" + std::to_string(f[1]) + "\" v3=\"" +
                    std::to_string(f[2]) + "\" " + properties + "/>";
        return mesh + "</triangles></mesh>";
    };
    ZipPackage package;
    package.beginEntry("3D/3dmodel.model");
    package.write("<model xmlns=\"http://schemas.microsoft.com/3dmanufacturing/core/2015/02\" "
                  "xmlns:m=\"http://schemas.microsoft.com/3dmanufacturing/material/2015/02\"><resources>"
                  "<basematerials id=\"1\"><base name=\"x\" displaycolor=\"" + hex(0) + "\"/><base name=\"y\" displaycolor=\"" +
                  hex(3) + "FF\"/></basematerials><m:colorgroup id=\"5\"><m:color color=\"" + hex(9) +
                  "\"/></m:colorgroup><object id=\"2\" pid=\"1\" pindex=\"1\">" + cube("") +
                  "</object><object id=\"4\">" + cube("pid=\"5\" p1=\"0\"") +
                  "</object><object id=\"3\"><components><component objectid=\"2\"/>"
                  "<component objectid=\"4\" transform=\"1 0 0 0 1 0 0 0 1 2 0 0\"/></components></object></resources>"
                  "<build><item objectid=\"3\" transform=\"0 1 0 -1 0 0 0 0 1 5 5 5\"/></build></model>");
    std::ofstream(dir / "parts.3mf", std::ios::binary) << package.finish();
    // The cubes lie along the file's y, which is the model's -z.
    std::vector<std::pair<int, int>> filled;  // z, code
    const std::vector<std::uint8_t> cells = import(dir / "parts.3mf", {3, false});
    ASSERT_FALSE(cells.empty()) << reason;
    for (int at = 0; at < kCellCount; ++at)
        if (cells[at] != kEmpty) filled.emplace_back(at / (kGridSize * kGridSize), cells[at]);
    ASSERT_EQ(filled.size(), 2u);
    EXPECT_EQ(filled[0].first + 2, filled[1].first);
    EXPECT_EQ(filled[0].second, kFirstCodeA + 9);
    EXPECT_EQ(filled[1].second, kFirstCodeA + 3);
}

// An icosphere: the icosahedron with each triangle split in four `levels` times.
std::vector<std::array<double, 3>> icosphere(int levels, double radius) {
    const double t = (1 + std::sqrt(5.0)) / 2;
    std::vector<std::array<double, 3>> v = {{-1, t, 0}, {1, t, 0},  {-1, -t, 0}, {1, -t, 0}, {0, -1, t},  {0, 1, t},
                                            {0, -1, -t}, {0, 1, -t}, {t, 0, -1},  {t, 0, 1},  {-t, 0, -1}, {-t, 0, 1}};
    const int faces[20][3] = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
                              {11, 10, 2}, {10, 7, 6}, {7, 1, 8},   {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
                              {3, 8, 9},  {4, 9, 5},  {2, 4, 11},  {6, 2, 10}, {8, 6, 7},   {9, 8, 1}};
    const auto onSphere = [radius](std::array<double, 3> p) {
        const double length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        for (double& c : p) c *= radius / length;
        return p;
    };
    std::vector<std::array<double, 3>> triangles;  // three corners each
    for (const auto& f : faces)
        for (const int corner : f) triangles.push_back(onSphere(v[corner]));
    for (int level = 0; level < levels; ++level) {
        std::vector<std::array<double, 3>> finer;
        for (std::size_t i = 0; i < triangles.size(); i += 3) {
            const auto mid = [&](int a, int b) {
                std::array<double, 3> m;
                for (int axis = 0; axis < 3; ++axis) m[axis] = (triangles[i + a][axis] + triangles[i + b][axis]) / 2;
                return onSphere(m);
            };
            const auto ab = mid(0, 1), bc = mid(1, 2), ca = mid(2, 0);
            for (const auto& corner : {triangles[i], ab, ca, ab, triangles[i + 1], bc, ca, bc, triangles[i + 2], ab, bc, ca})
                finer.push_back(corner);
        }
        triangles.swap(finer);
    }
    return triangles;
}

void writeBinaryStl(const std::filesystem::path& path, const std::vector<std::array<double, 3>>& corners) {
    std::ofstream out(path, std::ios::binary);
    const std::string header(80, ' ');
    out.write(header.data(), 80);
    const std::uint32_t count = static_cast<std::uint32_t>(corners.size() / 3);
    out.write(reinterpret_cast<const char*>(&count), 4);
    for (std::size_t i = 0; i < corners.size(); i += 3) {
        float record[12] = {};
        for (int c = 0; c < 3; ++c)
            for (int axis = 0; axis < 3; ++axis) record[3 + 3 * c + axis] = static_cast<float>(corners[i + c][axis]);
        out.write(reinterpret_cast<const char*>(record), 48);
        out.write("\0\0", 2);
    }
}

TEST_F(MeshImportTest, ASphereOf81CellsFillsTheBallAboutTheGridCentre) {
    const auto sphere = icosphere(5, 40);
    ASSERT_EQ(sphere.size(), 3u * 20480);
    writeBinaryStl(dir / "ball.stl", sphere);
    const std::vector<std::uint8_t> cells = import(dir / "ball.stl", {81, false});
    ASSERT_EQ(cells.size(), std::size_t{kCellCount}) << reason;
    int both = 0, either = 0;
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y)
            for (int x = 0; x < kGridSize; ++x) {
                const double d2 = (x + 0.5 - 50) * (x + 0.5 - 50) + (y + 0.5 - 50) * (y + 0.5 - 50) + (z + 0.5 - 50) * (z + 0.5 - 50);
                const bool inBall = d2 <= 40.5 * 40.5, filled = cells[cellIndex(x, y, z)] != kEmpty;
                both += inBall && filled;
                either += inBall || filled;
                if (filled) {
                    ASSERT_EQ(cells[cellIndex(x, y, z)], kFirstCodeA);  // no colours: colour 1 of material A
                }
            }
    EXPECT_GE(static_cast<double>(both) / either, 0.97);
}

TEST_F(MeshImportTest, SurfaceAndOpenMeshesGiveShellsOneCellThick) {
    testing::fillBox(*store.model, 45, 45, 45, 54, 54, 54, 3);
    ASSERT_EQ(exportObj(extractor, flat(), dir / "box.obj", reason), 1) << reason;
    const auto count = [](const std::vector<std::uint8_t>& cells) {
        return std::count_if(cells.begin(), cells.end(), [](std::uint8_t c) { return c != kEmpty; });
    };
    EXPECT_EQ(count(import(dir / "box.obj", {10, false})), 1000);
    EXPECT_EQ(count(import(dir / "box.obj", {10, true})), 1000 - 512);
    // Without its +x side the box is no solid: the five faces left are taken as a surface.
    std::ofstream(dir / "open.obj") << "v 0 0 0\nv 10 0 0\nv 0 10 0\nv 10 10 0\nv 0 0 10\nv 10 0 10\nv 0 10 10\n"
                                       "v 10 10 10\nf 1 5 7 3\nf 1 2 6 5\nf 3 7 8 4\nf 1 3 4 2\nf 5 6 8 7\n";
    EXPECT_EQ(count(import(dir / "open.obj", {10, false})), 1000 - 9 * 8 * 8);
}

// A cube whose texture is red on its left half and blue on its right: each
// cell takes the texel at its nearest surface point.
TEST_F(MeshImportTest, CellsTakeTheTextureColourOfTheNearestSurfacePoint) {
    const std::uint8_t redThenBlue[8] = {0, 0, 255, 255, 255, 0, 0, 255};  // blue, green, red, alpha
    ASSERT_EQ(writePng(dir / "halves.png", 2, 1, redThenBlue, reason), 1) << reason;
    std::ofstream(dir / "cube.mtl") << "newmtl halves\nKd 1 1 1\nmap_Kd halves.png\n";
    std::ofstream(dir / "cube.obj") << "mtllib cube.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nv 0 0 1\nv 1 0 1\nv 0 1 1\n"
                                       "v 1 1 1\nvt 0.25 0.5\nvt 0.75 0.5\nusemtl halves\nf 1/1 5/1 7/1 3/1\n"
                                       "f 2/2 4/2 8/2 6/2\nf 1/1 2/2 6/2 5/1\nf 3/1 7/1 8/2 4/2\nf 1/1 3/1 4/2 2/2\n"
                                       "f 5/1 6/2 8/2 7/1\n";
    const std::vector<std::uint8_t> cells = import(dir / "cube.obj", {10, false});
    ASSERT_EQ(cells.size(), std::size_t{kCellCount}) << reason;
    for (int z = 45; z < 55; ++z)
        for (int y = 45; y < 55; ++y)
            for (int x = 45; x < 55; ++x) ASSERT_EQ(cells[cellIndex(x, y, z)], x < 50 ? 1 : 9) << x << " " << y << " " << z;
}

TEST_F(MeshImportTest, BadMeshesAreRefusedWithAReason) {
    fillColourfulCentred(*store.model);
    ASSERT_EQ(export3mf(extractor, flat(), dir / "whole.3mf", reason), 1) << reason;
    std::ifstream whole(dir / "whole.3mf", std::ios::binary);
    const std::string package((std::istreambuf_iterator<char>(whole)), {});
    std::string scrambled = package;  // the zip's directory intact, the model's deflated bytes not
    std::fill(scrambled.begin() + 2000, scrambled.begin() + 2100, '\x5a');
    std::map<std::string, std::string> files = {
        {"cut.3mf", package.substr(0, package.size() / 2)},
        {"scrambled.3mf", scrambled},
        {"garbage.stl", std::string("\x01\x7f garbage \xff\xfe", 14)},
        {"empty.obj", ""},
        {"nan.obj", "v 0 0 0\nv 1 0 nan\nv 0 1 0\nf 1 2 3\n"},
        {"point.obj", "v 1 1 1\nv 1 1 1\nv 1 1 1\nf 1 2 3\n"},
        {"lines.obj", "v 0 0 0\nv 1 0 0\nl 1 2\n"},
    };
    for (const auto& [name, text] : files) {
        std::ofstream(dir / name, std::ios::binary) << text;
        EXPECT_TRUE(import(dir / name, {}).empty()) << name;
        EXPECT_EQ(reason.rfind((dir / name).string() + ": ", 0), 0u) << name << ": " << reason;
    }
}

}  // namespace
}  // namespace cubrik
