// The MP4 module: H.264 in yuv420p through FFmpeg's libraries. The muxer
// seeks back to finish its index, so it writes into memory.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <cstring>
#include <new>

#include "formats/animation/mp4_video.h"

namespace cubrik {
namespace {

constexpr int kIoBufferBytes = 1 << 16;

// A seekable file in memory for the muxer.
struct MemoryFile {
    std::string bytes;
    std::int64_t position = 0;

    static int write(void* opaque, std::uint8_t* data, int size) {
        auto* self = static_cast<MemoryFile*>(opaque);
        const std::size_t end = static_cast<std::size_t>(self->position) + size;
        if (end > self->bytes.size()) self->bytes.resize(end);
        std::memcpy(self->bytes.data() + self->position, data, size);
        self->position = static_cast<std::int64_t>(end);
        return size;
    }

    static std::int64_t seek(void* opaque, std::int64_t offset, int whence) {
        auto* self = static_cast<MemoryFile*>(opaque);
        const auto size = static_cast<std::int64_t>(self->bytes.size());
        switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE: return size;
        case SEEK_SET: break;
        case SEEK_CUR: offset += self->position; break;
        case SEEK_END: offset += size; break;
        default: return AVERROR(EINVAL);
        }
        if (offset < 0) return AVERROR(EINVAL);
        return self->position = offset;
    }
};

std::string ffmpegError(const char* what, int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return std::string("MP4: ") + what + ": " + text;
}

// libx264 when there; any other H.264 encoder FFmpeg has otherwise.
const AVCodec* h264Encoder() {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    return codec != nullptr ? codec : avcodec_find_encoder(AV_CODEC_ID_H264);
}

class FfmpegMp4Video final : public Mp4Video {
public:
    ~FfmpegMp4Video() override { release(); }

    std::string begin(int width, int height, int framesPerSecond) override {
        release();
        if (width < 2 || height < 2 || width % 2 != 0 || height % 2 != 0)
            return "an MP4 (yuv420p) wants an even width and height, not " + std::to_string(width) + " x " +
                   std::to_string(height);
        av_log_set_level(AV_LOG_QUIET);  // failures come back as messages of our own
        const AVCodec* codec = h264Encoder();
        if (codec == nullptr) return "MP4: this FFmpeg has no H.264 encoder (libx264)";

        int code = avformat_alloc_output_context2(&format_, nullptr, "mp4", nullptr);
        if (code < 0) return fail("no MP4 muxer", code);
        auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
        io_ = buffer ? avio_alloc_context(buffer, kIoBufferBytes, 1, &memory_, nullptr, MemoryFile::write,
                                          MemoryFile::seek)
                     : nullptr;
        if (io_ == nullptr) {
            av_free(buffer);
            return fail("out of memory", AVERROR(ENOMEM));
        }
        format_->pb = io_;
        format_->flags |= AVFMT_FLAG_CUSTOM_IO;

        codecContext_ = avcodec_alloc_context3(codec);
        stream_ = avformat_new_stream(format_, nullptr);
        frame_ = av_frame_alloc();
        packet_ = av_packet_alloc();
        if (!codecContext_ || !stream_ || !frame_ || !packet_) return fail("out of memory", AVERROR(ENOMEM));
        codecContext_->width = width;
        codecContext_->height = height;
        codecContext_->pix_fmt = AV_PIX_FMT_YUV420P;
        codecContext_->time_base = AVRational{1, framesPerSecond};
        codecContext_->framerate = AVRational{framesPerSecond, 1};
        codecContext_->gop_size = framesPerSecond;
        if (format_->oformat->flags & AVFMT_GLOBALHEADER) codecContext_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        av_opt_set(codecContext_->priv_data, "crf", "20", 0);
        av_opt_set(codecContext_->priv_data, "preset", "medium", 0);
        if ((code = avcodec_open2(codecContext_, codec, nullptr)) < 0) return fail("cannot open the H.264 encoder", code);
        if ((code = avcodec_parameters_from_context(stream_->codecpar, codecContext_)) < 0)
            return fail("cannot set up the stream", code);
        stream_->time_base = codecContext_->time_base;
        stream_->avg_frame_rate = codecContext_->framerate;
        if ((code = avformat_write_header(format_, nullptr)) < 0) return fail("cannot start the file", code);

        frame_->format = AV_PIX_FMT_YUV420P;
        frame_->width = width;
        frame_->height = height;
        if ((code = av_frame_get_buffer(frame_, 0)) < 0) return fail("out of memory", code);
        scaler_ = sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height, AV_PIX_FMT_YUV420P,
                                 SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr, nullptr, nullptr);
        if (scaler_ == nullptr) return fail("no RGB to YUV conversion", AVERROR(ENOSYS));
        width_ = width;
        nextFrame_ = 0;
        return {};
    }

    std::string addFrame(const std::uint8_t* rgb) override {
        int code = av_frame_make_writable(frame_);
        if (code < 0) return fail("out of memory", code);
        const std::uint8_t* source[1] = {rgb};
        const int sourceStride[1] = {3 * width_};
        sws_scale(scaler_, source, sourceStride, 0, codecContext_->height, frame_->data, frame_->linesize);
        frame_->pts = nextFrame_++;
        return sendAndWrite(frame_);
    }

    std::string finish(std::string& bytes) override {
        if (std::string error = sendAndWrite(nullptr); !error.empty()) return error;
        if (int code = av_write_trailer(format_); code < 0) return fail("cannot finish the file", code);
        avio_flush(io_);
        bytes = std::move(memory_.bytes);
        release();
        return {};
    }

private:
    // Sends a frame (nullptr: the end) and writes the packets it gives.
    std::string sendAndWrite(AVFrame* frame) {
        int code = avcodec_send_frame(codecContext_, frame);
        if (code < 0) return fail("cannot encode a frame", code);
        while ((code = avcodec_receive_packet(codecContext_, packet_)) >= 0) {
            av_packet_rescale_ts(packet_, codecContext_->time_base, stream_->time_base);
            packet_->stream_index = stream_->index;
            if ((code = av_interleaved_write_frame(format_, packet_)) < 0) return fail("cannot write a frame", code);
        }
        if (code != AVERROR(EAGAIN) && code != AVERROR_EOF) return fail("cannot encode a frame", code);
        return {};
    }

    std::string fail(const char* what, int code) {
        release();
        return ffmpegError(what, code);
    }

    void release() {
        sws_freeContext(scaler_);
        scaler_ = nullptr;
        av_packet_free(&packet_);
        av_frame_free(&frame_);
        avcodec_free_context(&codecContext_);
        avformat_free_context(format_);
        format_ = nullptr;
        stream_ = nullptr;
        if (io_ != nullptr) av_freep(&io_->buffer);
        avio_context_free(&io_);
        memory_ = {};
    }

    int width_ = 0;
    std::int64_t nextFrame_ = 0;
    MemoryFile memory_;
    AVFormatContext* format_ = nullptr;
    AVIOContext* io_ = nullptr;
    AVStream* stream_ = nullptr;
    AVCodecContext* codecContext_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    SwsContext* scaler_ = nullptr;
};

}  // namespace
}  // namespace cubrik

extern "C" cubrik::Mp4Video* cubrikNewMp4Video() { return new (std::nothrow) cubrik::FfmpegMp4Video; }
