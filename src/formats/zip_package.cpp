#include "formats/zip_package.h"

#include <minizip/zip.h>

#include <cstring>
#include <new>

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
    try {
        if (out.bytes.size() < out.at + count) out.bytes.resize(out.at + count);
    } catch (const std::bad_alloc&) {
        out.outOfMemory = true;  // not thrown through minizip's C
        return 0;
    }
    std::memcpy(out.bytes.data() + out.at, data, count);
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

struct ZipPackage::Archive {
    Bytes out;
    zipFile zip = nullptr;
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
}

ZipPackage::~ZipPackage() {
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
    if (zipWriteInFileInZip(archive_->zip, bytes.data(), static_cast<unsigned>(bytes.size())) != ZIP_OK) {
        if (archive_->out.outOfMemory) throw std::bad_alloc();
        throw ZipFailure("zip package: compressing an entry failed");
    }
}

void ZipPackage::endEntry() {
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
