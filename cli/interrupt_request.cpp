#include "cli/interrupt_request.h"

#include <signal.h>

namespace sordanel {

namespace {

// Storing to a lock-free atomic is all a signal handler may safely do here.
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<bool>* abortFlag = nullptr;

void RequestAbort(int) {
    abortFlag->store(true);
}

}  // namespace

void RequestAbortOnInterrupt(std::atomic<bool>& abortRequested) {
    abortFlag = &abortRequested;
    struct sigaction action {};
    action.sa_handler = RequestAbort;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

}  // namespace sordanel
