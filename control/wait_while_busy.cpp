#include "wait_while_busy.h"

#include "event_wait.h"

namespace sordanel {

void WaitWhileBusy(const JobState& job) {
    WaitServicingEvents([&job] { return !job.busy; });
}

}  // namespace sordanel
