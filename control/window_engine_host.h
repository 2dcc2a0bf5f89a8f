#pragma once

#include "engine_host.h"

class QLabel;

namespace sordanel {

// The engine's host in the window: failures go to the error dialog from whichever thread
// meets them, and a preview's progress to the main dialog's status line.
class WindowEngineHost : public EngineHost {
public:
    explicit WindowEngineHost(QLabel& previewStatus) : previewStatus_(previewStatus) {}

    void ShowError(std::string_view message) override;
    // The preview holds the user-interface thread, so the line is repainted at once.
    void ShowPreviewStatus(std::string_view text) override;

private:
    QLabel& previewStatus_;
};

}  // namespace sordanel
