// JPEG reference pictures through libjpeg-turbo, held to what a picture needs:
// damaged data and scan bombs are refused rather than shown grey or decoded
// for minutes.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <jpeglib.h>
#include <jerror.h>

#include "formats/image/picture_codecs.h"

namespace cubrik {
namespace {

// Every scan of a progressive (or multi-scan) file makes the decoder pass over
// all the blocks it covers, however few bytes the scan holds, so a small file
// of many empty scans costs minutes. Encoders write about ten scans.
constexpr int kMostScans = 300;
// The blocks all scans together may visit: 24 passes over an 8192 x 8192 grey
// picture, under a second, where a colour one of that size needs about 14.
constexpr long long kMostScanBlocks = 24LL * (kLargestPictureSide / 8) * (kLargestPictureSide / 8);

// libjpeg reports errors by a long jump out of the decoder.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct ScanWatch {
    jpeg_progress_mgr progress;
    int scan;
    long long blocks;
};

enum class JpegResult { kRead, kDamaged, kTooLarge, kUnsupportedPrecision };

[[noreturn]] void leaveJpeg(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings that pixels are missing or wrong end the decoding, which would
// otherwise show the rest grey; harmless ones (stray bytes between markers, an
// unknown JFIF version or a bad colour profile) pass.
void judgeJpegMessage(j_common_ptr info, int level) {
    if (level >= 0) return;  // a trace message
    switch (info->err->msg_code) {
        case JWRN_JPEG_EOF:
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_MUST_RESYNC:
        case JWRN_BOGUS_PROGRESSION:
        case JWRN_NOT_SEQUENTIAL:
            leaveJpeg(info);
        default:
            return;
    }
}

// Called before each row of blocks is read; counts each new scan's blocks.
void watchScans(j_common_ptr common) {
    auto& info = *reinterpret_cast<j_decompress_ptr>(common);
    auto& watch = *reinterpret_cast<ScanWatch*>(info.progress);
    if (info.input_scan_number == watch.scan) return;
    watch.scan = info.input_scan_number;
    for (int i = 0; i < info.comps_in_scan; ++i)
        watch.blocks += static_cast<long long>(info.cur_comp_info[i]->width_in_blocks) *
                        info.cur_comp_info[i]->height_in_blocks;
    auto* errors = reinterpret_cast<JpegErrors*>(info.err);
    if (watch.scan > kMostScans)
        std::snprintf(errors->message, sizeof errors->message, "it has more than %d scans", kMostScans);
    else if (watch.blocks > kMostScanBlocks)
        std::snprintf(errors->message, sizeof errors->message, "%d scans are too many for its size", watch.scan);
    else
        return;
    std::longjmp(errors->jump, 1);
}

bool isCmyk(const jpeg_decompress_struct& info) {
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

// Adobe's files, nearly every CMYK JPEG, store the inks inverted (255 is none).
void cmykToRgba(std::uint8_t* pixels, std::size_t count, bool inverted) {
    for (std::uint8_t* p = pixels; p != pixels + 4 * count; p += 4) {
        const int black = inverted ? p[3] : 255 - p[3];
        for (int channel = 0; channel < 3; ++channel) {
            const int ink = inverted ? p[channel] : 255 - p[channel];
            p[channel] = static_cast<std::uint8_t>((ink * black + 127) / 255);
        }
        p[3] = 255;
    }
}

// The decoding between the jumps: only plain C data lives here, so a jump
// skips no destructor. `rgba` is allocated once the size is known and freed
// by the caller.
JpegResult runJpeg(jpeg_decompress_struct& info, JpegErrors& errors, ScanWatch& watch,
                   std::span<const std::uint8_t> bytes, std::uint8_t** rgba) {
    if (setjmp(errors.jump)) return JpegResult::kDamaged;
    jpeg_create_decompress(&info);
    info.progress = &watch.progress;
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (info.data_precision != 8) return JpegResult::kUnsupportedPrecision;
    if (info.image_width > kLargestPictureSide || info.image_height > kLargestPictureSide) return JpegResult::kTooLarge;
    info.out_color_space = isCmyk(info) ? JCS_CMYK : JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    const std::size_t rowBytes = 4 * static_cast<std::size_t>(info.output_width);
    *rgba = static_cast<std::uint8_t*>(std::malloc(rowBytes * info.output_height));
    if (*rgba == nullptr) {
        std::strcpy(errors.message, "out of memory");
        return JpegResult::kDamaged;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = *rgba + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    if (info.out_color_space == JCS_CMYK)
        cmykToRgba(*rgba, static_cast<std::size_t>(info.output_width) * info.output_height, info.saw_Adobe_marker);
    return JpegResult::kRead;
}

}  // namespace

int decodeJpeg(std::span<const std::uint8_t> bytes, Picture& picture, std::string& reason) {
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = leaveJpeg;
    errors.manager.emit_message = judgeJpegMessage;
    ScanWatch watch{};
    watch.progress.progress_monitor = watchScans;
    std::uint8_t* rgba = nullptr;
    JpegResult result = runJpeg(info, errors, watch, bytes, &rgba);
    // Without 12-bit support the decoder refuses such a file while reading its header.
    if (info.data_precision != 8 && info.data_precision != 0) result = JpegResult::kUnsupportedPrecision;
    switch (result) {
        case JpegResult::kRead:
            try {
                picture.rgba.assign(rgba, rgba + 4 * static_cast<std::size_t>(info.output_width) * info.output_height);
                picture.width = static_cast<int>(info.output_width);
                picture.height = static_cast<int>(info.output_height);
            } catch (const std::bad_alloc&) {
                reason = "there is not enough memory for it";
                result = JpegResult::kDamaged;
            }
            break;
        case JpegResult::kDamaged:
            reason = damagedPicture(errors.message);
            break;
        case JpegResult::kTooLarge:
            reason = pictureTooLarge();
            break;
        case JpegResult::kUnsupportedPrecision:
            reason = std::to_string(info.data_precision) + "-bit JPEG pictures are not supported";
            break;
    }
    std::free(rgba);
    jpeg_destroy_decompress(&info);
    return result == JpegResult::kRead ? 1 : 0;
}

}  // namespace cubrik
