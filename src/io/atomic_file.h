#pragma once
// Every file the program writes goes through here: the bytes land in a
// temporary file beside the target, and only a complete, flushed file is
// renamed over it. A failure at any step leaves the previous file untouched.
//
// What the user set on a file stays: a symbolic link stays a link and the
// file it names gets the bytes (replaced in its own folder); a file keeps its
// permission bits; a read-only file is not replaced at all. A file with
// several hard links is replaced, so the other names keep the old bytes.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace cubrik {

// How the new file takes the target's place.
enum class Replacement {
    KeepWhatTheUserSet,  // as above: links followed, permission bits kept
    Private,             // the name itself is replaced, link or not, by a file 0600 from its creation
};

class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::filesystem::path target, Replacement replacement = Replacement::KeepWhatTheUserSet);
    ~AtomicFileWriter();  // an uncommitted write is abandoned
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file; false (with error()) when that fails, or
    // when the target is a folder, a read-only file or anything else that is
    // not a regular file (a device, a FIFO), through its links or not.
    bool open();
    // Buffers small pieces and writes large ones through; a failure is
    // remembered and reported by commit().
    void write(std::string_view bytes);
    // Flushes, syncs and closes the temporary file without putting it in
    // place, so that several files can be finished before any is renamed.
    // False (with error()) when any of that failed.
    bool finish();
    // Finishes the file if that is still to do, then renames it over the
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
    Replacement replacement_;
    std::filesystem::path destination_;  // the target with its symbolic links followed
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    bool finished_ = false;  // the temporary file is complete and closed
    std::string pending_;
    std::string error_;
};

// Writes the whole content at once. Returns 1 on success; on failure 0 with
// `reason` saying what went wrong.
int writeFileAtomically(const std::filesystem::path& target, std::string_view content, std::string& reason,
                        Replacement replacement = Replacement::KeepWhatTheUserSet);

// Whether `fileName` (no folder) is of the kind the writer gives its
// temporary files: one left by a crash half-way through a write.
bool isTemporaryFileName(std::string_view fileName);

// Whether `path` names an existing file that must not be replaced: no write
// permission for anyone, or none for this user.
bool isReadOnlyFile(const std::filesystem::path& path);

}  // namespace cubrik
