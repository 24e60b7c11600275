#include "formats/picture_cells.h"

#include <algorithm>
#include <cctype>

#include "formats/palette_match.h"

namespace cubrik {
namespace {

constexpr std::uint8_t kOpaqueAlpha = 128;

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

}  // namespace

bool isCellPicture(std::string_view path) {
    const std::string extension = lowerCase(std::filesystem::path(path).extension().string());
    return extension == ".png" || extension == ".jpg" || extension == ".jpeg";
}

std::vector<std::uint8_t> pictureCells(const Picture& picture, int thickness, const Rgb (&paletteA)[kPaletteSize],
                                       const Rgb (&paletteB)[kPaletteSize]) {
    const int longest = std::max(picture.width, picture.height);
    const auto fitted = [&](int side) {
        return longest <= kGridSize ? side : std::max(1, (side * kGridSize + longest / 2) / longest);
    };
    const int width = fitted(picture.width), height = fitted(picture.height);
    const int left = (kGridSize - width) / 2, bottom = (kGridSize - height) / 2;
    const int front = (kGridSize - thickness) / 2;
    std::vector<std::uint8_t> cells(kCellCount, kEmpty);
    for (int row = 0; row < height; ++row) {
        // The pixel under the middle of each cell of the scaled picture.
        const int sourceRow = (2 * row + 1) * picture.height / (2 * height);
        for (int column = 0; column < width; ++column) {
            const int sourceColumn = (2 * column + 1) * picture.width / (2 * width);
            const std::uint8_t* pixel =
                picture.rgba.data() + 4 * (static_cast<std::size_t>(sourceRow) * picture.width + sourceColumn);
            if (pixel[3] < kOpaqueAlpha) continue;
            const std::uint8_t code =
                nearestPaletteCode(std::uint32_t{pixel[0]} << 16 | std::uint32_t{pixel[1]} << 8 | pixel[2],
                                   paletteA, paletteB);
            for (int z = front; z < front + thickness; ++z)
                cells[cellIndex(left + column, bottom + height - 1 - row, z)] = code;
        }
    }
    return cells;
}

int readPictureCells(const std::filesystem::path& path, int thickness, ModelFileContents& contents,
                     std::string& reason) {
    if (thickness < 1 || thickness > kMaxPictureThickness) {
        reason = "the thickness must be 1 to " + std::to_string(kMaxPictureThickness) + " cells";
        return 0;
    }
    Picture picture;
    if (!readPicture(path, kLargestPictureSide, picture, reason)) {
        // The file reader names the file; the decoders only say what was wrong.
        if (reason.find(path.string()) == std::string::npos) reason = "cannot read " + path.string() + ": " + reason;
        return 0;
    }
    std::vector<std::uint8_t> cells = pictureCells(picture, thickness, contents.paletteA, contents.paletteB);
    if (std::all_of(cells.begin(), cells.end(), [](std::uint8_t code) { return code == kEmpty; })) {
        reason = path.string() + ": every pixel is transparent, so there is nothing to make cells of";
        return 0;
    }
    contents.cells = std::move(cells);
    return 1;
}

}  // namespace cubrik
