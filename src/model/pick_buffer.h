#pragma once
// One read-back of the pick pass: every visible face drawn in the colour
// (2x, 2y, 2z) of its cell on a white background. Tools decode any number of
// pixels from it without touching OpenGL again.
//
// A read is either whole (every pixel copied at once) or fetched: its pixels
// come from a PickSource, which draws the pass as it was when the read began,
// a block at a time as the tools first decode them. A stroke touches only the
// pixels under its brush, so in a large window most of the pass is never
// drawn or copied.

#include <cstdint>
#include <memory>
#include <vector>

namespace cubrik {

// The two pick passes: the visible filled cells, or the empty cells just in
// front of the visible faces.
enum class PickMode { Empty, Solid };

// Window pixels from (left, top) to (right, bottom), both included, y from the top.
struct PixelBox {
    int left, top, right, bottom;
};

struct PickBuffer;

// Draws a part of the pass a fetched read belongs to and copies it into the
// read's pixels.
struct PickSource {
    // Fills the pixels of `box` (inside the read) of `buffer`. Returns 1, or 0
    // when nothing could be drawn.
    virtual int fill(const PickBuffer& buffer, const PixelBox& box) = 0;

protected:
    ~PickSource() = default;
};

// Fetched reads come in square blocks of this many pixels a side.
inline constexpr int kPickBlock = 64;

struct PickBuffer {
    std::unique_ptr<std::uint8_t[]> pixels;  // RGBA, rows bottom to top, packed
    std::uint32_t capacity = 0;              // bytes allocated; grows, never shrinks
    std::int32_t width = 0;                  // the client area at the time of the read
    std::int32_t height = 0;
    // A fetched read: where its pixels come from, and per block (rows of
    // blocks from the top) whether they are there. Filling in the pixels of a
    // read does not change what it holds, so a const read may fetch.
    PickSource* source = nullptr;  // null: a whole read
    std::uint32_t read = 0;        // which of the source's reads this is
    mutable std::vector<std::uint8_t> fetched;
    int blocksAcross = 0;
    mutable int fetches = 0;  // times the source drew, for tests and benchmarks
};

// The cell a pick colour names, or -1: any channel above 198 names none.
inline int decodePickColour(const std::uint8_t* rgba) {
    if (rgba[0] > 198 || rgba[1] > 198 || rgba[2] > 198) return -1;
    return rgba[0] / 2 + 100 * (rgba[1] / 2) + 10000 * (rgba[2] / 2);
}

// Fetches the blocks round window pixel (x, y), which lies inside the read.
void fetchPickBlocksAround(const PickBuffer& buffer, int x, int y);

// The cell under window pixel (x, y), y from the top, or -1 when the pixel is
// outside the buffer or names no cell.
inline int pickCell(const PickBuffer& buffer, int x, int y) {
    if (x < 0 || y < 0 || x >= buffer.width || y >= buffer.height) return -1;
    if (buffer.source && !buffer.fetched[static_cast<std::size_t>(y / kPickBlock * buffer.blocksAcross + x / kPickBlock)])
        fetchPickBlocksAround(buffer, x, y);
    const std::size_t row = static_cast<std::size_t>(buffer.height - 1 - y);
    return decodePickColour(buffer.pixels.get() + 4 * (static_cast<std::size_t>(x) + row * buffer.width));
}

// Records the size of a whole read of width x height and makes room for it.
// Returns 1, or 0 with nothing changed when a side is not positive or memory
// is exhausted.
int preparePickBuffer(PickBuffer& buffer, int width, int height);

// The same for read number `read` of `source`, none of it fetched yet.
int prepareFetchedPick(PickBuffer& buffer, int width, int height, PickSource& source, std::uint32_t read);

// When a block of `box` is not fetched yet, fetches in one drawing every
// block missing from `box` grown by `margin` pixels each way (the whole read
// when they span more than half of it, or after a few drawings), so that a
// tool about to decode that area draws once rather than block by block, and
// the next steps of a stroke find theirs fetched.
void prefetchPick(const PickBuffer& buffer, const PixelBox& box, int margin = 0);

// The same with the blocks missing from `around`, which holds `box`.
void prefetchPick(const PickBuffer& buffer, const PixelBox& box, const PixelBox& around);

}  // namespace cubrik
