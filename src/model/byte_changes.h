#pragma once
// The difference between two equally long blocks of bytes, kept as a code of
// their exclusive or: runs where the blocks agree are skipped and runs of one
// repeated value are stored once. Because it is an exclusive or, applying the
// code to either block gives the other, so one code serves undo and redo.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace cubrik {

// Appends the code of a XOR b to `code`.
void codeDifferences(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, std::vector<std::uint8_t>& code);

// The same, and then `a` is made equal to `b` (only the differing bytes are written).
void codeAndCopyDifferences(std::span<std::uint8_t> a, std::span<const std::uint8_t> b,
                            std::vector<std::uint8_t>& code);

// Turns the block at one end of `code` into the block at its other end.
void applyDifferences(std::span<std::uint8_t> bytes, std::span<const std::uint8_t> code);

// Swaps the contents of two blocks, writing only where they differ.
void exchangeDifferences(std::span<std::uint8_t> a, std::span<std::uint8_t> b);

// The bytes of a record that holds no pointers, to be coded as above.
template <typename T>
std::span<std::uint8_t> bytesOf(T& record) {
    return {reinterpret_cast<std::uint8_t*>(&record), sizeof record};
}
template <typename T>
std::span<const std::uint8_t> bytesOf(const T& record) {
    return {reinterpret_cast<const std::uint8_t*>(&record), sizeof record};
}

}  // namespace cubrik
