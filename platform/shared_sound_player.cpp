#include "platform/shared_sound_player.h"

#include "platform/sdl_sound_player.h"

namespace sordanel {

SoundPlayer& SharedSoundPlayer() {
    static SdlSoundPlayer player;
    return player;
}

}  // namespace sordanel
