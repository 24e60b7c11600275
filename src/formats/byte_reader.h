#pragma once
// Little-endian reads bounded by a span, shared by the binary readers. The
// first read past the end marks the reader failed; later reads return nothing,
// so a reader checks `failed` once after a group of fields.

#include <cstdint>
#include <span>
#include <string_view>

namespace cubrik {

struct ByteReader {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
    bool failed = false;

    std::span<const std::uint8_t> take(std::size_t count) {
        if (failed || bytes.size() - at < count) {
            failed = true;
            return {};
        }
        const auto part = bytes.subspan(at, count);
        at += count;
        return part;
    }
    std::uint8_t u8() {
        const auto b = take(1);
        return b.empty() ? 0 : b[0];
    }
    std::uint32_t u32() {
        const auto b = take(4);
        if (b.empty()) return 0;
        return b[0] | b[1] << 8 | b[2] << 16 | std::uint32_t{b[3]} << 24;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    // A string after its 32-bit length.
    std::string_view string() {
        const std::int32_t length = i32();
        if (length < 0) failed = true;
        const auto text = take(failed ? 0 : static_cast<std::size_t>(length));
        return {reinterpret_cast<const char*>(text.data()), text.size()};
    }
    std::size_t left() const { return bytes.size() - at; }
};

}  // namespace cubrik
