#include "io/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace cubrik {
namespace {

constexpr std::size_t kDrainThreshold = 1 << 20;

std::FILE* openExclusive(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

// A name no other writer in this or another process picks at the same moment.
std::filesystem::path temporaryNameFor(const std::filesystem::path& target, int attempt) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    std::string name = ".";
    name += target.filename().string();
    for (const long long part : {static_cast<long long>(ticks % 1000000007), static_cast<long long>(counter++),
                                 static_cast<long long>(attempt)}) {
        name += '.';
        name += std::to_string(part);
    }
    name += ".tmp";
    return target.parent_path() / name;
}

bool syncToDisk(std::FILE* file) {
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0 || errno == EINVAL;  // EINVAL: a file that cannot be synced
#endif
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target_(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter() { abandon(); }

bool AtomicFileWriter::open() {
    for (int attempt = 0; attempt < 8 && file_ == nullptr; ++attempt) {
        temporary_ = temporaryNameFor(target_, attempt);
        file_ = openExclusive(temporary_);
        if (file_ == nullptr && errno != EEXIST) break;
    }
    if (file_ == nullptr) {
        fail("cannot create a file in the folder of", errno);
        temporary_.clear();
        return false;
    }
    return true;
}

void AtomicFileWriter::write(std::string_view bytes) {
    if (file_ == nullptr || !error_.empty()) return;
    pending_.append(bytes);
    if (pending_.size() >= kDrainThreshold) drain();
}

bool AtomicFileWriter::drain() {
    if (pending_.empty()) return true;
    const std::size_t written = std::fwrite(pending_.data(), 1, pending_.size(), file_);
    if (written != pending_.size()) {
        fail("cannot write", errno);
        return false;
    }
    pending_.clear();
    return true;
}

bool AtomicFileWriter::commit() {
    if (file_ == nullptr) {
        if (error_.empty()) error_ = "cannot write " + target_.string() + ": the file was not opened";
        return false;
    }
    if (error_.empty() && drain()) {
        if (std::fflush(file_) != 0) fail("cannot write", errno);
        else if (!syncToDisk(file_)) fail("cannot write", errno);
    }
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0 && error_.empty()) fail("cannot write", errno);
    if (!error_.empty()) {
        abandon();
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temporary_, target_, ec);
    if (ec) {
        error_ = "cannot replace " + target_.string() + ": " + ec.message();
        abandon();
        return false;
    }
    temporary_.clear();
    return true;
}

void AtomicFileWriter::abandon() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
        temporary_.clear();
    }
    pending_.clear();
}

void AtomicFileWriter::fail(std::string_view what, int errorNumber) {
    if (!error_.empty()) return;
    error_ = std::string(what) + " " + target_.string() + ": " + std::strerror(errorNumber);
}

int writeFileAtomically(const std::filesystem::path& target, std::string_view content,
                        std::string& reason) {
    AtomicFileWriter writer(target);
    if (writer.open()) {
        writer.write(content);
        if (writer.commit()) return 1;
    }
    reason = writer.error();
    return 0;
}

int readWholeFile(const std::filesystem::path& path, std::string& content, std::string& reason) {
#ifdef _WIN32
    std::FILE* file = _wfopen(path.c_str(), L"rb");
#else
    std::FILE* file = std::fopen(path.c_str(), "rb");
#endif
    if (file == nullptr) {
        reason = "cannot open " + path.string() + ": " + std::strerror(errno);
        return 0;
    }
    std::string bytes;
    char chunk[1 << 16];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    const int readError = errno;
    std::fclose(file);
    if (failed) {
        reason = "cannot read " + path.string() + ": " + std::strerror(readError);
        return 0;
    }
    content = std::move(bytes);
    return 1;
}

}  // namespace cubrik
