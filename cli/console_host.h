#pragma once

#include <string_view>

#include "engine/engine_host.h"
#include "engine/progress_receiver.h"

namespace sordanel {

// The renderer's window on the terminal: failures as one line on stderr and, when stderr is a
// terminal, a progress bar fed by the fractions the window's progress dialog would receive.
class ConsoleHost : public EngineHost, public ProgressReceiver {
public:
    explicit ConsoleHost(bool drawProgress) : drawProgress_(drawProgress) {}

    void ShowError(std::string_view message) override;
    void ShowPreviewStatus(std::string_view text) override;
    void SetProgress(float fraction) override;
    void GenerationFinished() override { EndProgressLine(); }

    // Moves past a drawn progress line, so that what follows starts on a line of its own.
    void EndProgressLine();

private:
    bool drawProgress_;
    bool lineOpen_ = false;
    int shownPercent_ = -1;
};

}  // namespace sordanel
