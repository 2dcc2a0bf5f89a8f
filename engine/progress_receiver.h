#pragma once

namespace sordanel {

// The progress dialog of a running Generate, as the engine sees it. Both calls come from the
// engine's thread and only inside the progressInUse / progressOpen bracket.
class ProgressReceiver {
public:
    virtual ~ProgressReceiver() = default;
    // Newest fraction of the run done, 0..1.
    virtual void SetProgress(float fraction) = 0;
    // The run ended other than by an abort: completed, or failed after its error was shown.
    virtual void GenerationFinished() = 0;
};

}  // namespace sordanel
