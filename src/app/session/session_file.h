#pragma once
// Reads a session file a line at a time, so that a long session takes no more
// memory than its longest line. Only a regular file is read: a folder, a FIFO
// or a device is refused before anything is read from it.

#include <cstdio>
#include <string>

namespace cubrik {

// The longest line a session file may hold: room for a clipboard line of the
// whole grid.
inline constexpr std::size_t kMaxSessionLineBytes = 4u << 20;

class SessionFileReader {
public:
    SessionFileReader() = default;
    ~SessionFileReader();
    SessionFileReader(const SessionFileReader&) = delete;
    SessionFileReader& operator=(const SessionFileReader&) = delete;

    // Returns 1, or 0 with `reason` ("s.txt is not a regular file").
    int open(const std::string& path, std::string& reason);

    // The next line without its line end: 1, 0 at the end of the file, or -1
    // with `reason` when the line is too long or the file cannot be read.
    int next(std::string& line, std::string& reason);

    int lineNumber() const { return lineNumber_; }

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    int lineNumber_ = 0;
};

// Whether `path` can be read as a session file in which every line reads;
// 0 with `reason` saying why not.
int checkSessionFile(const std::string& path, std::string& reason);

}  // namespace cubrik
