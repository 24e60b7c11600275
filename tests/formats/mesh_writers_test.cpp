#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <stdexcept>

#include "formats/collada_export.h"
#include "formats/gltf_export.h"
#include "formats/metasequoia_export.h"
#include "formats/obj_export.h"
#include "support/file_bytes.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace cubrik {
namespace {

using Writer = int (*)(MeshExtractor&, const MeshSource&, const std::filesystem::path&, std::string&);

// Template text as written: every "\n" becomes CR LF.
std::string crlf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

int count(const std::string& text, std::string_view what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class MeshWriters : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(initMeshExtraction(extractor), 1); }

    // Runs `writer` into the test folder and returns the file's bytes.
    std::string exportTo(Writer writer, const std::string& name, bool smooth = false) {
        std::string reason;
        const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, smooth};
        EXPECT_EQ(writer(extractor, source, dir / name, reason), 1) << reason;
        return testing::readBytes(dir / name);
    }
    void set(int x, int y, int z, std::uint8_t code) { testing::setCell(*store.model, x, y, z, code); }

    testing::TempDir dir;
    ModelStore store = testing::makeStore();
    MeshExtractor extractor;
};

TEST_F(MeshWriters, ObjOfOneCell) {
    set(0, 0, 0, 5);
    EXPECT_EQ(exportTo(exportObj, "one.obj"), crlf("mtllib one.mtl\n"
                                                   "g obj_A\n"
                                                   "v -30.000 -29.400 -30.000\n"
                                                   "v -30.000 -29.400 -29.400\n"
                                                   "v -30.000 -30.000 -29.400\n"
                                                   "v -30.000 -30.000 -30.000\n"
                                                   "v -29.400 -30.000 -29.400\n"
                                                   "v -29.400 -29.400 -29.400\n"
                                                   "v -29.400 -29.400 -30.000\n"
                                                   "v -29.400 -30.000 -30.000\n"
                                                   "usemtl mat_A05\n"
                                                   "f 4 3 2 1\n"
                                                   "f 8 7 6 5\n"
                                                   "f 4 8 5 3\n"
                                                   "f 1 2 6 7\n"
                                                   "f 4 1 7 8\n"
                                                   "f 3 5 6 2\n"));
}

TEST_F(MeshWriters, ObjOfAnEmptyModelAndTheFullLibraryBesideIt) {
    store.model->paletteB[1] = {0.2f, 0.4f, 0.6f};
    EXPECT_EQ(exportTo(exportObj, "empty.obj"), "mtllib empty.mtl\r\n");
    const std::string mtl = testing::readBytes(dir / "empty.mtl");
    EXPECT_EQ(count(mtl, "\r\n"), 256);
    EXPECT_EQ(count(mtl, "\n"), 256);
    const std::string first = crlf("newmtl mat_A01\n"
                                       "Ns 50.000000\n"
                                       "Ka 0.800000 0.000000 0.000000\n"
                                       "Kd 1.000000 0.000000 0.000000\n"
                                       "Ks 0.000000 0.000000 0.000000\n"
                                       "Ni 1.000000\n"
                                       "d 1.000000\n"
                                       "illum 1\n");
    EXPECT_EQ(mtl.substr(0, first.size()), first);
    EXPECT_NE(mtl.find(crlf("newmtl mat_B02\nNs 50.000000\nKa 0.160000 0.320000 0.480000\n"
                            "Kd 0.200000 0.400000 0.600000\n")),
              std::string::npos);
}

TEST_F(MeshWriters, ObjGroupsCountVerticesAcrossTheFileAndSkipUnusedColours) {
    set(5, 5, 5, 16 + 2);
    std::string obj = exportTo(exportObj, "b.obj");
    EXPECT_EQ(obj.find("g obj_A"), std::string::npos);
    EXPECT_NE(obj.find("g obj_B\r\n"), std::string::npos);
    EXPECT_NE(obj.find("usemtl mat_B02\r\nf 4 3 2 1\r\n"), std::string::npos);
    EXPECT_EQ(count(obj, "usemtl"), 1);

    set(1, 1, 1, 1);
    set(2, 1, 1, 3);
    obj = exportTo(exportObj, "ab.obj");
    EXPECT_EQ(count(obj, "\nv "), 12 + 8);
    const std::size_t groupB = obj.find("g obj_B");
    ASSERT_NE(groupB, std::string::npos);
    EXPECT_NE(obj.find("usemtl mat_A01"), std::string::npos);
    EXPECT_NE(obj.find("usemtl mat_A03"), std::string::npos);
    EXPECT_NE(obj.find("usemtl mat_B02\r\nf 16 15 14 13\r\n", groupB), std::string::npos);
}

TEST_F(MeshWriters, TheLibraryNameReplacesSpacesInTheFileNameButNotInFolders) {
    std::filesystem::create_directory(dir / "my models");
    std::string reason;
    const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, true};
    ASSERT_EQ(exportObj(extractor, source, dir / "my models" / "big cube.obj", reason), 1) << reason;
    EXPECT_EQ(testing::readBytes(dir / "my models" / "big cube.obj"), "mtllib big_cube.mtl\r\n");
    EXPECT_TRUE(std::filesystem::exists(dir / "my models" / "big_cube.mtl"));

    EXPECT_EQ(mtlPathFor("big cube.obj"), "big cube.mtl");  // no folder: left alone
    EXPECT_EQ(mtlPathFor("/a b/c d.v2.obj"), "/a b/c_d.v2.mtl");
    EXPECT_EQ(mtlPathFor("/a.b/model"), "/a.b/model.mtl");
}

TEST_F(MeshWriters, ColladaOfOneCell) {
    set(0, 0, 0, 5);
    const std::string dae = exportTo(exportCollada, "one.dae");
    EXPECT_NE(dae.find(crlf("\t\t\t\t\t<float_array count=\"24\" id=\"Object_A-Pos-array\">\n"
                            "\t\t\t\t\t\t10.000 -9.800 -10.000\n")),
              std::string::npos);
    EXPECT_NE(dae.find(crlf("\t\t\t\t\t<float_array count=\"18\" id=\"Object_A-Normal-array\">\n"
                            "\t\t\t\t\t\t-0.00000 0.00000 -1.00000\n")),
              std::string::npos);
    EXPECT_NE(dae.find(crlf("\t\t\t\t\t\t<accessor count=\"6\" source=\"#Object_A-Normal-array\" stride=\"3\">\n")),
              std::string::npos);
    EXPECT_NE(dae.find(crlf("\t\t\t\t<polygons count=\"6\" material=\"Material_A05\">\n"
                            "\t\t\t\t\t<input offset=\"0\" semantic=\"VERTEX\" source=\"#Object_A-Vtx\"/>\n"
                            "\t\t\t\t\t<input offset=\"1\" semantic=\"NORMAL\" source=\"#Object_A-Normal\"/>\n"
                            "\t\t\t\t\t\t<p>3 0  2 0  1 0  0 0</p>\n"
                            "\t\t\t\t\t\t<p>7 1  6 1  5 1  4 1</p>\n")),
              std::string::npos);
    EXPECT_EQ(count(dae, "<polygons"), 1);
}

TEST_F(MeshWriters, ColladaOfAnEmptyModelIsACompleteDocument) {
    store.model->paletteA[4] = {0.9f, 0.9f, 0.9f};
    store.model->paletteB[4] = {0.1f, 0.25f, 1.0f};
    const std::string dae = exportTo(exportCollada, "empty.dae");
    EXPECT_TRUE(dae.starts_with(crlf("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                       "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" "
                                       "version=\"1.4.1\">\n")));
    EXPECT_EQ(dae.substr(dae.size() - 20), "</scene>\r\n</COLLADA>");
    EXPECT_EQ(count(dae, "\n"), count(dae, "\r\n"));
    EXPECT_EQ(count(dae, "<effect id="), 32);
    EXPECT_EQ(count(dae, "<material id="), 32);
    EXPECT_EQ(count(dae, "<instance_material "), 32);
    EXPECT_EQ(count(dae, "<polygons"), 0);
    const std::string params = "\t\t\t\t\t\t\t<param type=\"float\" name=\"X\"></param>\n"
                               "\t\t\t\t\t\t\t<param type=\"float\" name=\"Y\"></param>\n"
                               "\t\t\t\t\t\t\t<param type=\"float\" name=\"Z\"></param>\n"
                               "\t\t\t\t\t\t</accessor>\n"
                               "\t\t\t\t\t</technique_common>\n"
                               "\t\t\t\t</source>\n";
    EXPECT_NE(dae.find(crlf("\t\t<geometry id=\"Object_B\" name=\"Object_B\">\n"
                            "\t\t\t<mesh>\n"
                            "\t\t\t\t<source id=\"Object_B-Pos\">\n"
                            "\t\t\t\t\t<float_array count=\"0\" id=\"Object_B-Pos-array\">\n"
                            "\t\t\t\t\t</float_array>\n"
                            "\t\t\t\t\t<technique_common>\n"
                            "\t\t\t\t\t\t<accessor count=\"0\" source=\"#Object_B-Pos-array\" stride=\"3\">\n" +
                            params +
                            "\t\t\t\t<source id=\"Object_B-Normal\">\n"
                            "\t\t\t\t\t<float_array count=\"0\" id=\"Object_B-Normal-array\">\n"
                            "\t\t\t\t\t</float_array>\n"
                            "\t\t\t\t\t<technique_common>\n"
                            "\t\t\t\t\t\t<accessor count=\"0\" source=\"#Object_B-Normal-array\" stride=\"3\">\n" +
                            params +
                            "\t\t\t\t<vertices id=\"Object_B-Vtx\">\n"
                            "\t\t\t\t\t<input semantic=\"POSITION\" source=\"#Object_B-Pos\"/>\n"
                            "\t\t\t\t</vertices>\n"
                            "\t\t\t</mesh>\n"
                            "\t\t</geometry>\n"
                            "\t</library_geometries>\n")),
              std::string::npos);
    // Effect_B05 takes its colour from palette B.
    const std::size_t effect = dae.find("<effect id=\"Effect_B05\" name=\"Effect_B05\">");
    ASSERT_NE(effect, std::string::npos);
    const std::string body = dae.substr(effect, dae.find("</effect>", effect) - effect);
    EXPECT_EQ(count(body, "<color>0.1000 0.2500 1.0000 1</color>"), 2);
    EXPECT_EQ(count(body, "<color>0.0000 0.0000 0.0000 1</color>"), 1);
    // Importers look the common technique up by its sid.
    EXPECT_NE(body.find("<profile_COMMON>\r\n\t\t\t\t<technique sid=\"common\">\r\n\t\t\t\t\t<phong>\r\n"),
              std::string::npos);
    EXPECT_EQ(count(dae, "<technique sid=\"common\">"), 32);
    EXPECT_EQ(count(dae, "<technique>"), 0);
    EXPECT_NE(dae.find("\t\t\t\t\t\t\t<instance_material symbol=\"Material_B16\" target=\"#Material_B16\" />\r\n"
                       "\t\t\t\t\t\t</technique_common>\r\n"),
              std::string::npos);
}

// The material list of the default palettes, as it reads for material A or B.
std::string defaultMaterials(char letter) {
    static const char* const colours[kPaletteSize] = {
        "1.000 0.000 0.000", "1.000 0.500 0.000", "1.000 1.000 0.000", "0.500 1.000 0.000",
        "0.000 1.000 0.000", "0.000 1.000 0.500", "0.000 1.000 1.000", "0.000 0.500 1.000",
        "0.000 0.000 1.000", "0.500 0.000 1.000", "1.000 0.000 1.000", "1.000 0.000 0.500",
        "0.000 0.000 0.000", "0.250 0.250 0.250", "0.500 0.500 0.500", "1.000 1.000 1.000"};
    std::string out;
    for (int n = 0; n < kPaletteSize; ++n)
        out += std::string("\t\"mat_") + letter + (n < 9 ? "0" : "") + std::to_string(n + 1) + "\" shader(3) col(" +
               colours[n] + " 1.000)dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)\n";
    return out;
}

TEST_F(MeshWriters, MetasequoiaOfAnEmptyModel) {
    EXPECT_EQ(exportTo(exportMetasequoia, "empty.mqo"),
              crlf("Metasequoia Document\n"
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
                   "}\n"
                   "Material 32 {\n" +
                   defaultMaterials('A') + defaultMaterials('B') +
                   "}\n"
                   "Eof\n"));
}

TEST_F(MeshWriters, MetasequoiaObjectsOfOneCell) {
    set(0, 0, 0, 5);
    std::string mqo = exportTo(exportMetasequoia, "one.mqo");
    EXPECT_NE(mqo.find(crlf("Object \"obj_A\" {\n"
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
                            "\tcolor_type 0\n"
                            "\tvertex 8 {\n"
                            "\t\t-250.0000 -245.0000 -250.0000\n")),
              std::string::npos);
    EXPECT_NE(mqo.find(crlf("\t}\n\tface 6 {\n\t\t4 V(0 1 2 3) M(4)\n\t\t4 V(4 5 6 7) M(4)\n")), std::string::npos);
    EXPECT_NE(mqo.find(crlf("\t\t4 V(1 5 4 2) M(4)\n\t}\n}\nEof\n")), std::string::npos);
    EXPECT_EQ(mqo.find("obj_B"), std::string::npos);

    store.model->cells[0] = 16 + 1;
    set(1, 0, 0, 32);
    mqo = exportTo(exportMetasequoia, "b.mqo");
    EXPECT_EQ(mqo.find("obj_A"), std::string::npos);
    EXPECT_EQ(count(mqo, "M(16)"), 5);
    EXPECT_EQ(count(mqo, "M(31)"), 5);
}

// Switches the whole process to a locale with a decimal comma for one scope.
class DecimalCommaLocale {
public:
    DecimalCommaLocale() : previous_(std::locale::global(std::locale("de_DE.UTF-8"))) {}
    ~DecimalCommaLocale() {
        std::locale::global(previous_);
        std::setlocale(LC_ALL, "C");
    }

private:
    std::locale previous_;
};

TEST_F(MeshWriters, NumbersKeepTheirFullStopUnderADecimalCommaLocale) {
    testing::fillSphere(*store.model, 6);
    store.model->paletteA[0] = {0.3f, 0.6f, 0.9f};
    const Writer writers[] = {exportObj, exportCollada, exportMetasequoia};
    const char* const names[] = {"s.obj", "s.dae", "s.mqo"};
    std::string expected[3];
    for (int i = 0; i < 3; ++i) expected[i] = exportTo(writers[i], names[i], true);
    const std::string mtl = testing::readBytes(dir / "s.mtl");
    try {
        DecimalCommaLocale comma;
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%.1f", 0.5);
        ASSERT_STREQ(buffer, "0,5");
        for (int i = 0; i < 3; ++i) EXPECT_EQ(exportTo(writers[i], names[i], true), expected[i]) << names[i];
        EXPECT_EQ(testing::readBytes(dir / "s.mtl"), mtl);
    } catch (const std::runtime_error&) {
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (scripts/install-deps test generates it)";
    }
    EXPECT_NE(expected[1].find("0.3000 0.6000 0.9000 1"), std::string::npos);
}

TEST_F(MeshWriters, RunningOutOfMemoryLeavesTheEarlierFilesAlone) {
    testing::fillAll(*store.model, 1);
    extractor.growthLimitBytes = 1 << 20;
    const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, true};
    const Writer writers[] = {exportObj, exportCollada, exportMetasequoia, exportGlb};
    const char* const names[] = {"m.obj", "m.dae", "m.mqo", "m.glb"};
    testing::writeBytes(dir / "m.mtl", "earlier library");
    for (int i = 0; i < 4; ++i) {
        testing::writeBytes(dir / names[i], "earlier");
        std::string reason;
        EXPECT_EQ(writers[i](extractor, source, dir / names[i], reason), 0);
        EXPECT_EQ(reason, "out of memory while exporting " + (dir / names[i]).string());
        EXPECT_EQ(testing::readBytes(dir / names[i]), "earlier");
    }
    EXPECT_EQ(testing::readBytes(dir / "m.mtl"), "earlier library");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) files += entry.exists();
    EXPECT_EQ(files, 5);  // no temporary file left behind

    extractor.growthLimitBytes = std::numeric_limits<std::size_t>::max();
    EXPECT_EQ(count(exportTo(exportObj, "m.obj", true), "\nf "), 60000);
    EXPECT_NE(testing::readBytes(dir / "m.mtl"), "earlier library");
}

TEST_F(MeshWriters, AFileThatCannotBeWrittenIsReportedAndGetsNoLibrary) {
    const MeshSource source{*store.model, *store.cornerCodes, store.smoothingTable, false};
    std::string reason;
    EXPECT_EQ(exportCollada(extractor, source, dir / "missing" / "a.dae", reason), 0);
    EXPECT_NE(reason.find((dir / "missing" / "a.dae").string()), std::string::npos) << reason;
    std::filesystem::create_directory(dir / "folder.obj");  // cannot be replaced by a file
    EXPECT_EQ(exportObj(extractor, source, dir / "folder.obj", reason), 0);
    EXPECT_NE(reason.find("folder.obj"), std::string::npos) << reason;
    EXPECT_FALSE(std::filesystem::exists(dir / "folder.mtl"));
}

}  // namespace
}  // namespace cubrik
