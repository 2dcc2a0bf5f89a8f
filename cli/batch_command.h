#pragma once

#include <atomic>

#include "cli/batch_request.h"
#include "cli/batch_runner.h"
#include "cli/console_host.h"

namespace sordanel {

// Runs a batch from the command line to its end: the renders, then the SFZ instrument when
// every file was written, then the summary on stdout. Returns the exit status: 0 when every
// file was written, 255 when interrupted, else the result of the first render that failed.
int RunBatchCommand(const BatchRequest& batch, bool preview, const GenerationSettings& base,
                    ConsoleHost& console, std::atomic<bool>& abortRequested);

}  // namespace sordanel
