#include "batch_runner.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "engine_messages.h"
#include "note_render.h"
#include "private_directory.h"
#include "progress_receiver.h"
#include "system_temp_dir.h"

namespace sordanel {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(100);

// The console as every render of a batch shares it: one call at a time.
class SharedConsole {
public:
    explicit SharedConsole(ConsoleHost& console) : console_(console) {}

    void ShowError(const std::string& fileName, std::string_view message) {
        const std::lock_guard lock(mutex_);
        console_.ShowError(fileName + ": " + std::string(message));
    }
    void SetProgress(float fraction) {
        const std::lock_guard lock(mutex_);
        console_.SetProgress(fraction);
    }

private:
    ConsoleHost& console_;
    std::mutex mutex_;
};

// The host and progress dialog of one render: its messages name its file.
class RenderHost : public EngineHost, public ProgressReceiver {
public:
    RenderHost(const std::string& fileName, SharedConsole& console, std::atomic<float>& progress)
        : fileName_(fileName), console_(console), progress_(progress) {}

    void ShowError(std::string_view message) override { console_.ShowError(fileName_, message); }
    void ShowPreviewStatus(std::string_view) override {}
    void SetProgress(float fraction) override { progress_ = fraction; }
    void GenerationFinished() override {}

private:
    const std::string& fileName_;
    SharedConsole& console_;
    std::atomic<float>& progress_;
};

class Batch {
public:
    Batch(const BatchRequest& request, bool preview, const GenerationSettings& base,
          ConsoleHost& console, std::atomic<bool>& abortRequested, const std::string& staging)
        : request_(request),
          preview_(preview),
          base_(base),
          console_(console),
          abortRequested_(abortRequested),
          staging_(staging),
          results_(request.items.size(), GenerationResult::Aborted),
          progress_(request.items.size()) {}

    std::vector<GenerationResult> Run() {
        const std::size_t threads =
            std::min(static_cast<std::size_t>(request_.jobs), request_.items.size());
        {
            std::vector<std::jthread> workers;
            for (std::size_t t = 0; t < threads; ++t) {
                workers.emplace_back([this] { Work(); });
            }
            ShowProgressUntilDone(threads);
        }
        return results_;
    }

private:
    // Higher notes take more string steps per second of sound, so the batch is handed out from
    // its top: the longest renders go first and the short ones even out the end.
    void Work() {
        const std::size_t count = results_.size();
        for (std::size_t taken = next_++; taken < count && !abortRequested_; taken = next_++) {
            const std::size_t i = count - 1 - taken;
            results_[i] = Render(i);
            progress_[i] = 1.0f;
        }
        const std::lock_guard lock(doneMutex_);
        ++workersDone_;
        done_.notify_one();
    }

    void ShowProgressUntilDone(std::size_t threads) {
        std::unique_lock lock(doneMutex_);
        while (!done_.wait_for(lock, kProgressInterval, [&] { return workersDone_ == threads; })) {
            float sum = 0;
            for (const auto& fraction : progress_) {
                sum += fraction;
            }
            console_.SetProgress(sum / static_cast<float>(progress_.size()));
        }
        if (!abortRequested_) {
            console_.SetProgress(1.0f);
        }
    }

    GenerationResult Render(std::size_t i) {
        const BatchItem& item = request_.items[i];
        GenerationSettings settings = base_;
        settings.noteIndex = item.noteIndex;
        if (item.layer >= 0) {
            const float value = request_.layers[static_cast<std::size_t>(item.layer)].value;
            (request_.layerParameter == LayerParameter::Force ? settings.bowPressingForce
                                                              : settings.bowSpeed) = value;
        }
        // The engine names its temporary file, and the partial file beside the output, from a
        // weak hash of the output path, so renders sharing a directory could meet on one name:
        // each gets a temporary directory and a staging directory of its own.
        auto temporary = PrivateDirectory::Create(SystemTempDir(), "sordanel-");
        if (!temporary) {
            console_.ShowError(item.fileName, messages::kCannotCreateTemporary);
            return GenerationResult::NotStarted;
        }
        const std::string own = staging_ + std::to_string(i) + "/";
        if (::mkdir(own.c_str(), 0700) != 0) {
            console_.ShowError(item.fileName, messages::kCannotCreateOutput);
            return GenerationResult::NotStarted;
        }
        settings.tempDir = temporary->path();
        settings.outputPath = own + item.fileName;
        RenderHost host(item.fileName, console_, progress_[i]);
        JobState job(abortRequested_);
        job.progressDialog = &host;
        job.progressOpen = true;
        const GenerationResult result = RenderNote(settings, job, preview_, host);
        if (result != GenerationResult::Finished) {
            return result;
        }
        const std::string target = request_.directory + "/" + item.fileName;
        if (std::rename(settings.outputPath.c_str(), target.c_str()) != 0) {
            const std::string why = std::error_code(errno, std::generic_category()).message();
            console_.ShowError(item.fileName, "Cannot put the finished file in place: " + why);
            std::remove(settings.outputPath.c_str());
            return GenerationResult::NotStarted;
        }
        return result;
    }

    const BatchRequest& request_;
    const bool preview_;
    const GenerationSettings& base_;
    SharedConsole console_;
    std::atomic<bool>& abortRequested_;
    const std::string& staging_;

    std::vector<GenerationResult> results_;
    std::vector<std::atomic<float>> progress_;
    std::atomic<std::size_t> next_{0};
    std::mutex doneMutex_;
    std::condition_variable done_;
    std::size_t workersDone_ = 0;
};

}  // namespace

std::vector<GenerationResult> RunBatch(const BatchRequest& batch, bool preview,
                                       const GenerationSettings& base, ConsoleHost& console,
                                       std::atomic<bool>& abortRequested) {
    // Renders are written beside their final place, so that a rename moves each complete file
    // there at once, on the same file system; what a render leaves in its staging directory
    // goes with it.
    std::error_code ignored;
    std::filesystem::create_directories(batch.directory, ignored);
    const auto staging = PrivateDirectory::Create(batch.directory, ".sordanel-");
    if (!staging) {
        console.ShowError(batch.directory + ": " + messages::kCannotCreateOutput);
        return std::vector<GenerationResult>(batch.items.size(), GenerationResult::NotStarted);
    }
    return Batch(batch, preview, base, console, abortRequested, staging->path()).Run();
}

}  // namespace sordanel
