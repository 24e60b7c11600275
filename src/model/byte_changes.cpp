#include "model/byte_changes.h"

#include <algorithm>
#include <cstring>

namespace cubrik {
namespace {

// A code is a list of tokens, each an unsigned LEB128 number: the run's length
// times four plus its kind. A literal run is followed by its bytes, a repeated
// run by its one byte; a skipped run by nothing.
enum Kind : std::uint8_t { kSkip = 0, kLiteral = 1, kRepeat = 2 };

// Shorter runs of agreeing or repeated bytes cost less as part of a literal.
constexpr std::size_t kMinSkip = 4;
constexpr std::size_t kMinRepeat = 4;
constexpr std::size_t kBlock = 64;
constexpr std::size_t kPage = 4096;

bool blockDiffers(const std::uint8_t* a, const std::uint8_t* b) {
    std::uint64_t any = 0;
    for (std::size_t i = 0; i < kBlock; i += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        any |= x ^ y;
    }
    return any != 0;
}

// The first place at or after `from` where the blocks differ, or their size.
// Whole pages that agree are passed with the library's comparison, the fastest
// way over an unchanged model.
std::size_t nextDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t from, std::size_t size) {
    for (; from < size && from % kBlock != 0; ++from)
        if (a[from] != b[from]) return from;
    for (;; from += kBlock) {
        if (from % kPage == 0)
            while (from + kPage <= size && std::memcmp(a + from, b + from, kPage) == 0) from += kPage;
        if (from + kBlock > size || blockDiffers(a + from, b + from)) break;
    }
    while (from < size && a[from] == b[from]) ++from;
    return from;
}

// The end of the differing stretch that starts at `from`: where kMinSkip
// agreeing bytes follow, or the blocks end.
std::size_t stretchEnd(const std::uint8_t* a, const std::uint8_t* b, std::size_t from, std::size_t size) {
    std::size_t end = from;
    while (end < size) {
        if (a[end] != b[end]) {
            ++end;
            continue;
        }
        std::size_t agree = end;
        while (agree < size && agree - end < kMinSkip && a[agree] == b[agree]) ++agree;
        if (agree - end == kMinSkip || agree == size) break;
        end = agree;
    }
    return end;
}

void putToken(std::vector<std::uint8_t>& code, std::size_t length, Kind kind) {
    std::uint64_t value = static_cast<std::uint64_t>(length) << 2 | kind;
    for (; value >= 0x80; value >>= 7) code.push_back(static_cast<std::uint8_t>(value | 0x80));
    code.push_back(static_cast<std::uint8_t>(value));
}

std::uint64_t takeToken(std::span<const std::uint8_t> code, std::size_t& at) {
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const std::uint8_t byte = code[at++];
        value |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
        if (byte < 0x80) return value;
    }
}

void putLiteral(std::vector<std::uint8_t>& code, const std::uint8_t* a, const std::uint8_t* b, std::size_t from,
                std::size_t to) {
    if (from == to) return;
    putToken(code, to - from, kLiteral);
    for (std::size_t i = from; i < to; ++i) code.push_back(a[i] ^ b[i]);
}

void codeStretch(std::vector<std::uint8_t>& code, const std::uint8_t* a, const std::uint8_t* b, std::size_t from,
                 std::size_t to) {
    std::size_t literalFrom = from;
    for (std::size_t i = from; i < to;) {
        const std::uint8_t x = a[i] ^ b[i];
        std::size_t j = i + 1;
        while (j < to && (a[j] ^ b[j]) == x) ++j;
        if (j - i >= kMinRepeat) {
            putLiteral(code, a, b, literalFrom, i);
            putToken(code, j - i, kRepeat);
            code.push_back(x);
            literalFrom = j;
        }
        i = j;
    }
    putLiteral(code, a, b, literalFrom, to);
}

// Codes every differing stretch; `copyInto` (a's bytes, or null) then takes b's bytes there.
void codeAll(const std::uint8_t* a, const std::uint8_t* b, std::size_t size, std::vector<std::uint8_t>& code,
             std::uint8_t* copyInto) {
    std::size_t done = 0;
    for (std::size_t from = nextDifference(a, b, 0, size); from < size; from = nextDifference(a, b, done, size)) {
        const std::size_t to = stretchEnd(a, b, from, size);
        if (from > done) putToken(code, from - done, kSkip);
        codeStretch(code, a, b, from, to);
        if (copyInto != nullptr) std::memcpy(copyInto + from, b + from, to - from);
        done = to;
    }
}

}  // namespace

void codeDifferences(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, std::vector<std::uint8_t>& code) {
    codeAll(a.data(), b.data(), a.size(), code, nullptr);
}

void codeAndCopyDifferences(std::span<std::uint8_t> a, std::span<const std::uint8_t> b,
                            std::vector<std::uint8_t>& code) {
    codeAll(a.data(), b.data(), a.size(), code, a.data());
}

void applyDifferences(std::span<std::uint8_t> bytes, std::span<const std::uint8_t> code) {
    std::size_t at = 0, pos = 0;
    while (at < code.size()) {
        const std::uint64_t token = takeToken(code, at);
        const std::size_t length = static_cast<std::size_t>(token >> 2);
        switch (static_cast<Kind>(token & 3)) {
        case kLiteral:
            for (std::size_t i = 0; i < length; ++i) bytes[pos + i] ^= code[at + i];
            at += length;
            break;
        case kRepeat:
            for (std::size_t i = 0; i < length; ++i) bytes[pos + i] ^= code[at];
            ++at;
            break;
        default: break;
        }
        pos += length;
    }
}

void exchangeDifferences(std::span<std::uint8_t> a, std::span<std::uint8_t> b) {
    const std::size_t size = a.size();
    for (std::size_t from = nextDifference(a.data(), b.data(), 0, size); from < size;) {
        const std::size_t to = stretchEnd(a.data(), b.data(), from, size);
        std::swap_ranges(a.begin() + from, a.begin() + to, b.begin() + from);
        from = nextDifference(a.data(), b.data(), to, size);
    }
}

}  // namespace cubrik
