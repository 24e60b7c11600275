#include "formats/threemf_export.h"

#include <Model/COM/NMR_DLLInterfaces.h>

#include <cstring>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/export_text.h"
#include "formats/print_mesh.h"
#include "model/material.h"

namespace cubrik {
namespace {

using namespace NMR;

// A failed lib3mf call, with lib3mf's own words for it.
struct Lib3mfFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void check(LIB3MFRESULT result, PLib3MFBase* instance, const char* what) {
    if (result == LIB3MF_OK) return;
    DWORD code = 0;
    LPCSTR message = nullptr;
    if (instance != nullptr) lib3mf_getlasterror(instance, &code, &message);
    throw Lib3mfFailure(std::string("3MF writer: ") + what + " failed" +
                        (message != nullptr && *message != '\0' ? std::string(" (") + message + ")" : ""));
}

// A lib3mf instance, released with its owner.
struct Owned {
    PLib3MFBase* instance = nullptr;
    Owned() = default;
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() {
        if (instance != nullptr) lib3mf_release(instance);
    }
    PLib3MFBase** out() { return &instance; }
};

// The package as lib3mf writes it, which seeks back to finish zip headers.
struct PackageBytes {
    std::string bytes;
    std::size_t at = 0;
};

std::uint32_t writePackageBytes(const std::uint8_t* data, std::uint32_t count, void* user) {
    auto& package = *static_cast<PackageBytes*>(user);
    if (package.bytes.size() < package.at + count) package.bytes.resize(package.at + count);
    std::memcpy(package.bytes.data() + package.at, data, count);
    package.at += count;
    return 0;
}

std::uint32_t seekPackageBytes(std::uint64_t position, void* user) {
    auto& package = *static_cast<PackageBytes*>(user);
    if (position > package.bytes.size()) return 1;
    package.at = static_cast<std::size_t>(position);
    return 0;
}

// Vertex numbers after joining the corners that smoothing brought into one
// point within a face: the triangles left out there then leave no edge alone
// by number, as they leave none by position.
std::vector<std::int32_t> joinedVertices(const QuadMesh& mesh, const std::vector<float>& points) {
    std::vector<std::int32_t> root(static_cast<std::size_t>(vertexCount(mesh)));
    std::iota(root.begin(), root.end(), 0);
    const auto find = [&](std::int32_t v) {
        while (root[v] != v) v = root[v] = root[root[v]];
        return v;
    };
    for (std::size_t q = 0; q < mesh.quadsLength; q += 4)
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j) {
                const std::int32_t a = mesh.quads[q + i], b = mesh.quads[q + j];
                if (samePoint(points.data() + 3 * a, points.data() + 3 * b)) root[find(b)] = find(a);
            }
    for (std::int32_t v = 0; v < static_cast<std::int32_t>(root.size()); ++v) root[v] = find(v);
    return root;
}

class PackageWriter {
public:
    explicit PackageWriter(const VoxelModel& model) : codes_(codesInUse(model)) {
        if (codes_.empty()) throw Lib3mfFailure("the model has no filled cells, so there is nothing to print");
        check(lib3mf_createmodel(model_.out()), nullptr, "creating the model");
        check(lib3mf_model_setunit(model_.instance, MODELUNIT_MILLIMETER), model_.instance, "setting millimetres");
        check(lib3mf_model_addbasematerialgroup(model_.instance, materials_.out()), model_.instance,
              "adding the materials");
        check(lib3mf_basematerial_getresourceid(materials_.instance, &materialsId_), materials_.instance,
              "numbering the materials");
        for (const std::uint8_t code : codes_) {
            const Material material = materialOfCode(code);
            const std::uint32_t rgb = packColour(paletteOf(model, material)[code - firstCodeOf(material)]);
            const BYTE red = static_cast<BYTE>(rgb >> 16), green = static_cast<BYTE>(rgb >> 8);
            const BYTE blue = static_cast<BYTE>(rgb);
            DWORD index = 0;
            check(lib3mf_basematerial_addmaterialutf8(materials_.instance, colourName(code).c_str(), red, green, blue,
                                                      &index),
                  materials_.instance, "adding a material");
            // Opaque: lib3mf would otherwise write an alpha of 0.
            check(lib3mf_basematerial_setdisplaycolorrgba(materials_.instance, index, red, green, blue, 255),
                  materials_.instance, "colouring a material");
            materialIndex_[code] = index;
        }
    }

    const std::vector<std::uint8_t>& codes() const { return codes_; }

    // Adds the extracted surface as an object named `name`, and places it.
    void addObject(const QuadMesh& mesh, double cellMillimetres, const std::string& name) {
        const std::vector<float> points = millimetrePositions(mesh, cellMillimetres);
        const std::vector<std::int32_t> joined = joinedVertices(mesh, points);
        std::vector<MODELMESHTRIANGLE> triangles;
        std::vector<ModelResourceID> groups;
        std::vector<DWORD> materials;
        forEachTriangle(mesh, points, [&](std::int32_t a, std::int32_t b, std::int32_t c, std::size_t face) {
            triangles.push_back({{static_cast<DWORD>(joined[a]), static_cast<DWORD>(joined[b]),
                                  static_cast<DWORD>(joined[c])}});
            groups.push_back(materialsId_);
            materials.push_back(materialIndex_[mesh.faceColours[face]]);
        });
        // Only the vertices the triangles use, renumbered in their order.
        std::vector<DWORD> number(joined.size(), 0);
        for (const MODELMESHTRIANGLE& t : triangles)
            for (const DWORD v : t.m_nIndices) number[v] = 1;
        std::vector<MODELMESHVERTEX> vertices;
        for (std::size_t v = 0; v < number.size(); ++v)
            if (number[v] != 0) {
                number[v] = static_cast<DWORD>(vertices.size());
                vertices.push_back({{points[3 * v], points[3 * v + 1], points[3 * v + 2]}});
            }
        for (MODELMESHTRIANGLE& t : triangles)
            for (DWORD& v : t.m_nIndices) v = number[v];

        Owned object, properties, objectDefault, item;
        check(lib3mf_model_addmeshobject(model_.instance, object.out()), model_.instance, "adding an object");
        check(lib3mf_object_setnameutf8(object.instance, name.c_str()), object.instance, "naming an object");
        check(lib3mf_meshobject_setgeometry(object.instance, vertices.data(), static_cast<DWORD>(vertices.size()),
                                            triangles.data(), static_cast<DWORD>(triangles.size())),
              object.instance, "storing the triangles");
        check(lib3mf_meshobject_createpropertyhandler(object.instance, properties.out()), object.instance,
              "colouring the triangles");
        check(lib3mf_propertyhandler_setbasematerialarray(properties.instance, groups.data(), materials.data()),
              properties.instance, "colouring the triangles");
        // Readers want the object's own colour too: that of its first triangle.
        check(lib3mf_object_createdefaultpropertyhandler(object.instance, objectDefault.out()), object.instance,
              "colouring the object");
        check(lib3mf_defaultpropertyhandler_setbasematerial(objectDefault.instance, materialsId_,
                                                            materials.empty() ? 0 : materials.front()),
              objectDefault.instance, "colouring the object");
        check(lib3mf_object_setuuidutf8(object.instance, nextUuid().c_str()), object.instance, "naming an object");
        check(lib3mf_model_addbuilditem(model_.instance, object.instance, nullptr, item.out()), model_.instance,
              "placing an object");
        check(lib3mf_builditem_setuuidutf8(item.instance, nextUuid().c_str()), item.instance, "placing an object");
    }

    // The package's bytes.
    void appendTo(ExportText& text) {
        check(lib3mf_model_setbuilduuidutf8(model_.instance, nextUuid().c_str()), model_.instance,
              "naming the build");
        Owned writer;
        check(lib3mf_model_querywriter(model_.instance, "3mf", writer.out()), model_.instance, "starting the writer");
        PackageBytes package;
        check(lib3mf_writer_writetocallback(writer.instance, reinterpret_cast<void*>(&writePackageBytes),
                                            reinterpret_cast<void*>(&seekPackageBytes), &package),
              writer.instance, "writing the package");
        text.buffer += package.bytes;
    }

private:
    // lib3mf would draw random identifiers; numbered ones keep the same model the same file.
    std::string nextUuid() {
        std::string number = std::to_string(++uuids_);
        return "c0b1c000-0000-4000-8000-" + std::string(12 - number.size(), '0') + number;
    }

    Owned model_, materials_;
    int uuids_ = 0;
    DWORD materialsId_ = 0;
    std::vector<std::uint8_t> codes_;
    DWORD materialIndex_[kLastCode + 1] = {};
};

int write3mf(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
             std::string& reason, bool colourParts) {
    try {
        return writeExportFile(path, source, reason, [&](ExportText& text) {
            PackageWriter package(source.model);
            if (colourParts) {
                for (const std::uint8_t code : package.codes()) {
                    extractCodedMesh(extractor, source, code);
                    package.addObject(extractor.mesh, source.cellMillimetres, colourName(code));
                }
            } else {
                extractCodedMesh(extractor, source, kEmpty);
                package.addObject(extractor.mesh, source.cellMillimetres, path.stem().string());
            }
            package.appendTo(text);
        });
    } catch (const Lib3mfFailure& failure) {
        reason = failure.what();
        return 0;
    }
}

}  // namespace

int export3mf(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason) {
    return write3mf(extractor, source, path, reason, false);
}

int export3mfColourParts(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
                         std::string& reason) {
    return write3mf(extractor, source, path, reason, true);
}

}  // namespace cubrik
