#include "io/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cubrik {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kDrainThreshold = 1 << 20;
constexpr int kMaxLinkHops = 40;  // as the kernel allows before ELOOP

std::FILE* openExclusive(const fs::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

std::uint64_t processId() {
#ifdef _WIN32
    return static_cast<std::uint64_t>(_getpid());
#else
    return static_cast<std::uint64_t>(getpid());
#endif
}

// A short name that no other writer in this or another process picks at the
// same moment. Short, so that a target whose name is as long as the file
// system allows can still be written beside it.
fs::path temporaryNameFor(const fs::path& destination) {
    static std::atomic<std::uint64_t> counter{0};
    const auto ticks = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t x = ticks ^ processId() << 40 ^ (counter++ + 1) * 0x9e3779b97f4a7c15u;
    x = (x ^ x >> 30) * 0xbf58476d1ce4e5b9u;  // mixed, so that near ticks give unlike names
    x = (x ^ x >> 27) * 0x94d049bb133111ebu;
    x ^= x >> 31;
    char name[32];
    std::snprintf(name, sizeof name, ".cubrik-%012llx.tmp", static_cast<unsigned long long>(x & 0xffffffffffffu));
    return destination.parent_path() / name;
}

// The file `path` finally names: symbolic links followed, a relative link
// read from the link's own folder. The last name need not exist.
bool followLinks(fs::path path, fs::path& out, std::error_code& ec) {
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        if (!fs::is_symlink(fs::symlink_status(path, ec))) {
            ec.clear();  // a name that does not exist yet is written as it is
            out = path;
            return true;
        }
        const fs::path link = fs::read_symlink(path, ec);
        if (ec) return false;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    ec = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return false;
}

bool syncToDisk(std::FILE* file) {
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0 || errno == EINVAL;  // EINVAL: a file that cannot be synced
#endif
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(fs::path target) : target_(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter() { abandon(); }

bool AtomicFileWriter::open() {
    std::error_code ec;
    if (!followLinks(target_, destination_, ec)) {
        error_ = "cannot write " + target_.string() + ": " + ec.message();
        return false;
    }
    const fs::file_status existing = fs::status(destination_, ec);
    if (fs::is_directory(existing)) {
        error_ = "cannot replace " + target_.string() + ": it is a folder";
        return false;
    }
    if (isReadOnlyFile(destination_)) {
        error_ = "cannot replace " + target_.string() + ": it is read-only";
        return false;
    }
    for (int attempt = 0; attempt < 8 && file_ == nullptr; ++attempt) {
        temporary_ = temporaryNameFor(destination_);
        file_ = openExclusive(temporary_);
        if (file_ == nullptr && errno != EEXIST) break;
    }
    if (file_ == nullptr) {
        fail("cannot create a file in the folder of", errno);
        temporary_.clear();
        return false;
    }
    // The replacement keeps the permissions of the file it replaces (a private
    // model stays private while it is written, too).
    if (fs::exists(existing)) {
        fs::permissions(temporary_, existing.permissions() & fs::perms::all, fs::perm_options::replace, ec);
        if (ec) {
            error_ = "cannot keep the permissions of " + target_.string() + ": " + ec.message();
            abandon();
            return false;
        }
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

bool AtomicFileWriter::finish() {
    if (finished_) return true;
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
    finished_ = true;
    return true;
}

bool AtomicFileWriter::commit() {
    if (!finish()) return false;
    std::error_code ec;
    fs::rename(temporary_, destination_, ec);
    if (ec) {
        error_ = "cannot replace " + target_.string() + ": " + ec.message();
        abandon();
        return false;
    }
    temporary_.clear();
    finished_ = false;
    return true;
}

void AtomicFileWriter::abandon() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        std::error_code ignored;
        fs::remove(temporary_, ignored);
        temporary_.clear();
    }
    finished_ = false;
    pending_.clear();
}

void AtomicFileWriter::fail(std::string_view what, int errorNumber) {
    if (!error_.empty()) return;
    error_ = std::string(what) + " " + target_.string() + ": " + std::strerror(errorNumber);
}

int writeFileAtomically(const fs::path& target, std::string_view content, std::string& reason) {
    AtomicFileWriter writer(target);
    if (writer.open()) {
        writer.write(content);
        if (writer.commit()) return 1;
    }
    reason = writer.error();
    return 0;
}

bool isReadOnlyFile(const fs::path& path) {
#ifdef _WIN32
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    return fs::is_regular_file(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none;
#else
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
    // The bits first: the superuser may write anything, yet a file nobody may
    // write is meant to stay as it is.
    return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
#endif
}

}  // namespace cubrik
