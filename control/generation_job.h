#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine_host.h"
#include "engine/generation_settings.h"
#include "engine/job_state.h"
#include "engine/progress_receiver.h"
#include "engine/sound_engine.h"
#include "platform/files/posix_file_layer.h"

namespace sordanel {

class SoundPlayer;

// The runs of the sound engine for the window: a Generate on a worker thread of its own, a
// preview on the user-interface thread. The worker never touches a widget: it reports progress,
// its end and its return through queued signals, and an error it meets is shown by the
// user-interface thread while the worker waits for the answer. Every member function is for
// the user-interface thread.
class GenerationJob : public QObject, private EngineHost, private ProgressReceiver {
    Q_OBJECT
public:
    explicit GenerationJob(SoundPlayer& player, QObject* parent = nullptr);
    // A run still going is asked to abort and awaited; an error it waits on is given up.
    ~GenerationJob() override;

    // A Generate has been started and its worker not yet collected: from Start() until
    // returned(), a moment past the end of the run itself. A preview, on this thread, never
    // counts.
    bool busy() const { return worker_.joinable(); }
    // Starts a Generate of a copy of `settings` taken now, so that nothing changed later
    // reaches the run. False when no thread could be started.
    bool Start(const GenerationSettings& settings);
    // Removes what killed runs left in `folder`: files of this program's pattern that no live
    // run holds.
    void SweepScratchFolder(const std::string& folder) { files_.SweepScratchFolder(folder); }
    // The progress dialog of the run has ended; unless the run completed, it is asked to abort.
    void ProgressClosed(bool completed);
    // The newest fraction done (0..1) the running Generate reported.
    float progress() const { return progress_; }
    // Asks the running Generate to stop at its next block.
    void RequestAbort() { state_.abortRequested = true; }
    // Runs `next` once the running Generate has returned, or now when none runs. A later
    // request replaces one still waiting.
    void WhenReturned(std::function<void()> next);

    // Synthesises (or, while still valid, replays) the preview of `settings` on this thread.
    void RunPreview(const GenerationSettings& settings);

    bool outputValid() const { return state_.outputValid; }
    void InvalidateOutput() { state_.outputValid = false; }
    bool previewValid() const { return state_.previewValid; }
    void InvalidatePreview() { state_.previewValid = false; }
    // Stops the sound and drops the preview image.
    void DiscardPreview();
    const std::vector<std::uint8_t>& previewSound() const { return state_.previewSound; }

signals:
    // The running Generate reported progress(); several reports may arrive as one.
    void progressed();
    // The running Generate ended other than by an abort: completed, or failed and its error
    // was answered.
    void finished();
    // The worker of a Generate has returned; busy() is false from here on.
    void returned();
    // A preview's status line.
    void previewStatus(const QString& text);

private:
    // Engine side, on the worker thread during a Generate.
    void ShowError(std::string_view message) override;
    void ShowPreviewStatus(std::string_view text) override;
    void SetProgress(float fraction) override;
    void GenerationFinished() override;

    // User-interface side, queued from the worker.
    void ShowPendingError();
    void CollectWorker();

    SoundPlayer& player_;
    PosixFileLayer files_;
    GenerationSettings runSettings_;  // what the current run was started with
    JobState state_;
    SoundEngine engine_;
    std::thread worker_;
    std::atomic<float> progress_{0.0f};
    std::function<void()> afterReturn_;

    // An error of the worker waiting for its answer on the user-interface thread.
    std::mutex errorMutex_;
    std::condition_variable errorAnswered_;
    std::string pendingError_;
    bool errorOpen_ = false;
    bool givingUp_ = false;
};

}  // namespace sordanel
