#include "formats/import/zip_reader.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace cubrik {
namespace {

voidpf ZCALLBACK openMemory(voidpf opaque, const void*, int) { return opaque; }
uLong ZCALLBACK readMemory(voidpf, voidpf stream, void* buffer, uLong size) {
    auto& memory = *static_cast<ZipReader::MemoryStream*>(stream);
    const auto count = static_cast<uLong>(std::min<std::uint64_t>(size, memory.bytes.size() - memory.at));
    std::memcpy(buffer, memory.bytes.data() + memory.at, count);
    memory.at += count;
    return count;
}
uLong ZCALLBACK writeNothing(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T ZCALLBACK tellMemory(voidpf, voidpf stream) { return static_cast<ZipReader::MemoryStream*>(stream)->at; }
long ZCALLBACK seekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto& memory = *static_cast<ZipReader::MemoryStream*>(stream);
    const std::uint64_t base = origin == ZLIB_FILEFUNC_SEEK_SET   ? 0
                               : origin == ZLIB_FILEFUNC_SEEK_CUR ? memory.at
                                                                  : memory.bytes.size();
    if (offset > memory.bytes.size() - base) return -1;
    memory.at = base + offset;
    return 0;
}
int ZCALLBACK closeMemory(voidpf, voidpf) { return 0; }
int ZCALLBACK noError(voidpf, voidpf) { return 0; }

}  // namespace

ZipReader::ZipReader(const std::filesystem::path& path) : zip_(unzOpen64(path.c_str())) {}

ZipReader::ZipReader(std::span<const std::uint8_t> bytes) : memory_{bytes} {
    zlib_filefunc64_def functions{openMemory, readMemory,  writeNothing, tellMemory,
                                  seekMemory, closeMemory, noError,      &memory_};
    zip_ = unzOpen2_64("memory", &functions);
}

ZipReader::~ZipReader() {
    if (zip_ != nullptr) unzClose(zip_);
}

int ZipReader::readEntry(const std::string& name, std::uint64_t largest, const ImportControl& control,
                         const std::function<bool(const char*, int, bool)>& consume, std::string& reason) {
    if (unzLocateFile(zip_, name.c_str(), 2) != UNZ_OK) return -1;
    unz_file_info64 info{};
    const std::string tooLarge =
        "its part " + name + " is larger than the " + std::to_string(largest >> 20) + " MB an import reads";
    if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        info.uncompressed_size > largest || unzOpenCurrentFile(zip_) != UNZ_OK) {
        reason = info.uncompressed_size > largest ? tooLarge : "its part " + name + " cannot be unpacked";
        return 0;
    }
    std::vector<char> piece(1 << 16);
    ZPOS64_T total = 0;
    int got = 0;
    bool going = true;
    while (going && (got = unzReadCurrentFile(zip_, piece.data(), static_cast<unsigned>(piece.size()))) > 0) {
        total += static_cast<ZPOS64_T>(got);
        if (total > largest) {
            reason = tooLarge;
            going = false;
        } else if (control.cancel != nullptr && control.cancel->load()) {
            reason = "the import was cancelled";
            going = false;
        } else {
            if (control.permille != nullptr && info.uncompressed_size > 0)
                control.permille->store(
                    static_cast<int>(1000 * std::min(total, info.uncompressed_size) / info.uncompressed_size));
            going = consume(piece.data(), got, false);
        }
    }
    const int closed = unzCloseCurrentFile(zip_);
    if (!going) return 0;
    if (got < 0 || closed != UNZ_OK) {
        reason = "its part " + name + " is damaged";
        return 0;
    }
    return consume(piece.data(), 0, true) ? 1 : 0;
}

}  // namespace cubrik
