#include "app/session/session_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/session/session.h"

namespace cubrik {

SessionFileReader::~SessionFileReader() {
    if (file_ != nullptr) std::fclose(file_);
}

int SessionFileReader::open(const std::string& path, std::string& reason) {
    path_ = path;
    // Without O_NONBLOCK opening a FIFO would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        reason = path + " cannot be opened: " + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return 0;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = path + " is not a regular file";
        ::close(fd);
        return 0;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file_ = ::fdopen(fd, "rb");
    if (file_ == nullptr) {
        reason = path + " cannot be opened: " + std::strerror(errno);
        ::close(fd);
        return 0;
    }
    return 1;
}

int SessionFileReader::next(std::string& line, std::string& reason) {
    line.clear();
    int c = EOF;
    while ((c = std::getc(file_)) != EOF && c != '\n') {
        if (line.size() == kMaxSessionLineBytes) {
            reason = path_ + " line " + std::to_string(lineNumber_ + 1) + ": longer than " +
                     std::to_string(kMaxSessionLineBytes) + " bytes";
            return -1;
        }
        line += static_cast<char>(c);
    }
    if (std::ferror(file_)) {
        reason = path_ + " cannot be read: " + std::strerror(errno);
        return -1;
    }
    if (c == EOF && line.empty()) return 0;
    ++lineNumber_;
    return 1;
}

int checkSessionFile(const std::string& path, std::string& reason) {
    SessionFileReader reader;
    if (!reader.open(path, reason)) return 0;
    std::string text, error;
    SessionLine line;
    int got = 0;
    while ((got = reader.next(text, reason)) == 1)
        if (!parseSessionLine(text, line, error)) {
            reason = path + " line " + std::to_string(reader.lineNumber()) + ": " + error;
            return 0;
        }
    return got == 0 ? 1 : 0;
}

}  // namespace cubrik
