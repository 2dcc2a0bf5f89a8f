#pragma once

#include <string_view>

namespace sordanel {

// What the engine asks of the program that runs it: the window, the command line or a test.
class EngineHost {
public:
    virtual ~EngineHost() = default;
    // Shows one failure message and returns once the user has closed it. May be called from
    // the thread that runs the engine, whichever it is.
    virtual void ShowError(std::string_view message) = 0;
    // Preview only, on the thread that runs the preview: the text of the status line.
    virtual void ShowPreviewStatus(std::string_view text) = 0;
};

}  // namespace sordanel
