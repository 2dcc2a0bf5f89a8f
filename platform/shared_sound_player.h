#pragma once

#include "engine/sound_player.h"

namespace sordanel {

// The program's one sound output, shared by the preview, "Listen" and the dialogs' alert sound:
// like the desktop's own sound service, a new sound replaces the one playing. Use it from the
// user-interface thread.
SoundPlayer& SharedSoundPlayer();

}  // namespace sordanel
