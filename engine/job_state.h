#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace sordanel {

class ProgressReceiver;

// The state of the job that runs the engine, shared by its owner (the window, the command line
// or a test), the worker thread and the engine. The flags cross threads and need sequentially
// consistent access.
struct JobState {
    JobState() = default;
    // A job that stops when `sharedAbort` is set: every render of a batch watches one flag.
    explicit JobState(std::atomic<bool>& sharedAbort) : abortRequested(sharedAbort) {}
    JobState(const JobState&) = delete;
    JobState& operator=(const JobState&) = delete;

private:
    std::atomic<bool> ownAbort_{false};

public:
    std::atomic<bool>& abortRequested = ownAbort_;
    ProgressReceiver* progressDialog = nullptr;  // valid only while progressOpen is set
    std::atomic<bool> progressInUse{false};
    std::atomic<bool> progressOpen{false};
    std::vector<std::uint8_t> previewSound;  // WAVE image of the last preview; empty = none
    std::atomic<bool> previewValid{false};
    std::atomic<bool> outputValid{false};
};

}  // namespace sordanel
