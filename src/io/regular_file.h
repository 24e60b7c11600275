#pragma once
// Every file the program reads goes through here. Only regular files are
// read: a folder, a device (/dev/zero) or a FIFO is refused before a byte is
// read, and opening one never waits for a writer. A file larger than its
// format can be is refused before it is read, so junk or a runaway file never
// fills memory.

#include <cstdint>
#include <filesystem>
#include <string>

namespace cubrik {

// How much of a file its reader can use.
struct ReadLimit {
    std::uint64_t bytes;       // the largest file of the format, or the most its reader looks at
    bool restIgnored = false;  // a longer file: true, read up to `bytes` (its reader ignores the rest); false, refused
};

// Reads a regular file within `limit`. Returns 1 with `content`, or 0 with
// `reason` naming the file.
int readRegularFile(const std::filesystem::path& path, ReadLimit limit, std::string& content, std::string& reason);

}  // namespace cubrik
