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

// A piece of an entry, deflated on its own as a run of deflate blocks that
// ends on a byte boundary (a sync flush), so pieces join into one stream.
struct Piece {
    std::string input;
    std::string output;
    uLong crc = 0;
    bool claimed = false;
    bool deflated = false;
};

// Raw deflate at level 1 of `input`, ended as `flush` says.
std::string deflatePiece(const std::string& input, int flush) {
    z_stream stream{};
    if (deflateInit2(&stream, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw ZipFailure("zip package: starting to compress failed");
    std::string output(deflateBound(&stream, input.size()) + 16, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    stream.avail_in = static_cast<uInt>(input.size());
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = static_cast<uInt>(output.size());
    const int result = deflate(&stream, flush);
    const bool complete = stream.avail_in == 0 && stream.avail_out > 0 && (flush != Z_FINISH || result == Z_STREAM_END);
    output.resize(stream.total_out);
    deflateEnd(&stream);
    if (!complete) throw ZipFailure("zip package: compressing an entry failed");
    return output;
}

// Deflating takes longer than formatting what is deflated, so pieces are
// deflated on threads of their own, two at once, and joined in order: write()
// queues a copy of each piece and returns.
struct ZipPackage::Archive {
    static constexpr int kDeflaters = 2;

    Bytes out;
    zipFile zip = nullptr;
    uLong entryCrc = 0;
    ZPOS64_T entrySize = 0;

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Piece> pieces;  // in entry order; the deflated ones at the front are joined
    bool stopping = false;
    std::exception_ptr failure;
    std::thread deflaters[kDeflaters];

    // Deflates queued pieces until told to stop.
    void deflateQueued() {
        std::unique_lock lock(mutex);
        for (;;) {
            Piece* piece = nullptr;
            changed.wait(lock, [&] {
                for (Piece& p : pieces)
                    if (!p.claimed) {
                        piece = &p;
                        break;
                    }
                return piece != nullptr || stopping;
            });
            if (stopping) return;  // a package given up on: the rest need no deflating
            piece->claimed = true;
            const bool failed = failure != nullptr;
            lock.unlock();
            std::exception_ptr caught;
            try {
                if (!failed) {
                    piece->output = deflatePiece(piece->input, Z_SYNC_FLUSH);
                    piece->crc = crc32(0, reinterpret_cast<const Bytef*>(piece->input.data()),
                                       static_cast<uInt>(piece->input.size()));
                }
            } catch (...) {
                caught = std::current_exception();
            }
            lock.lock();
            if (caught != nullptr && failure == nullptr) failure = caught;
            piece->deflated = true;
            joinDeflated();
            changed.notify_all();
        }
    }

    // Adds the deflated pieces at the front to the entry, in order.
    void joinDeflated() {
        while (!pieces.empty() && pieces.front().deflated) {
            const Piece& piece = pieces.front();
            if (failure == nullptr) {
                addToEntry(piece.output);
                entryCrc = crc32_combine(entryCrc, piece.crc, static_cast<z_off_t>(piece.input.size()));
                entrySize += piece.input.size();
            }
            pieces.pop_front();  // deque: the other pieces stay where they are
        }
    }

    void addToEntry(const std::string& deflated) {
        if (zipWriteInFileInZip(zip, deflated.data(), static_cast<unsigned>(deflated.size())) != ZIP_OK)
            failure = out.outOfMemory ? std::make_exception_ptr(std::bad_alloc())
                                      : std::make_exception_ptr(ZipFailure("zip package: writing an entry failed"));
    }

    // Also when a deflater could not be started.
    ~Archive() {
        {
            std::lock_guard lock(mutex);
            stopping = true;
        }
        changed.notify_all();
        for (std::thread& deflater : deflaters)
            if (deflater.joinable()) deflater.join();
        if (zip != nullptr) zipClose(zip, nullptr);
    }

    // Waits for the queue to empty, so the zip is the caller's again; throws
    // what deflating met.
    void drain() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return pieces.empty(); });
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
    for (std::thread& deflater : archive_->deflaters)
        deflater = std::thread([archive = archive_.get()] { archive->deflateQueued(); });
}

ZipPackage::~ZipPackage() = default;

void ZipPackage::beginEntry(const std::string& name) {
    endEntry();
    zip_fileinfo info{};
    info.dosDate = kFixedDosDate;
    // Raw: the pieces come deflated, and the checksum and size with the end.
    if (zipOpenNewFileInZip2(archive_->zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 1, 1) !=
        ZIP_OK) {
        if (archive_->out.outOfMemory) throw std::bad_alloc();
        throw ZipFailure("zip package: starting " + name + " failed");
    }
    archive_->entryCrc = 0;
    archive_->entrySize = 0;
    inEntry_ = true;
}

void ZipPackage::write(std::string_view bytes) {
    // A few pieces ahead of the deflaters at most, so the queue stays small.
    constexpr std::size_t kQueued = 2 * Archive::kDeflaters + 2;
    std::unique_lock lock(archive_->mutex);
    archive_->changed.wait(lock, [&] { return archive_->pieces.size() < kQueued; });
    if (archive_->failure != nullptr) std::rethrow_exception(archive_->failure);
    archive_->pieces.emplace_back().input.assign(bytes);
    archive_->changed.notify_all();
}

void ZipPackage::endEntry() {
    archive_->drain();
    if (!inEntry_) return;
    inEntry_ = false;
    // The pieces end in sync flushes; an empty last block ends the stream.
    archive_->addToEntry(deflatePiece({}, Z_FINISH));
    if (archive_->failure != nullptr) std::rethrow_exception(archive_->failure);
    if (zipCloseFileInZipRaw64(archive_->zip, archive_->entrySize, archive_->entryCrc) != ZIP_OK) {
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
