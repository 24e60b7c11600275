#include "io/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <cstdio>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cubrik {
namespace {

std::string cannot(const char* what, const std::filesystem::path& path, const std::string& why) {
    return std::string(what) + " " + path.string() + ": " + why;
}

std::string notRegular(const std::filesystem::path& path, bool folder) {
    return cannot("cannot read", path, folder ? "it is a folder" : "it is not a regular file (a device, FIFO or socket)");
}

std::string tooLarge(const std::filesystem::path& path, std::uint64_t size, const ReadLimit& limit) {
    return cannot("cannot read", path,
                  "it holds " + std::to_string(size) + " bytes, more than a file of its type can (at most " +
                      std::to_string(limit.bytes) + ")");
}

// An open regular file: opened only once it is known to be one.
class InputFile {
public:
    ~InputFile() { close(); }

    // False with `reason` when the path names no regular file or it cannot be opened.
    bool open(const std::filesystem::path& path, std::string& reason) {
#ifdef _WIN32
        std::error_code ec;
        const auto status = std::filesystem::status(path, ec);
        if (ec) return fail(reason, cannot("cannot open", path, ec.message()));
        if (status.type() != std::filesystem::file_type::regular)
            return fail(reason, notRegular(path, status.type() == std::filesystem::file_type::directory));
        size_ = std::filesystem::file_size(path, ec);
        file_ = _wfopen(path.c_str(), L"rb");
        if (file_ == nullptr) return fail(reason, cannot("cannot open", path, std::strerror(errno)));
#else
        // Looked at before opening: opening a device may do something by itself.
        struct stat info;
        if (::stat(path.c_str(), &info) != 0) return fail(reason, cannot("cannot open", path, std::strerror(errno)));
        if (!S_ISREG(info.st_mode)) return fail(reason, notRegular(path, S_ISDIR(info.st_mode)));
        // Without waiting, should the name have become a FIFO since.
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) return fail(reason, cannot("cannot open", path, std::strerror(errno)));
        if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return fail(reason, notRegular(path, S_ISDIR(info.st_mode)));
        size_ = static_cast<std::uint64_t>(info.st_size);
#endif
        return true;
    }

    std::uint64_t size() const { return size_; }

    // Up to `count` bytes; 0 at the end, -1 on an error (errno says which).
    long long readSome(char* at, std::size_t count) {
#ifdef _WIN32
        const std::size_t n = std::fread(at, 1, count, file_);
        return n == 0 && std::ferror(file_) ? -1 : static_cast<long long>(n);
#else
        for (;;) {
            const ssize_t n = ::read(fd_, at, count);
            if (n >= 0 || errno != EINTR) return n;
        }
#endif
    }

private:
    bool fail(std::string& reason, std::string why) {
        close();
        reason = std::move(why);
        return false;
    }
    void close() {
#ifdef _WIN32
        if (file_ != nullptr) std::fclose(file_);
        file_ = nullptr;
#else
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
#endif
    }

#ifdef _WIN32
    std::FILE* file_ = nullptr;
#else
    int fd_ = -1;
#endif
    std::uint64_t size_ = 0;
};

}  // namespace

int readRegularFile(const std::filesystem::path& path, ReadLimit limit, std::string& content, std::string& reason) {
    InputFile file;
    if (!file.open(path, reason)) return 0;
    if (!limit.restIgnored && file.size() > limit.bytes) {
        reason = tooLarge(path, file.size(), limit);
        return 0;
    }
    // One byte past the limit shows a file that grew beyond it while it was read.
    const std::uint64_t most = limit.restIgnored ? limit.bytes : limit.bytes + 1;
    std::string bytes(static_cast<std::size_t>(std::min(most, file.size() + 1)), '\0');
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got >= most) break;
            bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(most, 2 * std::uint64_t{got} + (1 << 16))));
        }
        const long long n = file.readSome(bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            reason = cannot("cannot read", path, std::strerror(errno));
            return 0;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (!limit.restIgnored && got > limit.bytes) {
        reason = tooLarge(path, got, limit);
        return 0;
    }
    bytes.resize(got);
    content = std::move(bytes);
    return 1;
}

}  // namespace cubrik
