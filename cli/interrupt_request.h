#pragma once

#include <atomic>

namespace sordanel {

// From now on Ctrl-C (SIGINT), a closed terminal (SIGHUP) and SIGTERM set `abortRequested`
// instead of killing the process, so the engine stops after its current block and deletes its
// partial files. The flag must outlive the process's handling of these signals.
void RequestAbortOnInterrupt(std::atomic<bool>& abortRequested);

}  // namespace sordanel
