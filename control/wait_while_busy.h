#pragma once

#include "job_state.h"

namespace sordanel {

// Returns once the run of `job` has cleared `busy`, keeping the user-interface thread's
// events flowing meanwhile, so a worker that is waiting for a dialog can still finish.
void WaitWhileBusy(const JobState& job);

}  // namespace sordanel
