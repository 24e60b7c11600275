#include "formats/image/targa.h"

#include <algorithm>
#include <cstring>

#include "io/atomic_file.h"

namespace cubrik {
namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr std::uint8_t kUncompressed = 2;
constexpr std::uint8_t kRunLength = 10;
constexpr std::uint8_t kRightToLeft = 0x10;
constexpr std::uint8_t kTopToBottom = 0x20;

int readLe16(std::span<const std::uint8_t> bytes, std::size_t at) { return bytes[at] | bytes[at + 1] << 8; }

void appendLe16(std::string& out, int value) {
    out.push_back(static_cast<char>(value & 0xff));
    out.push_back(static_cast<char>((value >> 8) & 0xff));
}

// Places decoded pixels in fill order: left to right, rows from the top or
// from the bottom as the descriptor says.
class AtlasFiller {
public:
    AtlasFiller(std::vector<std::uint8_t>& texels, int width, int height, bool topToBottom)
        : texels_(texels), width_(width), height_(height), topToBottom_(topToBottom) {}
    bool full() const { return placed_ == width_ * height_; }
    void place(const std::uint8_t* pixel) {
        const int row = placed_ / width_;
        const int column = placed_ % width_;
        const int target = topToBottom_ ? row : height_ - 1 - row;
        std::memcpy(texels_.data() + (static_cast<std::size_t>(target) * width_ + column) * 4, pixel, 4);
        ++placed_;
    }

private:
    std::vector<std::uint8_t>& texels_;
    int width_, height_;
    bool topToBottom_;
    int placed_ = 0;
};

bool decodeRunLength(std::span<const std::uint8_t> data, AtlasFiller& filler) {
    std::size_t at = 0;
    while (!filler.full()) {
        if (at >= data.size()) return false;
        const std::uint8_t header = data[at++];
        const int count = (header & 0x7f) + 1;
        const bool run = header & 0x80;
        const std::size_t needed = run ? 4 : 4 * static_cast<std::size_t>(count);
        if (data.size() - at < needed) return false;
        for (int i = 0; i < count && !filler.full(); ++i) filler.place(&data[at + (run ? 0 : 4 * i)]);
        at += needed;
    }
    return true;
}

}  // namespace

std::string formatTarga(int width, int height, std::span<const std::uint8_t> pixels) {
    std::string out;
    out.reserve(kHeaderSize + pixels.size() + 26);
    out.append("\0\0\x02\0\0\0\0\0\0\0\0\0", 12);
    appendLe16(out, width);
    appendLe16(out, height);
    out.push_back(32);
    out.push_back(0x08);
    out.append(reinterpret_cast<const char*>(pixels.data()), pixels.size());
    out.append(8, '\0');
    out.append("TRUEVISION-XFILE.\0", 18);
    return out;
}

int writeTarga(const std::filesystem::path& path, int width, int height, std::span<const std::uint8_t> pixels,
               std::string& reason) {
    return writeFileAtomically(path, formatTarga(width, height, pixels), reason);
}

int decodeAtlasTarga(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& texels, int scale) {
    const int width = kAtlasWidth * scale, height = kAtlasHeight * scale;
    if (bytes.size() < kHeaderSize) return 0;
    const std::uint8_t type = bytes[2];
    const std::uint8_t descriptor = bytes[17];
    if (bytes[1] != 0 || (type != kUncompressed && type != kRunLength) || readLe16(bytes, 12) != width ||
        readLe16(bytes, 14) != height || bytes[16] != 32 || (descriptor & kRightToLeft))
        return 0;
    const bool topToBottom = descriptor & kTopToBottom;
    const std::span<const std::uint8_t> data = bytes.subspan(kHeaderSize);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> image(rowBytes * height, 0);
    if (type == kUncompressed) {
        if (data.size() < image.size()) return 0;
        for (int row = 0; row < height; ++row) {
            const int source = topToBottom ? row : height - 1 - row;
            std::memcpy(image.data() + row * rowBytes, data.data() + source * rowBytes, rowBytes);
        }
    } else {
        AtlasFiller filler(image, width, height, topToBottom);
        if (!decodeRunLength(data, filler)) return 0;
    }
    texels = std::move(image);
    return 1;
}

}  // namespace cubrik
