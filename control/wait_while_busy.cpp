#include "wait_while_busy.h"

#include "event_wait.h"

namespace sordanel {

void WaitWhileBusy(const GenerationSettings& settings) {
    WaitServicingEvents([&settings] { return !settings.busy; });
}

}  // namespace sordanel
