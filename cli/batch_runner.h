#pragma once

#include <atomic>
#include <vector>

#include "cli/batch_request.h"
#include "cli/console_host.h"
#include "engine/generation_result.h"
#include "engine/generation_settings.h"

namespace sordanel {

// Renders every item of `batch` on `batch.jobs` threads, each render with its own copy of
// `base` (with the item's note and layer), engine and private temporary directory. A file appears
// under its name only once it is complete, replacing an earlier file of that name only then; a
// failed or interrupted render leaves no file and keeps the earlier one. Setting `abortRequested`
// stops every render at its next block and starts no more. Errors and a progress bar over the whole
// batch go to `console`. Returns each item's result; Aborted for one never started.
std::vector<GenerationResult> RunBatch(const BatchRequest& batch, bool preview,
                                       const GenerationSettings& base, ConsoleHost& console,
                                       std::atomic<bool>& abortRequested);

}  // namespace sordanel
