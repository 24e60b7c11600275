#include "formats/zip_package.h"

#include <minizip/zip.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <new>
#include <thread>

namespace cubrik {

namespace {

// The archive's bytes as minizip writes them: it seeks back to fill in each
// local header's checksum and sizes once the entry's data is written.
struct Bytes {
    std::string bytes;
    std::size_t at = 0;
    bool outOfMemory = false;
};

Bytes& bytesOf(voidpf stream) { return *static_cast<Bytes*>(stream); }

voidpf openBytes(voidpf opaque, const void*, int) { return opaque; }

uLong readBytes(voidpf, voidpf, void*, uLong) { return 0; }

uLong writeBytes(voidpf, voidpf stream, const void* data, uLong count) {
    Bytes& out = bytesOf(stream);
    const auto* bytes = static_cast<const char*>(data);
    const std::size_t over = std::min<std::size_t>(count, out.bytes.size() - out.at);
    std::memcpy(out.bytes.data() + out.at, bytes, over);  // a header filled in
    try {
        out.bytes.append(bytes + over, count - over);
    } catch (const std::bad_alloc&) {
        out.outOfMemory = true;  // not thrown through minizip's C
        return 0;
    }
    out.at += count;
    return count;
}

ZPOS64_T tellBytes(voidpf, voidpf stream) { return bytesOf(stream).at; }

long seekBytes(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    Bytes& out = bytesOf(stream);
    const ZPOS64_T base = origin == ZLIB_FILEFUNC_SEEK_CUR ? out.at
                          : origin == ZLIB_FILEFUNC_SEEK_END ? out.bytes.size()
                                                             : 0;
    if (base + offset > out.bytes.size()) return -1;
    out.at = static_cast<std::size_t>(base + offset);
    return 0;
}

int closeBytes(voidpf, voidpf) { return 0; }

int bytesError(voidpf, voidpf stream) { return bytesOf(stream).outOfMemory ? 1 : 0; }

// 1980-01-01 00:00 in MS-DOS form, the earliest date zip can hold.
constexpr uLong kFixedDosDate = ((1u << 5) | 1u) << 16;

}  // namespace

// Deflating takes as long as formatting what is deflated, so it runs on a
// thread of its own: write() queues a copy of each piece and returns.
struct ZipPackage::Archive {
    Bytes out;
    zipFile zip = nullptr;

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::string> pieces;  // the front one is being deflated while `deflating`
    bool deflating = false;
    bool stopping = false;
    std::exception_ptr failure;
    std::thread deflater;

    // Deflates the queued pieces in order until told to stop.
    void deflateQueued() {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return !pieces.empty() || stopping; });
            if (stopping) return;  // a package given up on: the rest need no deflating
            deflating = true;
            const bool failed = failure != nullptr;
            lock.unlock();
            std::exception_ptr caught;
            try {
                if (!failed) deflate(pieces.front());
            } catch (...) {
                caught = std::current_exception();
            }
            lock.lock();
            if (caught != nullptr) failure = caught;
            deflating = false;
            pieces.pop_front();
            changed.notify_all();
        }
    }

    void deflate(const std::string& piece) {
        if (zipWriteInFileInZip(zip, piece.data(), static_cast<unsigned>(piece.size())) != ZIP_OK) {
            if (out.outOfMemory) throw std::bad_alloc();
            throw ZipFailure("zip package: compressing an entry failed");
        }
    }

    // Waits for the queue to empty, so the zip is the caller's again; throws
    // what deflating met.
    void drain() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return pieces.empty() && !deflating; });
        if (failure != nullptr) std::rethrow_exception(failure);
    }
};

ZipPackage::ZipPackage() : archive_(std::make_unique<Archive>()) {
    zlib_filefunc64_def io{};
    io.zopen64_file = openBytes;
    io.zread_file = readBytes;
    io.zwrite_file = writeBytes;
    io.ztell64_file = tellBytes;
    io.zseek64_file = seekBytes;
    io.zclose_file = closeBytes;
    io.zerror_file = bytesError;
    io.opaque = &archive_->out;
    archive_->zip = zipOpen2_64("", APPEND_STATUS_CREATE, nullptr, &io);
    if (archive_->zip == nullptr) throw ZipFailure("zip package: starting the archive failed");
    archive_->deflater = std::thread([archive = archive_.get()] { archive->deflateQueued(); });
}

ZipPackage::~ZipPackage() {
    {
        std::lock_guard lock(archive_->mutex);
        archive_->stopping = true;
    }
    archive_->changed.notify_all();
    archive_->deflater.join();
    if (archive_->zip != nullptr) zipClose(archive_->zip, nullptr);
}

void ZipPackage::beginEntry(const std::string& name) {
    endEntry();
    zip_fileinfo info{};
    info.dosDate = kFixedDosDate;
    if (zipOpenNewFileInZip(archive_->zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 1) !=
        ZIP_OK) {
        if (archive_->out.outOfMemory) throw std::bad_alloc();
        throw ZipFailure("zip package: starting " + name + " failed");
    }
    inEntry_ = true;
}

void ZipPackage::write(std::string_view bytes) {
    // A few pieces ahead at most, so the queue stays small.
    constexpr std::size_t kQueued = 4;
    std::unique_lock lock(archive_->mutex);
    archive_->changed.wait(lock, [&] { return archive_->pieces.size() < kQueued; });
    if (archive_->failure != nullptr) std::rethrow_exception(archive_->failure);
    archive_->pieces.emplace_back(bytes);
    archive_->changed.notify_all();
}

void ZipPackage::endEntry() {
    archive_->drain();
    if (!inEntry_) return;
    inEntry_ = false;
    if (zipCloseFileInZip(archive_->zip) != ZIP_OK) {
        if (archive_->out.outOfMemory) throw std::bad_alloc();
        throw ZipFailure("zip package: ending an entry failed");
    }
}

std::string ZipPackage::finish() {
    endEntry();
    const int closed = zipClose(archive_->zip, nullptr);
    archive_->zip = nullptr;
    if (closed != ZIP_OK) {
        if (archive_->out.outOfMemory) throw std::bad_alloc();
        throw ZipFailure("zip package: ending the archive failed");
    }
    return std::move(archive_->out.bytes);
}

}  // namespace cubrik
