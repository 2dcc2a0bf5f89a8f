#pragma once

#include <optional>
#include <string>

#include "cli/batch_request.h"
#include "cli/option_parser.h"

namespace sordanel {

// The batch options as typed; they are resolved once the whole command line is read, so that
// their checks can see the other options.
struct BatchOptions {
    std::string notes;
    std::string step;
    std::string jobs;
    std::string nameTemplate;
    std::string layers;
    std::string sfzName;
    bool summary = false;
    bool json = false;  // from the renderer's --json
};

// Adds --notes and the options that only a batch takes.
void AddBatchOptions(OptionParser& parser, BatchOptions& options);

// The batch the options ask for, or nothing without --notes. `directory` is the absolute
// --output. Refuses what cannot be obeyed with UsageError.
std::optional<BatchRequest> ResolveBatch(const OptionParser& parser, const BatchOptions& options,
                                         const std::string& directory);

}  // namespace sordanel
