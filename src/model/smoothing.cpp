#include "model/smoothing.h"

#include <cstdlib>
#include <cstring>

namespace cubrik {
namespace {

constexpr std::uint8_t kFilledMark = 0x40;

int sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

void buildSmoothingTable(SmoothingTable& table) {
    for (int code = 0; code < 256; ++code) {
        int k = 0;
        int s[3] = {0, 0, 0};
        for (int bit = 0; bit < 8; ++bit) {
            if (!(code & (1 << bit))) continue;
            ++k;
            s[0] += 2 * (bit & 1) - 1;
            s[1] += 2 * ((bit >> 1) & 1) - 1;
            s[2] += 2 * ((bit >> 2) & 1) - 1;
        }
        int a[3], g[3], out[3] = {0, 0, 0};
        bool someThree = false, allAtMostTwo = true, allTwo = true;
        for (int i = 0; i < 3; ++i) {
            a[i] = std::abs(s[i]);
            g[i] = 2 * sign(s[i]);
            someThree |= a[i] == 3;
            allAtMostTwo &= a[i] <= 2;
            allTwo &= a[i] == 2;
        }
        const int sumA = a[0] + a[1] + a[2];
        for (int i = 0; i < 3; ++i) {
            switch (k) {
            case 1: out[i] = g[i]; break;
            case 2: out[i] = sumA == 4 ? g[i] : 0; break;
            case 3: out[i] = someThree && a[i] != 3 ? -g[i] : 0; break;
            case 4:
                if (allTwo) out[i] = -3 * sign(s[i]);
                else if (allAtMostTwo && sumA == 4) out[i] = -g[i];
                break;
            case 5: out[i] = someThree ? -g[i] : 0; break;
            case 6: out[i] = sumA == 4 ? -g[i] : 0; break;
            case 7: out[i] = -3 * sign(s[i]); break;
            default: break;  // 0 or 8 cells: the point stays
            }
            table.offset[code][i] = out[i];
        }
    }
}

void refreshCornerCodes(const std::uint8_t* cells, CornerCodeGrid& grid) {
    std::uint8_t* p = grid.codes;
    std::memset(p, 0, kPaddedCount);
    for (int z = 0; z < 100; ++z)
        for (int y = 0; y < 100; ++y) {
            const std::uint8_t* row = cells + 100 * y + 10000 * z;
            std::uint8_t* out = p + cornerIndex(1, y + 1, z + 1);
            for (int x = 0; x < 100; ++x) out[x] = row[x] ? kFilledMark : 0;
        }
    // In place: the code of a point reads only padded bytes at its own index
    // or above, and points are visited in increasing index.
    for (int Z = 0; Z <= 100; ++Z)
        for (int Y = 0; Y <= 100; ++Y) {
            std::uint8_t* row00 = p + cornerIndex(0, Y, Z);
            const std::uint8_t* row10 = row00 + kPaddedSide;
            const std::uint8_t* row01 = row00 + kPaddedPlane;
            const std::uint8_t* row11 = row01 + kPaddedSide;
            unsigned code = 0;  // the point left of X = 0 sees only the border
            for (int X = 0; X <= 100; ++X) {
                const unsigned ahead = (row00[X + 1] == kFilledMark ? 0x02u : 0u) |
                                       (row10[X + 1] == kFilledMark ? 0x08u : 0u) |
                                       (row01[X + 1] == kFilledMark ? 0x20u : 0u) |
                                       (row11[X + 1] == kFilledMark ? 0x80u : 0u);
                code = ((code >> 1) & 0x55u) | ahead;
                row00[X] = static_cast<std::uint8_t>(code);
            }
        }
}

}  // namespace cubrik
