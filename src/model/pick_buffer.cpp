#include "model/pick_buffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace cubrik {
namespace {

constexpr int kPartialFetches = 4;  // then the rest of the read at once

int reserve(PickBuffer& buffer, int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    const std::uint64_t bytes = 4ull * static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    if (bytes > UINT32_MAX) return 0;
    if (buffer.capacity < bytes) {
        std::unique_ptr<std::uint8_t[]> grown(new (std::nothrow) std::uint8_t[bytes]);
        if (!grown) return 0;
        buffer.pixels = std::move(grown);
        buffer.capacity = static_cast<std::uint32_t>(bytes);
    }
    return 1;
}

// Blocks from (left, top) to (right, bottom), both included.
struct BlockBox {
    int left, top, right, bottom;
};

BlockBox blocksOf(const PickBuffer& buffer, const PixelBox& box) {
    const int right = (buffer.width - 1) / kPickBlock, bottom = (buffer.height - 1) / kPickBlock;
    return {std::clamp(box.left, 0, buffer.width - 1) / kPickBlock,
            std::clamp(box.top, 0, buffer.height - 1) / kPickBlock,
            std::min(std::clamp(box.right, 0, buffer.width - 1) / kPickBlock, right),
            std::min(std::clamp(box.bottom, 0, buffer.height - 1) / kPickBlock, bottom)};
}

std::uint8_t& fetchedAt(const PickBuffer& buffer, int column, int row) {
    return buffer.fetched[static_cast<std::size_t>(row * buffer.blocksAcross + column)];
}

// Draws the blocks of `blocks` and marks them fetched. Where nothing could be
// drawn the pixels turn white, which names no cell, so a failed drawing never
// lets a tool read stale pixels.
void fetch(const PickBuffer& buffer, const BlockBox& blocks) {
    const PixelBox box{blocks.left * kPickBlock, blocks.top * kPickBlock,
                       std::min((blocks.right + 1) * kPickBlock, buffer.width) - 1,
                       std::min((blocks.bottom + 1) * kPickBlock, buffer.height) - 1};
    ++buffer.fetches;
    if (!buffer.source->fill(buffer, box))
        for (int y = box.top; y <= box.bottom; ++y)
            std::memset(buffer.pixels.get() + 4 * (static_cast<std::size_t>(buffer.height - 1 - y) * buffer.width +
                                                   static_cast<std::size_t>(box.left)),
                        0xff, 4 * static_cast<std::size_t>(box.right - box.left + 1));
    for (int row = blocks.top; row <= blocks.bottom; ++row)
        for (int column = blocks.left; column <= blocks.right; ++column) fetchedAt(buffer, column, row) = 1;
}

}  // namespace

int preparePickBuffer(PickBuffer& buffer, int width, int height) {
    if (!reserve(buffer, width, height)) return 0;
    buffer.width = width;
    buffer.height = height;
    buffer.source = nullptr;
    return 1;
}

int prepareFetchedPick(PickBuffer& buffer, int width, int height, PickSource& source, std::uint32_t read) {
    if (!reserve(buffer, width, height)) return 0;
    const int across = (width + kPickBlock - 1) / kPickBlock, down = (height + kPickBlock - 1) / kPickBlock;
    try {
        buffer.fetched.assign(static_cast<std::size_t>(across) * static_cast<std::size_t>(down), 0);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    buffer.width = width;
    buffer.height = height;
    buffer.blocksAcross = across;
    buffer.source = &source;
    buffer.read = read;
    buffer.fetches = 0;
    return 1;
}

void fetchPickBlocksAround(const PickBuffer& buffer, int x, int y) {
    // A tool that gets here was not prefetched for: its neighbours are likely next.
    prefetchPick(buffer, {x, y, x, y}, kPickBlock);
}

void prefetchPick(const PickBuffer& buffer, const PixelBox& box, int margin) {
    prefetchPick(buffer, box, {box.left - margin, box.top - margin, box.right + margin, box.bottom + margin});
}

void prefetchPick(const PickBuffer& buffer, const PixelBox& box, const PixelBox& around) {
    if (!buffer.source || box.left > box.right || box.top > box.bottom || box.right < 0 || box.bottom < 0 ||
        box.left >= buffer.width || box.top >= buffer.height)
        return;
    bool complete = true;
    const BlockBox needed = blocksOf(buffer, box);
    for (int row = needed.top; row <= needed.bottom && complete; ++row)
        for (int column = needed.left; column <= needed.right && complete; ++column)
            complete = fetchedAt(buffer, column, row) != 0;
    if (complete) return;
    const BlockBox blocks = blocksOf(buffer, around);
    BlockBox missing{blocks.right + 1, blocks.bottom + 1, blocks.left - 1, blocks.top - 1};
    for (int row = blocks.top; row <= blocks.bottom; ++row)
        for (int column = blocks.left; column <= blocks.right; ++column)
            if (!fetchedAt(buffer, column, row)) {
                missing.left = std::min(missing.left, column);
                missing.right = std::max(missing.right, column);
                missing.top = std::min(missing.top, row);
                missing.bottom = std::max(missing.bottom, row);
            }
    const int across = buffer.blocksAcross, down = static_cast<int>(buffer.fetched.size()) / across;
    const int spanned = (missing.right - missing.left + 1) * (missing.bottom - missing.top + 1);
    // One drawing of everything costs less than many of most of it; and a
    // long stroke over a complex model draws a bounded number of parts.
    if (2 * spanned > across * down || buffer.fetches >= kPartialFetches) missing = {0, 0, across - 1, down - 1};
    fetch(buffer, missing);
}

}  // namespace cubrik
