#include "formats/stl_export.h"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "formats/byte_writer.h"
#include "formats/export_text.h"
#include "formats/print_mesh.h"

namespace cubrik {
namespace {

constexpr std::size_t kHeaderSize = 80;
constexpr std::size_t kTriangleSize = 50;  // normal, three corners, a 16-bit attribute
// A header that begins with "solid" makes some readers take the file for text.
constexpr char kHeaderText[] = "Cubrik binary STL, millimetres, z up";

// The unit normal of the corners as written; (0, 0, 0) for a sliver.
void unitNormal(Point a, Point b, Point c, float (&normal)[3]) {
    const auto n = crossProduct(a, b, c);
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (int axis = 0; axis < 3; ++axis) normal[axis] = length > 0 ? static_cast<float>(n[axis] / length) : 0.0f;
}

void appendStl(ExportText& text, const QuadMesh& mesh, double cellMillimetres) {
    const std::vector<float> points = millimetrePositions(mesh, cellMillimetres);
    std::uint32_t triangles = 0;
    forEachTriangle(mesh, points, [&](std::int32_t, std::int32_t, std::int32_t, std::size_t) { ++triangles; });

    char header[kHeaderSize + 4] = {};
    std::memcpy(header, kHeaderText, sizeof kHeaderText - 1);
    storeLe32(header + kHeaderSize, triangles);
    text.buffer.append(header, sizeof header);
    forEachTriangle(mesh, points, [&](std::int32_t va, std::int32_t vb, std::int32_t vc, std::size_t) {
        const Point a = points.data() + 3 * static_cast<std::size_t>(va);
        const Point b = points.data() + 3 * static_cast<std::size_t>(vb);
        const Point c = points.data() + 3 * static_cast<std::size_t>(vc);
        char record[kTriangleSize];
        float normal[3];
        unitNormal(a, b, c, normal);
        char* at = record;
        for (const float* v : {static_cast<const float*>(normal), a, b, c})
            for (int axis = 0; axis < 3; ++axis) at = storeFloat(at, v[axis]);
        storeLe16(at, 0);
        text.buffer.append(record, kTriangleSize);
        handOn(text);
    });
}

// "out.stl" and "B03" give "out-B03.stl".
std::filesystem::path partPath(const std::filesystem::path& path, std::uint8_t code) {
    std::filesystem::path part = path;
    part.replace_filename(path.stem().string() + "-" + colourName(code) + path.extension().string());
    return part;
}

}  // namespace

int exportStl(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason) {
    return writeExportFile(path, source, reason, [&](ExportText& text) {
        extractSolidMesh(extractor, source);
        appendStl(text, extractor.mesh, source.cellMillimetres);
    });
}

int exportStlColourParts(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
                         std::string& reason) {
    const std::vector<std::uint8_t> codes = codesInUse(source.model);
    if (codes.empty()) {
        reason = "the model has no filled cells, so there is no colour to write";
        return 0;
    }
    std::vector<std::filesystem::path> paths;
    for (const std::uint8_t code : codes) paths.push_back(partPath(path, code));
    return writeExportFiles(paths, source, reason, [&](std::size_t part, ExportText& text) {
        extractCodedMesh(extractor, source, codes[part]);
        appendStl(text, extractor.mesh, source.cellMillimetres);
    });
}

}  // namespace cubrik
