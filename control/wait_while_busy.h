#pragma once

#include "generation_settings.h"

namespace sordanel {

// Returns once the run on `settings` has cleared `busy`, keeping the user-interface thread's
// events flowing meanwhile, so a worker that is waiting for a dialog can still finish.
void WaitWhileBusy(const GenerationSettings& settings);

}  // namespace sordanel
