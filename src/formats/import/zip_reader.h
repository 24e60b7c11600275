#pragma once
// Entries of a zip archive read through minizip's unzip, from a file or from
// memory, streamed in pieces with a bound on their size.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "formats/import/voxelize.h"

namespace cubrik {

class ZipReader {
public:
    explicit ZipReader(const std::filesystem::path& path);
    explicit ZipReader(std::span<const std::uint8_t> bytes);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Whether the archive's directory could be read.
    bool opened() const { return zip_ != nullptr; }

    // Feeds the entry `name` (in any letter case) to `consume` in pieces of
    // `bytes, count, last`, the last one empty; `consume` returns false to
    // stop. Returns 1; 0 with `reason` (an entry over `largest` bytes,
    // damaged, stopped, or cancelled through `control`); -1 when there is no
    // such entry.
    int readEntry(const std::string& name, std::uint64_t largest, const ImportControl& control,
                  const std::function<bool(const char*, int, bool)>& consume, std::string& reason);

    // The bytes minizip's callbacks read when the archive is in memory.
    struct MemoryStream {
        std::span<const std::uint8_t> bytes;
        std::uint64_t at = 0;
    };

private:
    MemoryStream memory_;
    void* zip_ = nullptr;
};

}  // namespace cubrik
