#pragma once

namespace sordanel {

// Keeps a little memory aside for telling the user that memory ran out: when an allocation
// fails, the reserve is given back first, so the failure can still be thrown, caught and told
// in words instead of ending the process by abort. False when even the reserve cannot be had.
bool ReserveMemoryForFailures();

}  // namespace sordanel
