#pragma once

#include <optional>
#include <string>
#include <variant>

#include "cli/batch_request.h"
#include "engine/generation_settings.h"

namespace sordanel {

// Exit code of a command line that cannot be obeyed (EX_USAGE).
inline constexpr int kUsageExitCode = 64;

// What the command line asks for beyond the settings.
struct RenderRequest {
    bool preview = false;         // write the preview image (3 s at most) instead of a Generate
    bool printConstants = false;  // print the run's derived values and render nothing
    bool measure = false;         // measure the written file: its pitch and whether it holds steady
    bool json = false;            // print the measurement (or the batch summary) as JSON
    std::optional<BatchRequest> batch;  // --notes: many notes into a directory instead of one
};

// The command line ends the program before anything is rendered: --help, --version, or a
// usage error. `text` goes to stdout when `code` is 0, else it is the one-line error.
struct EarlyExit {
    int code;
    std::string text;
};

// Maps the options onto `settings` (every field not named keeps its default; tempDir is left
// alone). The output path is made absolute, so its temporary file does not depend on the
// working directory.
std::variant<RenderRequest, EarlyExit> ParseRenderOptions(int argc, const char* const* argv,
                                                          GenerationSettings& settings);

}  // namespace sordanel
