// MP4: the FFmpeg module loaded on first use, its bytes written as every
// other file is.

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "formats/animation/animation_encoders.h"
#include "formats/animation/mp4_video.h"

namespace cubrik {
namespace {

using NewMp4Video = Mp4Video* (*)();

// Beside the running program (the build tree, where cubrik and cubrik-window
// lie), where it is installed beside it, or in this build tree (the test
// programs).
NewMp4Video loadModule(std::string& error) {
    static NewMp4Video entry = nullptr;
    if (entry != nullptr) return entry;
    std::error_code ignored;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ignored);
    error = "MP4: cannot load the H.264 module " CUBRIK_MP4_MODULE_NAME;
    for (const std::filesystem::path& path : {self.parent_path() / CUBRIK_MP4_MODULE_NAME,
                                              self.parent_path() / CUBRIK_MP4_MODULE_FROM_BINDIR,
                                              std::filesystem::path(CUBRIK_MP4_MODULE_BUILT)}) {
        if (!std::filesystem::exists(path, ignored)) continue;
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            error += std::string(": ") + dlerror();
            return nullptr;
        }
        // Kept loaded for the rest of the run.
        entry = reinterpret_cast<NewMp4Video>(dlsym(module, "cubrikNewMp4Video"));
        if (entry == nullptr) error += ": it has no entry point";
        return entry;
    }
    error += " (not installed?)";
    return nullptr;
}

class Mp4Encoder final : public AnimationEncoder {
public:
    std::string begin(const std::string& path, int width, int height, int framesPerSecond) override {
        abandon();
        std::string error;
        const NewMp4Video newVideo = loadModule(error);
        if (newVideo == nullptr) return error;
        video_.reset(newVideo());
        if (!video_) return "out of memory for the MP4 encoder";
        if (error = video_->begin(width, height, framesPerSecond); error.empty())
            error = openAnimationFile(file_, path);
        return failed(error);
    }

    std::string addFrame(const std::uint8_t* rgb) override { return failed(video_->addFrame(rgb)); }

    std::string finish() override {
        std::string bytes;
        if (std::string error = video_->finish(bytes); !error.empty()) return failed(error);
        video_.reset();
        return failed(commitAnimationFile(file_, bytes));
    }

    void abandon() override {
        video_.reset();
        if (file_) file_->abandon();
        file_.reset();
    }

private:
    // After any error the encoding is over: nothing more goes to FFmpeg.
    std::string failed(std::string error) {
        if (!error.empty()) abandon();
        return error;
    }

    std::unique_ptr<Mp4Video> video_;
    std::unique_ptr<AtomicFileWriter> file_;
};

}  // namespace

std::unique_ptr<AnimationEncoder> makeMp4Encoder() { return std::make_unique<Mp4Encoder>(); }

}  // namespace cubrik
