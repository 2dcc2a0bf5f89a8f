#include "cli/batch_runner.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>

#include "cli/note_render.h"
#include "engine/note_lanes.h"
#include "engine/progress_receiver.h"
#include "platform/files/system_temp_dir.h"

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
          ConsoleHost& console, std::atomic<bool>& abortRequested)
        : request_(request),
          preview_(preview),
          base_(base),
          console_(console),
          abortRequested_(abortRequested),
          results_(request.items.size(), GenerationResult::Aborted),
          progress_(request.items.size()) {}

    std::vector<GenerationResult> Run() {
        const std::size_t threads =
            std::min(static_cast<std::size_t>(request_.jobs), request_.items.size());
        // Generates go in groups whose strings step side by side, as long as every thread
        // still gets a group.
        const std::size_t share = (request_.items.size() + threads - 1) / threads;
        groupSize_ = preview_ ? 1 : std::clamp<std::size_t>(share, 1, NoteLanes::kMaxNotes);
        {
            std::vector<std::jthread> workers;
            workers.reserve(threads);
            for (std::size_t t = 0; t < threads; ++t) {
                // Short of memory or threads, the batch goes on with those that started.
                try {
                    workers.emplace_back([this] { Work(); });
                } catch (const std::system_error&) {
                    if (workers.empty()) {
                        throw;
                    }
                    break;
                }
            }
            ShowProgressUntilDone(workers.size());
        }
        return results_;
    }

private:
    // Higher notes take more string steps per second of sound, so the batch is handed out from
    // its top: the longest renders go first and the short ones even out the end.
    void Work() {
        const std::size_t count = results_.size();
        for (std::size_t taken = next_.fetch_add(groupSize_); taken < count && !abortRequested_;
             taken = next_.fetch_add(groupSize_)) {
            const std::size_t group = std::min(groupSize_, count - taken);
            if (group == 1) {
                const std::size_t i = count - 1 - taken;
                results_[i] = RenderCatching(i);
                progress_[i] = 1.0f;
            } else {
                RenderTogether(count - taken - group, group);
            }
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

    // A render that runs out of memory or meets a failing system call ends alone, with the
    // system's words; its files went with its engine, and the batch goes on.
    GenerationResult RenderCatching(std::size_t i) {
        try {
            return Render(i);
        } catch (const std::exception& failure) {
            console_.ShowError(request_.items[i].fileName, failure.what());
            return GenerationResult::WriteFailed;
        }
    }

    GenerationResult Render(std::size_t i) {
        const GenerationSettings settings = SettingsOf(i);
        RenderHost host(request_.items[i].fileName, console_, progress_[i]);
        JobState job(abortRequested_);
        job.progressDialog = &host;
        job.progressOpen = true;
        return RenderNote(settings, job, preview_, host);
    }

    // Items first .. first + count - 1, rendered together; each ends as a render of its own.
    void RenderTogether(std::size_t first, std::size_t count) {
        std::array<GenerationSettings, NoteLanes::kMaxNotes> settings;
        std::array<std::optional<RenderHost>, NoteLanes::kMaxNotes> hosts;
        std::array<std::optional<JobState>, NoteLanes::kMaxNotes> jobs;
        std::array<NoteToRender, NoteLanes::kMaxNotes> notes;
        std::optional<std::string> setUpFailure;
        try {
            for (std::size_t k = 0; k < count; ++k) {
                const std::size_t i = first + k;
                settings[k] = SettingsOf(i);
                hosts[k].emplace(request_.items[i].fileName, console_, progress_[i]);
                jobs[k].emplace(abortRequested_);
                jobs[k]->progressDialog = &*hosts[k];
                jobs[k]->progressOpen = true;
                notes[k].settings = &settings[k];
                notes[k].job = &*jobs[k];
                notes[k].host = &*hosts[k];
            }
            RenderNotesTogether(std::span(notes).first(count));
        } catch (const std::exception& failure) {
            setUpFailure = failure.what();
        }
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t i = first + k;
            results_[i] = notes[k].result;
            if (setUpFailure || notes[k].failure) {
                results_[i] = GenerationResult::WriteFailed;
                console_.ShowError(request_.items[i].fileName,
                                   setUpFailure ? *setUpFailure : What(notes[k].failure));
            }
            progress_[i] = 1.0f;
        }
    }

    static std::string What(const std::exception_ptr& failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& thrown) {
            return thrown.what();
        }
    }

    // The batch's settings with the item's note and layer.
    GenerationSettings SettingsOf(std::size_t i) const {
        const BatchItem& item = request_.items[i];
        GenerationSettings settings = base_;
        settings.noteIndex = item.noteIndex;
        if (item.layer >= 0) {
            const float value = request_.layers[static_cast<std::size_t>(item.layer)].value;
            (request_.layerParameter == LayerParameter::Force ? settings.bowPressingForce
                                                              : settings.bowSpeed) = value;
        }
        // The file layer gives each render partial and temporary files of its own, so the
        // renders write straight to their targets.
        settings.tempDir = SystemTempDir();
        settings.outputPath = request_.directory + "/" + item.fileName;
        return settings;
    }

    const BatchRequest& request_;
    const bool preview_;
    const GenerationSettings& base_;
    SharedConsole console_;
    std::atomic<bool>& abortRequested_;

    std::vector<GenerationResult> results_;
    std::vector<std::atomic<float>> progress_;
    std::size_t groupSize_ = 1;
    std::atomic<std::size_t> next_{0};
    std::mutex doneMutex_;
    std::condition_variable done_;
    std::size_t workersDone_ = 0;
};

}  // namespace

std::vector<GenerationResult> RunBatch(const BatchRequest& batch, bool preview,
                                       const GenerationSettings& base, ConsoleHost& console,
                                       std::atomic<bool>& abortRequested) {
    std::error_code ignored;
    std::filesystem::create_directories(batch.directory, ignored);
    return Batch(batch, preview, base, console, abortRequested).Run();
}

}  // namespace sordanel
