#include "formats/print_mesh.h"

#include "formats/export_text.h"

namespace cubrik {

std::vector<float> millimetrePositions(const QuadMesh& mesh, double cellMillimetres) {
    std::vector<float> out(mesh.positionsLength);
    for (std::size_t i = 0; i < mesh.positionsLength; i += 3) {
        const float* p = mesh.positions.data() + i;
        out[i] = static_cast<float>(p[0] * cellMillimetres);
        out[i + 1] = static_cast<float>((kGridSize - p[2]) * cellMillimetres);
        out[i + 2] = static_cast<float>(p[1] * cellMillimetres);
    }
    return out;
}

std::array<double, 3> crossProduct(Point a, Point b, Point c) {
    const double u[3] = {double{b[0]} - a[0], double{b[1]} - a[1], double{b[2]} - a[2]};
    const double v[3] = {double{c[0]} - a[0], double{c[1]} - a[1], double{c[2]} - a[2]};
    return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

bool isSliver(Point a, Point b, Point c) {
    const auto n = crossProduct(a, b, c);
    return n[0] == 0 && n[1] == 0 && n[2] == 0 && !samePoint(a, b) && !samePoint(b, c) && !samePoint(c, a);
}

std::vector<std::uint8_t> codesInUse(const VoxelModel& model) {
    bool used[256] = {};
    for (const std::uint8_t cell : model.cells) used[cell] = true;
    std::vector<std::uint8_t> codes;
    for (int code = kFirstCodeA; code <= kLastCode; ++code)
        if (used[code]) codes.push_back(static_cast<std::uint8_t>(code));
    return codes;
}

std::string colourName(std::uint8_t code) {
    std::string name;
    const Material material = materialOfCode(code);
    appendMaterialName(name, "", material, code - firstCodeOf(material) + 1);
    return name;
}

}  // namespace cubrik
