#pragma once
// The work behind Render picture… and Export turntable…, each made from a
// copy of the model taken when it starts, so that editing goes on beside it
// without touching what it renders.

#include <memory>
#include <mutex>
#include <string>

#include "app/commands/turntable_export.h"
#include "app/state/background_job.h"
#include "trace/path_tracer.h"

namespace cubrik {

class TracedPicture final : public PictureJob {
public:
    TracedPicture(TraceScene scene, const TraceCamera& camera, const TraceSettings& settings)
        : scene_(std::move(scene)), camera_(camera), settings_(settings) {}

    void run() override;
    Picture latest() const override;
    int samplesDone() const override;
    int totalSamples() const override { return settings_.samples; }
    bool save(const std::string& path, std::string& reason) const override;

private:
    const TraceScene scene_;
    const TraceCamera camera_;
    const TraceSettings settings_;
    mutable std::mutex pictureMutex_;
    Picture picture_;
    int samplesDone_ = 0;
};

class TurntableJob final : public BackgroundJob {
public:
    TurntableJob(std::unique_ptr<const VoxelModel> model, const TurntableSettings& settings, std::string path)
        : model_(std::move(model)), settings_(settings), path_(std::move(path)) {}

    void run() override;

private:
    const std::unique_ptr<const VoxelModel> model_;
    const TurntableSettings settings_;
    const std::string path_;
};

}  // namespace cubrik
