// The .glb container and the document inside it, read back with the JSON
// library tinygltf writes with.
#include <gtest/gtest.h>

#include <cstring>
#include <nlohmann/json.hpp>

#include "formats/gltf_export.h"
#include "support/file_bytes.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    std::uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

struct Glb {
    nlohmann::json document;
    std::string binary;
};

// Checks the header and chunk framing, and splits the file into its chunks.
Glb readGlb(const std::string& file) {
    Glb glb;
    EXPECT_GE(file.size(), 20u);
    if (file.size() < 20) return glb;
    EXPECT_EQ(file.substr(0, 4), "glTF");
    EXPECT_EQ(le32(file, 4), 2u);
    EXPECT_EQ(le32(file, 8), file.size());
    const std::uint32_t jsonLength = le32(file, 12);
    EXPECT_EQ(file.substr(16, 4), "JSON");
    EXPECT_EQ(jsonLength % 4, 0u);
    glb.document = nlohmann::json::parse(file.substr(20, jsonLength));
    const std::size_t binAt = 20 + jsonLength;
    if (binAt < file.size()) {
        EXPECT_EQ(file.substr(binAt + 4, 4), std::string("BIN\0", 4));
        glb.binary = file.substr(binAt + 8, le32(file, binAt));
    }
    return glb;
}

// Item `i` of an accessor's data, as three floats (or one index in [0]).
template <class T>
const T* item(const Glb& glb, int accessor, std::size_t i, std::size_t size) {
    const nlohmann::json& a = glb.document["accessors"][accessor];
    const nlohmann::json& view = glb.document["bufferViews"][a["bufferView"].get<int>()];
    const std::size_t at = view.value("byteOffset", 0) + a.value("byteOffset", 0) + i * size;
    // Vertex views are shared by the primitives' accessors, so they must state their stride.
    if (view["target"] == 34962) {
        EXPECT_EQ(view.value("byteStride", 0), 12);
    }
    return reinterpret_cast<const T*>(glb.binary.data() + at);
}

class GltfExport : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(initMeshExtraction(extractor), 1); }

    Glb exportAndRead(bool smooth) {
        std::string reason;
        const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, smooth};
        EXPECT_EQ(exportGlb(extractor, source, dir / "m.glb", reason), 1) << reason;
        return readGlb(testing::readBytes(dir / "m.glb"));
    }

    testing::TempDir dir;
    ModelStore store = testing::makeStore();
    MeshExtractor extractor;
};

TEST_F(GltfExport, AnEmptyModelIsAValidFileWithoutMeshes) {
    const Glb glb = exportAndRead(true);
    EXPECT_EQ(glb.document["asset"]["version"], "2.0");
    EXPECT_EQ(glb.document["scenes"].size(), 1u);
    EXPECT_FALSE(glb.document.contains("meshes"));
    EXPECT_FALSE(glb.document.contains("buffers"));  // a buffer may not be empty
    EXPECT_TRUE(glb.binary.empty());
}

TEST_F(GltfExport, EachMaterialIsAMeshWithAPrimitivePerColourInItsLinearColour) {
    store.model->paletteA[4] = {0.5f, 1.0f, 0.0f};
    store.model->paletteB[1] = {0.04f, 0.2f, 1.0f};
    testing::setCell(*store.model, 0, 0, 0, 5);
    testing::setCell(*store.model, 3, 0, 0, 5);
    testing::setCell(*store.model, 6, 0, 0, 1);
    testing::setCell(*store.model, 9, 0, 0, 16 + 2);
    const Glb glb = exportAndRead(false);
    const nlohmann::json& doc = glb.document;
    ASSERT_EQ(doc["meshes"].size(), 2u);
    EXPECT_EQ(doc["nodes"][0]["name"], "obj_A");
    EXPECT_EQ(doc["nodes"][1]["name"], "obj_B");
    EXPECT_EQ(doc["scenes"][0]["nodes"], nlohmann::json({0, 1}));
    ASSERT_EQ(doc["meshes"][0]["primitives"].size(), 2u);
    ASSERT_EQ(doc["materials"].size(), 3u);  // only the colours used

    const nlohmann::json& a05 = doc["meshes"][0]["primitives"][1];
    const nlohmann::json& material = doc["materials"][a05["material"].get<int>()];
    EXPECT_EQ(material["name"], "mat_A05");
    const auto colour = material["pbrMetallicRoughness"]["baseColorFactor"].get<std::vector<double>>();
    ASSERT_EQ(colour.size(), 4u);
    EXPECT_NEAR(colour[0], 0.2140, 1e-4);  // 0.5 as shown is 0.214 in linear light
    EXPECT_EQ(colour[1], 1.0);
    EXPECT_EQ(colour[2], 0.0);
    EXPECT_EQ(colour[3], 1.0);
    EXPECT_EQ(material["pbrMetallicRoughness"]["metallicFactor"], 0.0);
    const auto b02 = doc["materials"][2]["pbrMetallicRoughness"]["baseColorFactor"].get<std::vector<double>>();
    EXPECT_EQ(doc["materials"][2]["name"], "mat_B02");
    EXPECT_NEAR(b02[0], 0.04 / 12.92, 1e-6);  // the straight segment near black

    // Two cells of colour 5: 12 faces, 48 corners, 24 triangles.
    const nlohmann::json& position = doc["accessors"][a05["attributes"]["POSITION"].get<int>()];
    EXPECT_EQ(position["count"], 48);
    EXPECT_EQ(doc["accessors"][a05["indices"].get<int>()]["count"], 72);
    EXPECT_NEAR(position["min"][0].get<double>(), -30.0, 1e-5);  // placed as in the OBJ export
    EXPECT_NEAR(position["max"][0].get<double>(), -27.6, 1e-5);
    EXPECT_NEAR(position["max"][1].get<double>(), -29.4, 1e-5);
}

// Every triangle turns as its quad did, counter-clockwise seen from outside,
// so its own normal agrees with the normal of its corners.
TEST_F(GltfExport, TrianglesKeepTheQuadWindingAndTheirCornersTheFaceNormal) {
    testing::fillSphere(*store.model, 6);
    for (bool smooth : {false, true}) {
        SCOPED_TRACE(smooth ? "smooth" : "flat");
        const Glb glb = exportAndRead(smooth);
        long triangles = 0, agreeing = 0;
        for (const nlohmann::json& mesh : glb.document["meshes"])
            for (const nlohmann::json& primitive : mesh["primitives"]) {
                const int positions = primitive["attributes"]["POSITION"];
                const int normals = primitive["attributes"]["NORMAL"];
                const int indices = primitive["indices"];
                const std::size_t count = glb.document["accessors"][indices]["count"];
                for (std::size_t t = 0; t < count; t += 3) {
                    const float* p[3];
                    const float* n[3];
                    for (int c = 0; c < 3; ++c) {
                        const std::uint32_t v = *item<std::uint32_t>(glb, indices, t + c, 4);
                        p[c] = item<float>(glb, positions, v, 12);
                        n[c] = item<float>(glb, normals, v, 12);
                    }
                    const float e[2][3] = {{p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]},
                                           {p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]}};
                    const float cross[3] = {e[0][1] * e[1][2] - e[0][2] * e[1][1],
                                            e[0][2] * e[1][0] - e[0][0] * e[1][2],
                                            e[0][0] * e[1][1] - e[0][1] * e[1][0]};
                    ++triangles;
                    agreeing += cross[0] * n[0][0] + cross[1] * n[0][1] + cross[2] * n[0][2] > 0;
                    for (int c = 1; c < 3; ++c) EXPECT_EQ(std::memcmp(n[0], n[c], 12), 0);
                }
            }
        EXPECT_GT(triangles, 0);
        EXPECT_EQ(agreeing, triangles);
    }
}

// Checked with folders no user can write into, so that it holds under root too.
TEST_F(GltfExport, AFolderThatCannotBeWrittenLeavesNothingAndSaysWhy) {
    testing::setCell(*store.model, 0, 0, 0, 5);
    const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, false};
    testing::writeBytes(dir / "plain", "a file, not a folder");
    for (const std::filesystem::path& path : {dir / "missing" / "m.glb", dir / "plain" / "m.glb"}) {
        std::string reason;
        EXPECT_EQ(exportGlb(extractor, source, path, reason), 0);
        EXPECT_NE(reason.find(path.string()), std::string::npos) << reason;
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) files += entry.exists();
    EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace cubrik
