#include "render/display_looks.h"

#include <epoxy/gl.h>

#include <new>

namespace cubrik {
namespace {

constexpr int kEdgeTextureSide = 512;
constexpr std::uint8_t kEdgeShade = 153;  // 0.6 of the face's colour
constexpr std::uint8_t kInside = 255;

template <typename T, std::size_t N>
int fillPattern(std::vector<T>& array, int quads, const T (&pattern)[N], T step) {
    if (static_cast<int>(array.size()) >= quads * static_cast<int>(N)) return 1;
    try {
        array.resize(static_cast<std::size_t>(quads) * N);
    } catch (const std::bad_alloc&) {
        array.clear();
        return 0;
    }
    for (int q = 0; q < quads; ++q)
        for (std::size_t i = 0; i < N; ++i) array[q * N + i] = pattern[i] + static_cast<T>(q) * step;
    return 1;
}

// The texture's level of side `side` (a power of two): white with a border
// one texel wide at 0.6, so a face shows a line about one pixel wide however
// small it is drawn; levels of 2 and 1 texel are the grey a 4-texel level
// averages to.
std::vector<std::uint8_t> cellEdgeLevel(int side) {
    if (side < 4) {
        // A 4-texel level has 12 border texels of 16: its average.
        return std::vector<std::uint8_t>(static_cast<std::size_t>(side) * side,
                                         static_cast<std::uint8_t>((12 * kEdgeShade + 4 * kInside) / 16));
    }
    std::vector<std::uint8_t> level(static_cast<std::size_t>(side) * side, kInside);
    for (int i = 0; i < side; ++i) {
        level[i] = level[static_cast<std::size_t>(side - 1) * side + i] = kEdgeShade;
        level[static_cast<std::size_t>(i) * side] = level[static_cast<std::size_t>(i) * side + side - 1] = kEdgeShade;
    }
    return level;
}

}  // namespace

int prepareEdgeCoordinates(DisplayLooks& looks, int quads) {
    constexpr float kCorners[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    return fillPattern(looks.edgeCoordinates, quads, kCorners, 0.0f);
}

int prepareTriangleIndices(DisplayLooks& looks, int quads) {
    constexpr std::uint32_t kTriangles[6] = {0, 1, 2, 0, 2, 3};
    return fillPattern(looks.triangleIndices, quads, kTriangles, 4u);
}

void bindCellEdgeTexture(DisplayLooks& looks) {
    if (looks.edgeTexture == 0) {
        glGenTextures(1, &looks.edgeTexture);
        glBindTexture(GL_TEXTURE_2D, looks.edgeTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        for (int side = kEdgeTextureSide, level = 0; side >= 1; side /= 2, ++level)
            glTexImage2D(GL_TEXTURE_2D, level, GL_LUMINANCE8, side, side, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                         cellEdgeLevel(side).data());
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }
    glBindTexture(GL_TEXTURE_2D, looks.edgeTexture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void releaseDisplayLooks(DisplayLooks& looks) {
    if (looks.edgeTexture != 0) glDeleteTextures(1, &looks.edgeTexture);
    looks = {};
}

}  // namespace cubrik
