#pragma once

#include <SDL_audio.h>

#include <cstdint>
#include <string>

#include "engine/sound_player.h"

namespace sordanel {

// Plays WAVE sounds through SDL's audio device. Each sound is decoded into a buffer of the
// player's own before it starts, so the caller's image is never read after a Play call
// returns. Without an audio device every call is silently ignored.
class SdlSoundPlayer : public SoundPlayer {
public:
    SdlSoundPlayer();
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    void PlayImage(const std::uint8_t* image, std::size_t size) override;
    void PlayFile(const std::string& path) override;
    void Stop() override;

private:
    // Takes over an SDL_LoadWAV_RW source (null when it could not be opened) and plays it.
    void PlayWave(SDL_RWops* source);

    bool audioReady_ = false;
    SDL_AudioDeviceID device_ = 0;
};

}  // namespace sordanel
