#pragma once

namespace sordanel {

// Starts the short chime the warning, error and exit dialogs play as they open, and returns at
// once. Silent when there is no audio device.
void PlayAlertSound();

}  // namespace sordanel
