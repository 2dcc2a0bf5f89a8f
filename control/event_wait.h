#pragma once

#include <functional>

namespace sordanel {

// Returns once `done` holds, polling it while the user-interface thread's events keep flowing,
// so that whatever the other thread waits for on this one can still happen.
void WaitServicingEvents(const std::function<bool()>& done);

}  // namespace sordanel
