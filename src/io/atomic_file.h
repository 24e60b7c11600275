#pragma once
// Every file the program writes goes through here: the bytes land in a
// temporary file beside the target, and only a complete, flushed file is
// renamed over it. A failure at any step leaves the previous file untouched.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace cubrik {

class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::filesystem::path target);
    ~AtomicFileWriter();  // an uncommitted write is abandoned
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file; false (with error()) when that fails.
    bool open();
    // Buffers the bytes; a failure is remembered and reported by commit().
    void write(std::string_view bytes);
    // Flushes, syncs and closes the temporary file, then renames it over the
    // target. False (with error()) when any of that failed.
    bool commit();
    // Removes the temporary file; the target stays as it was.
    void abandon();

    const std::string& error() const { return error_; }
    const std::filesystem::path& target() const { return target_; }

private:
    bool drain();
    void fail(std::string_view what, int errorNumber);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    std::string pending_;
    std::string error_;
};

// Writes the whole content at once. Returns 1 on success; on failure 0 with
// `reason` saying what went wrong.
int writeFileAtomically(const std::filesystem::path& target, std::string_view content,
                        std::string& reason);

// Reads a whole file. Returns 1 on success; on failure 0 with `reason`.
int readWholeFile(const std::filesystem::path& path, std::string& content, std::string& reason);

}  // namespace cubrik
