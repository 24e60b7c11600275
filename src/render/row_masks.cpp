#include "render/row_masks.h"

#include <cstring>

#include "model/voxel_model.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cubrik {
namespace {

// The two bit sets of one row, before the filled bits are moved up by one.
struct RowPair {
    std::uint64_t shownLo = 0, shownHi = 0, filledLo = 0, filledHi = 0;
};

void storeRow(RowPair row, const RowBits& visible, bool withFilled, RowMasks& masks, int index) {
    row.shownLo &= visible.lo;
    row.shownHi &= visible.hi;
    row.filledLo &= visible.lo;
    row.filledHi &= visible.hi;
    masks.displayed[index] = {row.shownLo, row.shownHi};
    if (withFilled) masks.filled[index] = {row.filledLo << 1, (row.filledHi << 1) | (row.filledLo >> 63)};
}

constexpr RowBits kWholeRow = {~0ull, (1ull << 36) - 1};  // cells 0..99

// Bits low..high.
RowBits rowRange(int low, int high) {
    const auto upTo = [](int bit) {  // bits 0..bit - 1
        return RowBits{bit >= 64 ? ~0ull : (1ull << bit) - 1, bit <= 64 ? 0 : (1ull << (bit - 64)) - 1};
    };
    const RowBits below = upTo(low), through = upTo(high + 1);
    return {through.lo & ~below.lo, through.hi & ~below.hi};
}

// Eight cells at a time in a 64-bit word: the high bit of each byte of the
// results says "non-zero" and "material B" (code 17 or more); then the eight
// high bits are gathered into one byte by a multiplication.
constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7full;
constexpr std::uint64_t kHigh = 0x8080808080808080ull;

unsigned gatherHighBits(std::uint64_t high) {
    return static_cast<unsigned>((((high >> 7) * 0x0102040810204080ull) >> 56) & 0xff);
}

void scalarChunk(const std::uint8_t* at, std::uint64_t showAMask, std::uint64_t showBMask, unsigned& shown,
                 unsigned& filled) {
    std::uint64_t v;
    std::memcpy(&v, at, 8);
    const std::uint64_t nonZero = (((v & kLow7) + kLow7) | v) & kHigh;
    const std::uint64_t materialB = (((v & kLow7) + 0x6f6f6f6f6f6f6f6full) | v) & kHigh;
    shown = gatherHighBits(((nonZero & ~materialB) & showAMask) | (materialB & showBMask));
    filled = gatherHighBits(nonZero);
}

void buildScalar(const std::uint8_t* cells, bool showA, bool showB, bool withFilled, const VisibleSlab& slab,
                 RowMasks& masks) {
    const std::uint64_t showAMask = showA ? ~0ull : 0, showBMask = showB ? ~0ull : 0;
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y) {
            const RowBits visible = visibleRow(slab, y, z);
            if (!(visible.lo | visible.hi)) {
                storeRow({}, visible, withFilled, masks, maskRow(y, z));
                continue;
            }
            const std::uint8_t* row = cells + cellIndex(0, y, z);
            RowPair pair;
            unsigned shown, filled;
            for (int chunk = 0; chunk < 12; ++chunk) {  // cells 0..95
                scalarChunk(row + 8 * chunk, showAMask, showBMask, shown, filled);
                std::uint64_t& shownWord = chunk < 8 ? pair.shownLo : pair.shownHi;
                std::uint64_t& filledWord = chunk < 8 ? pair.filledLo : pair.filledHi;
                shownWord |= static_cast<std::uint64_t>(shown) << (8 * (chunk % 8));
                filledWord |= static_cast<std::uint64_t>(filled) << (8 * (chunk % 8));
            }
            // Cells 96..99 are the upper half of the chunk at 92, which stays inside the row.
            scalarChunk(row + 92, showAMask, showBMask, shown, filled);
            pair.shownHi |= static_cast<std::uint64_t>(shown >> 4) << 32;
            pair.filledHi |= static_cast<std::uint64_t>(filled >> 4) << 32;
            storeRow(pair, visible, withFilled, masks, maskRow(y, z));
        }
}

#if defined(__SSE2__)
void buildSse2(const std::uint8_t* cells, bool showA, bool showB, bool withFilled, const VisibleSlab& slab,
               RowMasks& masks) {
    const unsigned showAMask = showA ? 0xffffu : 0, showBMask = showB ? 0xffffu : 0;
    const __m128i zero = _mm_setzero_si128();
    const __m128i firstCodeB = _mm_set1_epi8(static_cast<char>(kFirstCodeB));
    for (int z = 0; z < kGridSize; ++z)
        for (int y = 0; y < kGridSize; ++y) {
            const RowBits visible = visibleRow(slab, y, z);
            if (!(visible.lo | visible.hi)) {
                storeRow({}, visible, withFilled, masks, maskRow(y, z));
                continue;
            }
            const std::uint8_t* row = cells + cellIndex(0, y, z);
            std::uint64_t shown[7], filled[7];
            // Chunks at 0, 16, ..., 80 cover cells 0..95; the seventh, at 84,
            // stays inside the row and gives cells 96..99 as its top four bits.
            for (int chunk = 0; chunk < 7; ++chunk) {
                const int at = chunk < 6 ? 16 * chunk : 84;
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + at));
                const unsigned nonZero = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero))) & 0xffffu;
                // Unsigned v >= 17: max(v, 17) == v.
                const unsigned materialB =
                    static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(v, firstCodeB), v)));
                shown[chunk] = ((nonZero & ~materialB) & showAMask) | (materialB & showBMask);
                filled[chunk] = nonZero;
            }
            RowPair pair;
            pair.shownLo = shown[0] | shown[1] << 16 | shown[2] << 32 | shown[3] << 48;
            pair.shownHi = shown[4] | shown[5] << 16 | (shown[6] >> 12) << 32;
            pair.filledLo = filled[0] | filled[1] << 16 | filled[2] << 32 | filled[3] << 48;
            pair.filledHi = filled[4] | filled[5] << 16 | (filled[6] >> 12) << 32;
            storeRow(pair, visible, withFilled, masks, maskRow(y, z));
        }
}
#endif

}  // namespace

RowBits visibleRow(const VisibleSlab& slab, int y, int z) {
    switch (slab.axis) {
    case 0: return rowRange(slab.low, slab.high);
    case 1: return slab.holdsCoordinate(y) ? kWholeRow : RowBits{0, 0};
    default: return slab.holdsCoordinate(z) ? kWholeRow : RowBits{0, 0};
    }
}

void buildRowMasks(const std::uint8_t* cells, bool showA, bool showB, bool withFilled, const VisibleSlab& slab,
                   KernelVariant variant, RowMasks& masks) {
#if defined(__SSE2__)
    if (variant == KernelVariant::Sse2) {
        buildSse2(cells, showA, showB, withFilled, slab, masks);
        return;
    }
#endif
    (void)variant;
    buildScalar(cells, showA, showB, withFilled, slab, masks);
}

}  // namespace cubrik
