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
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cubrik {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kDrainThreshold = 1 << 20;
constexpr int kMaxLinkHops = 40;  // as the kernel allows before ELOOP

// A new file, never an existing one nor a link's target. A private one is
// 0600 from its creation, whatever the umask.
std::FILE* openExclusive(const fs::path& path, Replacement replacement) {
#ifdef _WIN32
    (void)replacement;
    return _wfopen(path.c_str(), L"wbx");
#else
    const bool isPrivate = replacement == Replacement::Private;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, isPrivate ? 0600 : 0666);
    if (fd < 0) return nullptr;
    if (!isPrivate || ::fchmod(fd, 0600) == 0)
        if (std::FILE* file = ::fdopen(fd, "wb")) return file;
    const int error = errno;
    ::close(fd);
    ::unlink(path.c_str());
    errno = error;
    return nullptr;
#endif
}

std::uint64_t processId() {
#ifdef _WIN32
    return static_cast<std::uint64_t>(_getpid());
#else
    return static_cast<std::uint64_t>(getpid());
#endif
}

constexpr std::string_view kTemporaryPrefix = ".cubrik-", kTemporarySuffix = ".tmp";

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
    std::snprintf(name, sizeof name, "%s%012llx%s", kTemporaryPrefix.data(),
                  static_cast<unsigned long long>(x & 0xffffffffffffu), kTemporarySuffix.data());
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

// Why the file at `destination` may not be replaced; empty when it may.
std::string refusalOf(const fs::file_status& existing, const fs::path& destination, Replacement replacement) {
    if (fs::is_directory(existing)) return "it is a folder";
    if (replacement == Replacement::Private) return {};  // a link is replaced, not followed
    // A device or FIFO is never swapped for a file: a link to /dev/null must
    // not replace /dev/null.
    if (fs::exists(existing) && !fs::is_regular_file(existing))
        return "it is not a regular file (a device, FIFO or socket)";
    if (isReadOnlyFile(destination)) return "it is read-only";
    return {};
}

bool syncToDisk(std::FILE* file) {
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0 || errno == EINVAL;  // EINVAL: a file that cannot be synced
#endif
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(fs::path target, Replacement replacement)
    : target_(std::move(target)), replacement_(replacement) {}

AtomicFileWriter::~AtomicFileWriter() { abandon(); }

bool AtomicFileWriter::open() {
    std::error_code ec;
    const bool keep = replacement_ == Replacement::KeepWhatTheUserSet;
    if (!keep) destination_ = target_;
    else if (!followLinks(target_, destination_, ec)) {
        error_ = "cannot write " + target_.string() + ": " + ec.message();
        return false;
    }
    const fs::file_status existing = keep ? fs::status(destination_, ec) : fs::symlink_status(destination_, ec);
    if (const std::string why = refusalOf(existing, destination_, replacement_); !why.empty()) {
        error_ = "cannot replace " + target_.string() + ": " + why;
        return false;
    }
    for (int attempt = 0; attempt < 8 && file_ == nullptr; ++attempt) {
        temporary_ = temporaryNameFor(destination_);
        file_ = openExclusive(temporary_, replacement_);
        if (file_ == nullptr && errno != EEXIST) break;
    }
    if (file_ == nullptr) {
        fail("cannot create a file in the folder of", errno);
        temporary_.clear();
        return false;
    }
    // The replacement keeps the permissions of the file it replaces (a private
    // model stays private while it is written, too).
    if (keep && fs::exists(existing)) {
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
    if (pending_.size() + bytes.size() < kDrainThreshold) {
        pending_.append(bytes);
        return;
    }
    // A large piece goes straight to the file rather than being copied first.
    if (drain() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) fail("cannot write", errno);
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

int writeFileAtomically(const fs::path& target, std::string_view content, std::string& reason,
                        Replacement replacement) {
    AtomicFileWriter writer(target, replacement);
    if (writer.open()) {
        writer.write(content);
        if (writer.commit()) return 1;
    }
    reason = writer.error();
    return 0;
}

bool isTemporaryFileName(std::string_view fileName) {
    return fileName.size() > kTemporaryPrefix.size() + kTemporarySuffix.size() &&
           fileName.starts_with(kTemporaryPrefix) && fileName.ends_with(kTemporarySuffix);
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
